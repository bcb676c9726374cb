#pragma once

#include "startup/session.h"
#include "surcharge/engine.h"

#include <optional>
#include <vector>

// A member's statement at a base date: the ledger read as the statement
// screens read it, run through the surcharge engine.
namespace statement {

// The member's items entered up to the base date, by due date, side and
// operation code. False after "Sql Rapor Yaratılamıyor" when the query fails.
bool readLedger(Session &session, const QString &kod, const QDate &baseDate,
                std::vector<surcharge::LedgerItem> *items);

struct Member {
    QString kod;
    QString name; // isim1
    int asd = 0;
    QString isim2, adr1, adr2, adr3;
};
// The member card, if there is one.
std::optional<Member> findMember(Session &session, const QString &kod);

// What the collection desk reads from the settings row when it opens; all 0
// after "Ayarlar Yapılmamış..." when there is none.
struct DeskSettings {
    qint32 nextReceipt = 0; // fisno + 1
    double faiz = 0;
};
DeskSettings deskSettings(Session &session);

// The cooperative's name, as the statement's page head prints it.
QString cooperativeName(Session &session);

// The monthly rate of the settings row; 0 after "Ayarlar Yapılmamış..." when
// there is none.
double surchargeRate(Session &session);

// Nothing, after "Hatalı İşlem Tarihi...", for an invalid base date.
std::optional<surcharge::Statement> compute(Session &session, const QString &kod,
                                            const QDate &baseDate, double faiz, int asd);

// The captions of the statement columns.
QStringList captions();

// The statement as text, CSV or JSON. Amounts in CSV and JSON are plain
// decimals with tlonda places; text shows them as the screens do.
QString asText(const surcharge::Statement &st, const Member &m, const QDate &baseDate, int tlonda);
QString asCsv(const surcharge::Statement &st, int tlonda);
QString asJson(const surcharge::Statement &st, const QString &kod, const QDate &baseDate,
               int tlonda);

} // namespace statement
