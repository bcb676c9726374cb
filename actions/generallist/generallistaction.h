#pragma once

#include "core/company.h"
#include "surcharge/engine.h"

#include <QDate>
#include <functional>
#include <optional>
#include <vector>

// "Genel Borç Dökümü": for every card of a code range, whatever its kind,
// what it was charged, what it paid, the late-payment surcharge it ran up and
// what it owes at a base date, each from the card's full statement, with the
// grand totals.
namespace generallist {

inline constexpr char16_t TotalCaption[] = u"T O P L A M";

struct Opening {
    double faiz = 0;             // 0 after "Ayarlar Yapılmamış..."
    QString firstCode, lastCode; // the card table's first and last codes
};
// Reads the settings row (without one says "Ayarlar Yapılmamış...") and the
// card table's first and last codes.
Opening open(Company &company);

struct Figures {
    Money borc;    // debt
    Money odenen;  // paid
    Money gecikme; // surcharge
    Money kalan;   // debt + surcharge − paid: the statement's closing Kalan
    // The open principal by how long it has been overdue ("Yaşlandırma"):
    // 0–30, 31–90, 91–180, 181–365 and over 365 days.
    surcharge::Ages yas{};
};
// Adds a card's figures to the totals.
void add(Figures &total, const Figures &f);

// A card's figures from its statement at the base date.
Figures figuresOf(const surcharge::Statement &statement, const QDate &baseDate);

// The four amounts in the list's column order, as the grid and the print
// show them (thousands grouped, 0 empty) or as plain decimals (CSV, JSON,
// the grid's cells, the spreadsheet); tlonda places.
QStringList shownAmounts(const Figures &f, int tlonda);
QStringList plainAmounts(const Figures &f, int tlonda);
// The five ages, shown or plain.
QStringList ageAmounts(const Figures &f, int tlonda, bool shown);

struct Row {
    QString kod, isim;
    Figures figures;
};

struct List {
    std::vector<Row> rows; // code order
    Figures toplam;        // the grand totals
};

// Where the run is: `done` of `count` cards listed, the last of them `kod`
// with its statement (at the start the first card, and no statement; none
// either for a base date that is no date).
struct Progress {
    QString kod;
    int done = 0, count = 0;
    const surcharge::Statement *statement = nullptr;
};
using ProgressFn = std::function<void(const Progress &)>;

// Runs the statement of every card whose code lies within the two codes, as
// text, in code order. A base date that is no date gives every card its
// "Hatalı İşlem Tarihi..." and zero figures. Nothing after "Sql Rapor
// Yaratılamıyor" when the cards cannot be read.
std::optional<List> build(Company &company, const QString &firstCode, const QString &lastCode,
                          const QDate &baseDate, double faiz, const ProgressFn &progress = {});

// One card's statement, as the list computes it: nothing after "Hatalı
// İşlem Tarihi..." for a base date that is no date.
std::optional<surcharge::Statement> statementOf(Company &company, const QString &kod,
                                                const QDate &baseDate, double faiz);

// The cooperative's name, as the page head and the spreadsheet show it.
QString cooperativeName(Company &company);

// The list's columns: Kod, İsim, the four amounts, then the five ages;
// captions() in their order.
enum Column {
    Kod,
    Isim,
    Borc,
    Odenen,
    Gecikme,
    Kalan,
    Yas1,
    Yas5 = Yas1 + surcharge::AgeCount - 1
};
QStringList captions();
// The five ages' captions, "0-30 Gün" … "365+ Gün".
QStringList ageCaptions();

// The list as the grid shows it, the totals row last; text as the printed
// list lays it out, CSV and JSON with plain decimals of tlonda places. With
// `aging` the five ages follow (JSON "yas1" … "yas5").
QString asText(const List &list, const QDate &baseDate, const QString &unvan, int tlonda,
               bool aging = false);
QString asCsv(const List &list, int tlonda, bool aging = false);
QString asJson(const List &list, const QDate &baseDate, int tlonda, bool aging = false);

} // namespace generallist
