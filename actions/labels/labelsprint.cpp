#include "actions/labels/labelsprint.h"

#include "printing/prnx.h"

namespace labels {
namespace {

constexpr qint16 LineWidth = 130;
constexpr int BlockLines = 8;
constexpr int FieldWidth = 35;
// 0-based columns of the greeting and of the fields, left and right label.
constexpr int Greeting[] = {4, 59};
constexpr int Field[] = {6, 61};

const QString DocumentName = QStringLiteral("Adres Etiket");

void put(QString &line, int column, const QString &text) {
    line.replace(column, text.size(), text);
}

void fill(QStringList &lines, int side, const data::MemberCard &card) {
    put(lines[1], Greeting[side], QStringLiteral("Sayın,"));
    const QString *fields[] = {&card.isim1, &card.isim2, &card.adr1, &card.adr2, &card.adr3};
    for (int i = 0; i < 5; ++i)
        put(lines[i + 2], Field[side], fields[i]->left(FieldWidth).leftJustified(FieldWidth));
}

void printBlock(prnx &printer, const QStringList &lines) {
    for (const QString &line : lines)
        printer.Lprint(line, LineWidth, true);
    printer.Lprint(QString(), LineWidth, true); // the 9-line pitch of the stock
}

} // namespace

QStringList block(const data::MemberCard &left, const data::MemberCard *right) {
    QStringList lines(BlockLines, QString(LineWidth, u' '));
    fill(lines, 0, left);
    if (right)
        fill(lines, 1, *right);
    return lines;
}

bool printTest(prnx &printer) {
    if (!printer.OpenPrinter(prnx::DotMatrix, DocumentName, true)) {
        printer.tellFailure();
        return false;
    }
    printer.YeniSayfa();
    const QString ruler = QStringLiteral("1234567890").repeated(5);
    const QString rulers = ruler + QString(5, u' ') + ruler;
    for (int round = 0; round < 2; ++round) {
        for (int line = 0; line < BlockLines; ++line)
            printer.Lprint(rulers, LineWidth, true);
        printer.Lprint(QString(), LineWidth, true);
    }
    printer.SayfaBitti(false);
    printer.ClosePrinter();
    return !printer.tellFailure();
}

std::optional<int> printLabels(prnx &printer, const std::vector<data::MemberCard> &cards) {
    if (!printer.OpenPrinter(prnx::DotMatrix, DocumentName, true)) {
        printer.tellFailure();
        return std::nullopt;
    }
    printer.YeniSayfa();
    for (size_t i = 0; i < cards.size(); i += 2)
        printBlock(printer, block(cards[i], i + 1 < cards.size() ? &cards[i + 1] : nullptr));
    printer.Lprint(QStringLiteral(" "), LineWidth, true);
    // Continuous label stock has no forms to advance to.
    printer.SayfaBitti(false);
    printer.ClosePrinter();
    if (printer.tellFailure())
        return std::nullopt;
    return int(cards.size());
}

} // namespace labels
