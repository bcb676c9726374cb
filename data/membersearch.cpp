#include "data/membersearch.h"

#include "data/xbase.h"

namespace data {
namespace {

// A member list's card: code, names, address lines, group and kind.
const QString CardColumns = QStringLiteral("kod, isim1, isim2, adr1, adr2, adr3, grp, asd");

MemberCard cardOf(const QueryCursor &q) {
    MemberCard card;
    card.kod = q.text(0);
    card.isim1 = q.text(1);
    card.isim2 = q.text(2);
    card.adr1 = q.text(3);
    card.adr2 = q.text(4);
    card.adr3 = q.text(5);
    card.grp = q.text(6);
    card.asd = int(q.number(7));
    return card;
}

} // namespace

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

std::optional<CodeRange> cardCodeRange(Database &db, Messages &messages, EmptyCode empty) {
    QueryCursor q;
    const QString sql =
        empty == EmptyCode::Skipped
            ? QStringLiteral("SELECT min(kod), max(kod) FROM carkart WHERE kod > ''")
            : QStringLiteral("SELECT min(kod), max(kod) FROM carkart");
    if (!QueryOpen(db, q, sql, {}, messages))
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

std::optional<QStringList> readGroups(Database &db, Messages &messages) {
    QueryCursor q;
    if (!QueryOpen(
            db, q,
            QStringLiteral("SELECT grp FROM carkart WHERE asd = 0 GROUP BY grp ORDER BY grp"), {},
            messages))
        return q.failed() ? std::nullopt : std::optional(QStringList{});
    QStringList groups;
    do {
        // Kept as stored, blanks and all, so that choosing it finds its cards.
        const QString grp = q.text(0);
        if (!grp.trimmed().isEmpty())
            groups << grp;
    } while (q.moveNext());
    return groups;
}

bool readGroupCards(Database &db, const std::optional<QString> &group, std::vector<MemberCard> *out,
                    Messages &messages) {
    out->clear();
    QString sql = QStringLiteral("SELECT ") + CardColumns + QStringLiteral(" FROM carkart");
    QVariantList binds;
    if (group) {
        if (!isValidUtf16(*group))
            return true;
        sql += QStringLiteral(" WHERE grp = ?");
        binds << *group;
    }
    QueryCursor q;
    if (!QueryOpen(db, q, sql + QStringLiteral(" ORDER BY kod, id"), binds, messages))
        return !q.failed();
    do
        out->push_back(cardOf(q));
    while (q.moveNext());
    return true;
}

bool readCards(Database &db, const CardSelection &selection, std::vector<MemberCard> *out,
               Messages &messages) {
    out->clear();
    QString sql = QStringLiteral("SELECT ") + CardColumns +
                  QStringLiteral(" FROM carkart WHERE kod >= ? AND kod <= ?");
    QVariantList binds{selection.codes.first, selection.codes.last};
    const std::pair<const char *, const std::optional<CodeRange> *> texts[] = {
        {"grp", &selection.groups}, {"tip", &selection.types}, {"ozel", &selection.specials}};
    for (const auto &[field, range] : texts) {
        if (!*range)
            continue;
        // As the office reads them: "Ş" before "zzzz", a card without a group
        // within a range that starts empty.
        sql += QStringLiteral(" AND COALESCE(%1, '') COLLATE tr >= ? AND COALESCE(%1, '') "
                              "COLLATE tr <= ?")
                   .arg(QLatin1String(field));
        binds << (*range)->first << (*range)->last;
    }
    for (QVariant &bound : binds) {
        const QString text = bound.toString();
        if (!isValidUtf16(text))
            return true;
        // An empty field bound as NULL would compare as nothing.
        if (text.isNull())
            bound = QString::fromLatin1("");
    }
    if (!selection.kinds.empty()) {
        QStringList marks;
        for (const int kind : selection.kinds) {
            marks << QStringLiteral("?");
            binds << kind;
        }
        sql += QStringLiteral(" AND asd IN (") + marks.join(u',') + u')';
    }
    sql += selection.order == MemberOrder::ByName
               ? QStringLiteral(" ORDER BY isim1 COLLATE tr, kod, id")
               : QStringLiteral(" ORDER BY kod, id");
    QueryCursor q;
    if (!QueryOpen(db, q, sql, binds, messages))
        return !q.failed();
    do
        out->push_back(cardOf(q));
    while (q.moveNext());
    return true;
}

} // namespace data
