#include "screens/kit/statementgrid.h"

#include "base/daynumber.h"
#include "controls/dclist.h"

namespace screenkit {

void addStatementColumns(dclist &grid, int tlonda, EmptyColumn empty) {
    const double maximum = 999999999999.0;
    const QStringList captions = statement::captions();
    grid.Add(QStringLiteral("A"), QStringLiteral("ack"), captions[Ack], 190, 30);
    grid.Add(QStringLiteral("T"), QStringLiteral("vade"), captions[Vade], 90, 10);
    const std::pair<const char *, int> amounts[] = {
        {"devir", Devir}, {"faiz", Faiz}, {"borc", Borc}, {"odeme", Odeme}, {"kalan", Kalan}};
    for (const auto &[key, column] : amounts)
        grid.Add(QStringLiteral("N"), QString::fromLatin1(key), captions[column], 90, maximum, 0,
                 tlonda, 3);
    grid.Add(QStringLiteral("N"), QStringLiteral("anapara"), QString(), 0, maximum, 0, tlonda, 3);
    grid.Add(QStringLiteral("A"), QStringLiteral("evrak"), QString(), 0, 15);
    if (empty == EmptyColumn::With)
        grid.Add(QStringLiteral("A"), QStringLiteral("bos"), QString(), 0, 15);
}

void showStatement(dclist &grid, const surcharge::Statement &st, int tl, bool receiptNumbers) {
    grid.Clear();
    // Amounts rounded as every amount is shown; the computed rows keep the
    // exact values.
    for (const surcharge::StatementRow &r : st.rows) {
        const int row = grid.CreateNewCaption();
        if (row < 0)
            break;
        grid.setCaption(row, Ack, r.ack);
        grid.setCaption(row, Vade, formatTrDate(r.vade));
        grid.setCaption(row, Devir, plainAmount(r.devir, tl));
        grid.setCaption(row, Faiz, plainAmount(r.faiz, tl));
        grid.setCaption(row, Borc, plainAmount(r.borc, tl));
        grid.setCaption(row, Odeme, plainAmount(r.odeme, tl));
        grid.setCaption(row, Kalan, plainAmount(r.kalan, tl));
        grid.setCaption(row, Anapara, plainAmount(r.openPrincipal, tl));
        grid.setCaption(row, Evrak, receiptNumbers ? r.evrak : QString());
    }
    grid.reyaz();
}

} // namespace screenkit
