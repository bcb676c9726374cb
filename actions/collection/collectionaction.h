#pragma once

#include "actions/collection/receipt.h"
#include "core/company.h"
#include "data/koopdata.h"
#include "posting/cashcollection.h"

#include <QDate>

#include <optional>

namespace printing {
class PrintContext;
}

// What the cash desk does besides the posting itself: the receipt number
// and date it opens with, the receipt's installation data, and printing.
namespace collection {

inline QString defaultDescription() {
    return QStringLiteral("AİDAT TAHSİLATI");
}
constexpr int CashBoxNumber = 1;
constexpr int DescriptionLength = 35;

struct Opening {
    qint32 receiptNo = 0; // fisno + 1, or 0 without a settings row
    bool settingsExist = false;
    QDate date;
};
// Reads the settings row; without one says "Ayarlar Yapılmamış...".
Opening openCollection(Company &company);

// A new collection posted as the desk's " Tamam" posts it, with the receipt
// number and date the desk opened with; `name` is the member's name as the
// desk shows it.
posting::CashCollectionResult collect(Company &company, const Opening &opening, const QString &kod,
                                      const QString &name, Money amount,
                                      const QString &description);

// What the desk shows when it prints a receipt, new or copy.
struct ShownReceipt {
    QString receiptNo{}; // as displayed
    QString date{};      // "dd.MM.yyyy", as displayed
    QString kod{};
    QString name{}; // the member card's name wins over it
    QString description{};
    QString amountText{}; // as the amount field shows it
    Money amount{};
    Money balance{}; // handed over by the statement
    bool copy = false;
};

// The receipt's values: what the desk shows, the name from the member card
// (the shown one when the card has none or an empty one), the company's
// money names and decimals.
ReceiptValues receiptValues(Company &company, const ShownReceipt &shown);

// The three header lines and the logo from the company's korvane.dat,
// section [makbuz]: baslik1, baslik2, baslik3 and logo (a picture file in
// the image folder, or a full path). The first line defaults to the
// cooperative's name (`unvan` in genel), the logo to our own emblem. A logo
// that cannot be loaded says "İmage Yükleme Hatası" and prints none.
ReceiptHeader receiptHeader(Company &company);

// Prints the page to the context's PDF file or, without one, through a print
// preview to the printer last chosen in this process. False after a message
// when the printer cannot be opened.
[[nodiscard]] bool printReceipt(printing::PrintContext &context, const ReceiptHeader &header,
                                const ReceiptValues &values);

// An earlier collection picked on the statement for a copy receipt.
struct Earlier {
    QString receiptNo;
    Money amount;
    QString description;
    QString date; // "dd.MM.yyyy"
};

// One collection at the cash desk, from its opening to its receipt: what
// "Tahsilat" and `koop-cli collect` do alike.
class Desk {
  public:
    // Opens the desk for the member `kod`: the receipt number and date, and
    // the member's card, read once. `shownName` is the name the statement
    // showed; `balance` the final balance it handed over, or, given none,
    // the member's final balance up to the desk's date as the statement
    // computes it.
    Desk(Company &company, const QString &kod, const QString &shownName = QString(),
         std::optional<Money> balance = std::nullopt);

    const Opening &opening() const { return m_opening; }
    const std::optional<data::MemberCard> &card() const { return m_card; }
    // No card came back because the card could not be read (the database's
    // words), not because there is none; empty otherwise.
    const QString &cardUnreadable() const { return m_unreadable; }
    Money balance() const { return m_balance; }
    // The receipt's header lines and logo, read at the first use.
    const ReceiptHeader &header();

    // Posts the new collection with the receipt number and date the desk
    // opened with; a number another desk took meanwhile is told.
    posting::CashCollectionResult take(Money amount, const QString &description);
    // The receipt of the collection taken, or a copy of an earlier one.
    ReceiptValues receipt() const;
    ReceiptValues copyOf(const Earlier &earlier) const;
    [[nodiscard]] bool print(printing::PrintContext &context, const ReceiptValues &values);

  private:
    Company &m_company;
    QString m_kod;
    QString m_shownName;
    Opening m_opening;
    std::optional<data::MemberCard> m_card;
    QString m_unreadable;
    Money m_balance;
    std::optional<ReceiptHeader> m_header;
    ShownReceipt m_taken;
};

} // namespace collection
