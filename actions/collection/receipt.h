#pragma once

#include "base/money.h"

#include <QImage>
#include <QString>
#include <array>
#include <vector>

class QPainter;

// The cash-desk receipt "KASA TAHSİLAT MAKBUZU": one portrait page with the
// same receipt twice, the second 140 mm below the first. Everything here is
// layout only: values in, drawing out; positions in millimetres from the
// page's top-left corner, text positions the top-left corner of the text.
namespace collection {

// Installation data: the cooperative's name, its address, its tax office
// and number, and its logo.
struct ReceiptHeader {
    std::array<QString, 3> lines;
    QImage logo;
};

// A line of a collection split over the dues heads: the head's caption and
// the amount paid on it, as the screen shows it.
struct ReceiptItem {
    QString text;
    QString amount;
};

struct ReceiptValues {
    QString receiptNo;
    QString date; // "dd.MM.yyyy"
    QString kod;
    QString name; // the card's isim1
    QString description;
    QString amountText; // as the amount field shows it
    Money amount;
    Money balance; // the member's balance before this collection
    bool copy = false;
    bool voided = false; // a copy of a voided receipt says so across it
    QString tlnick;
    QString krnick;
    int tlonda = 2;
    // Drawn in the description's place when there are any: two columns of
    // at most three lines each.
    std::vector<ReceiptItem> items{};
};

// The balance line under the amount in words: either the whole credit
// wording, or the caption "Son Bakiyeniz :" with the figure beside it.
struct BalanceLine {
    bool credit = false;
    QString text;   // the credit wording, or "Son Bakiyeniz :"
    QString figure; // tlnick and the remaining balance; empty for the credit wording
};
BalanceLine balanceLine(const ReceiptValues &v);

// An amount rounded to the money decimals and written as plain text with no
// grouping and no trailing zeros ("50", "50.5").
QString plainRounded(Money value, int decimals);

// Draws the whole page; the painter is open on a device whose resolution
// gives the millimetres (a printer with full-page coordinates, an image).
void drawReceiptPage(QPainter &painter, const ReceiptHeader &header, const ReceiptValues &values);

// The logo used when the installation names none: a plain emblem of our own.
QImage defaultLogo();

} // namespace collection
