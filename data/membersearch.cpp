#include "data/membersearch.h"

#include "data/xbase.h"

namespace data {

QString likeLiteral(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

bool searchMembers(Database &db, const QString &text, MemberOrder order, bool contains,
                   std::vector<MemberMatch> *out) {
    out->clear();
    if (!isValidUtf16(text))
        return true;
    // Names tie often; the card's entry order keeps the list the same each time.
    const QString sql = order == MemberOrder::ByName
                            ? QStringLiteral("SELECT kod, isim1 FROM carkart WHERE ") +
                                  db.turkishLikeCondition(QStringLiteral("isim1")) +
                                  QStringLiteral(" ORDER BY isim1 COLLATE tr, id")
                            : QStringLiteral("SELECT kod, isim1 FROM carkart WHERE ") +
                                  db.turkishLikeCondition(QStringLiteral("kod")) +
                                  QStringLiteral(" ORDER BY kod, id");
    const QString pattern =
        (contains ? QStringLiteral("%") : QString()) + likeLiteral(text) + QLatin1Char('%');
    QueryCursor q;
    if (!QdOpen(db, q, sql, {pattern}))
        return false;
    for (; !q.eof(); q.moveNext())
        out->push_back({q.text(0), q.text(1)});
    q.finish();
    return true;
}

std::optional<CodeRange> cardCodeRange(Database &db, Messages &messages) {
    QueryCursor q;
    if (!QueryOpen(db, q, QStringLiteral("SELECT min(kod), max(kod) FROM carkart"), {}, messages))
        return q.failed() ? std::nullopt : std::optional(CodeRange{});
    CodeRange range{q.text(0), q.text(1)};
    q.finish();
    return range;
}

bool readMemberAccounts(Database &db, std::optional<int> asd, std::vector<MemberAccount> *out,
                        Messages &messages, const std::optional<CodeRange> &range) {
    out->clear();
    QString sql = QStringLiteral("SELECT kod, isim1, muhasebe, asd FROM carkart WHERE 1 = 1");
    QVariantList binds;
    if (asd) {
        sql += QStringLiteral(" AND asd = ?");
        binds << *asd;
    }
    if (range) {
        // A code the database cannot hold matches nothing.
        if (!isValidUtf16(range->first) || !isValidUtf16(range->last))
            return true;
        sql += QStringLiteral(" AND kod >= ? AND kod <= ?");
        binds << range->first << range->last;
    }
    QueryCursor q;
    if (!QueryOpen(db, q, sql + QStringLiteral(" ORDER BY kod, id"), binds, messages))
        return !q.failed();
    do
        out->push_back({q.text(0), q.text(1), q.text(2), int(q.number(3))});
    while (q.moveNext());
    return true;
}

} // namespace data
