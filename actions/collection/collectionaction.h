#pragma once

#include "actions/collection/receipt.h"
#include "core/session.h"
#include "posting/cashcollection.h"

#include <QDate>

namespace printing {
class PrintContext;
}

class QWidget;

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
Opening openCollection(Session &session);

// A new collection posted as the desk's " Tamam" posts it, with the receipt
// number and date the desk opened with; `name` is the member's name as the
// desk shows it.
posting::CashCollectionResult collect(Session &session, const Opening &opening, const QString &kod,
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
ReceiptValues receiptValues(Session &session, const ShownReceipt &shown);

// The three header lines and the logo from the company's korvane.dat,
// section [makbuz]: baslik1, baslik2, baslik3 and logo (a picture file in
// the image folder, or a full path). The first line defaults to the
// cooperative's name (`unvan` in genel), the logo to our own emblem. A logo
// that cannot be loaded says "İmage Yükleme Hatası" and prints none.
ReceiptHeader receiptHeader(Session &session);

// Prints the page to the context's PDF file or, without one, through a print
// preview to the printer last chosen in this process. False after a message
// when the printer cannot be opened.
bool printReceipt(printing::PrintContext &context, const ReceiptHeader &header,
                  const ReceiptValues &values, QWidget *parent = nullptr);

} // namespace collection
