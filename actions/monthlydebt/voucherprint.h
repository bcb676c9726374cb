#pragma once

#include "actions/monthlydebt/monthlydebtaction.h"

class prnx;
namespace printing {
struct PrinterSettings;
}

// The debt voucher: one page per member telling what the month's dues put on
// the account, laid out in lines and character columns for the printer
// output control.
namespace monthlydebt {

inline constexpr char16_t DefaultVoucherTitle[] = u"KASA TAHSİLAT MAKBUZU";

// The vouchers' title as the clerk last left it in the printer setup, kept
// per user; the default until then.
QString voucherTitle();
// False when the clerk's settings store could not keep it.
[[nodiscard]] bool storeVoucherTitle(const QString &title);

// The printer settings the vouchers start from, before the setup screen.
void presetPrinter(printing::PrinterSettings &settings);

// What every voucher of one print carries besides its member.
struct VoucherRun {
    QString title;
    QDate date;
    QString period;
    qint32 firstNo = 0; // the first voucher's number; each printed one adds 1
    QString unvan;      // the cooperative's name
    std::array<QString, 5> captions;
    int tlonda = 2;
    QString tlnick, krnick;
};

// A member's voucher total: the sum of the five prices, negative ones too.
Money voucherTotal(const HeadPrices &prices);

// Opens the printer in the record's mode and prints a voucher for each
// member of the rows whose total is above 0, the items being the prices
// above 0. "Yazıcı Yazdırılamıyor.." with the cause and nothing when it does
// not open, the printer's message and nothing when the job did not get
// through. The number of vouchers printed.
[[nodiscard]] std::optional<int> printVouchers(prnx &printer, const std::vector<Member> &members,
                                               Rows rows, const VoucherRun &run);

} // namespace monthlydebt
