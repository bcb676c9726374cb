#include "data/turkish.h"

#include "data/driverhandles.h"

#include <QCollator>
#include <QLocale>

namespace data {
namespace {

int collateTr(void *arg, int lenA, const void *a, int lenB, const void *b) {
    auto *collator = static_cast<QCollator *>(arg);
    const QString sa = QString::fromUtf16(static_cast<const char16_t *>(a), lenA / 2);
    const QString sb = QString::fromUtf16(static_cast<const char16_t *>(b), lenB / 2);
    const int c = collator->compare(sa, sb);
    if (c != 0)
        return c;
    // Equal at every collation level: fall back to the code points so the order is total.
    return sa.compare(sb);
}

void destroyCollator(void *arg) {
    delete static_cast<QCollator *>(arg);
}

QString argText(sqlite3_value *v) {
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString e = argText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(ctx, turkishLike(argText(argv[0]), argText(argv[1]), escape) ? 1 : 0);
}

} // namespace

QString turkishFold(const QString &text) {
    static const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    return tr.toLower(text);
}

bool turkishLike(const QString &pattern, const QString &value, QChar escape) {
    const QString p = turkishFold(pattern);
    const QString s = turkishFold(value);
    // Iterative matcher with one backtrack point for the last %; linear for
    // the patterns the screens build (prefix%, %infix%).
    qsizetype pi = 0, si = 0, starP = -1, starS = 0;
    while (si < s.size()) {
        if (pi < p.size()) {
            const QChar c = p.at(pi);
            if (!escape.isNull() && c == escape && pi + 1 < p.size()) {
                if (p.at(pi + 1) == s.at(si)) {
                    pi += 2;
                    ++si;
                    continue;
                }
            } else if (c == QLatin1Char('%')) {
                starP = pi++;
                starS = si;
                continue;
            } else if (c == QLatin1Char('_') || c == s.at(si)) {
                ++pi;
                ++si;
                continue;
            }
        }
        if (starP < 0)
            return false;
        pi = starP + 1;
        si = ++starS;
    }
    while (pi < p.size() && p.at(pi) == QLatin1Char('%'))
        ++pi;
    return pi == p.size();
}

bool registerTurkishFunctions(QSqlDatabase &db) {
    sqlite3 *h = driver::sqliteHandle(db);
    if (!h)
        return false;
    auto *collator = new QCollator(QLocale(QLocale::Turkish, QLocale::Turkey));
    collator->setCaseSensitivity(Qt::CaseSensitive);
    if (sqlite3_create_collation_v2(h, "tr", SQLITE_UTF16, collator, collateTr, destroyCollator) !=
        SQLITE_OK) {
        delete collator;
        return false;
    }
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_function(h, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(h, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) ==
               SQLITE_OK;
}

} // namespace data
