// Long reads on a server through libpq itself: Qt's driver prepares,
// runs and drops a statement in three round trips and turns every value
// into a QVariant, where a statement run needs one round trip per batch.
#include "data/database.h"
#include "data/driverhandles.h"

namespace data {

namespace {

// Qt's `?` marks as the server's numbered ones; a mark inside quotes is text.
QByteArray numberedMarks(const QString &sql) {
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            out += u'$' + QString::number(++n);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

// A bound value as the server's text, the form Qt's driver sends it in.
QByteArray serverText(const StoredValue &v) {
    switch (v.kind) {
    case StoredValue::Kind::Number:
        return QByteArray::number(v.number);
    case StoredValue::Kind::Real:
        return QByteArray::number(v.real, 'g', QLocale::FloatingPointShortest);
    case StoredValue::Kind::Text:
        return v.text.toUtf8();
    case StoredValue::Kind::Null:
        break;
    }
    return QByteArray();
}

} // namespace

pg_result *Database::serverScan(const QString &sql, const std::vector<StoredValue> &binds,
                                bool *tried) {
    PGconn *conn = isServer() ? driver::serverHandle(m_db) : nullptr;
    const driver::Libpq &pq = driver::libpq();
    *tried = conn && pq.loaded;
    if (!*tried)
        return nullptr;
    const QByteArray text = numberedMarks(sql);
    std::vector<QByteArray> values;
    std::vector<const char *> pointers;
    values.reserve(binds.size());
    for (const StoredValue &b : binds) {
        values.push_back(serverText(b));
        pointers.push_back(b.kind == StoredValue::Kind::Null ? nullptr : values.back().constData());
    }
    PGresult *result = nullptr;
    // A failing read inside an action must not spoil it (guarded).
    const bool ok = guarded([&] {
        result = pq.execParams(conn, text.constData(), int(pointers.size()), nullptr,
                               pointers.data(), nullptr, nullptr, 0);
        if (pq.resultStatus(result) == PGRES_TUPLES_OK)
            return true;
        m_lastError =
            QString::fromUtf8(result ? pq.resultErrorMessage(result) : pq.errorMessage(conn));
        const char *code = result ? pq.resultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
        m_lastCode = code ? QString::fromLatin1(code) : QString();
        pq.clear(result);
        result = nullptr;
        return false;
    });
    if (!ok && result) {
        pq.clear(result);
        result = nullptr;
    }
    return result;
}

} // namespace data
