#pragma once

#include "actions/generallist/generallistaction.h"
#include "core/company.h"
#include "data/koopdata.h"

#include <QDate>
#include <functional>
#include <optional>
#include <vector>

class prnx;
namespace printing {
struct PrinterSettings;
}

// "İhtar Listesi": the members who owe for more than some months, or more
// than an amount, at a date, with their arrears by age; and a dunning letter
// to each of them from the company's own template.
namespace arrears {

inline constexpr char16_t PrintTitle[] = u"İHTAR LİSTESİ";
inline constexpr char16_t LettersTitle[] = u"İHTAR MEKTUPLARI";
// The letter's template, a text file in the company folder.
inline constexpr char16_t TemplateFile[] = u"ihtar.txt";

struct Criteria {
    QDate date;
    // A member is listed whose principal due more than `months` months
    // before the date is still open, or whose balance is above `minimum`;
    // either condition alone when only one is given.
    std::optional<int> months;
    std::optional<Money> minimum;
};

struct Row {
    data::MemberCard card;
    generallist::Figures figures; // the general list's figures and ages
    Money older;                  // principal open for more than the months
};

struct List {
    std::vector<Row> rows; // code order
    generallist::Figures toplam;
    Money olderTotal;
};

struct Progress {
    int done = 0, count = 0;
    QString kod;
};
using ProgressFn = std::function<void(const Progress &)>;

// Whether a member with these figures is listed.
bool owes(const Criteria &criteria, const generallist::Figures &figures, Money older);

// Every member (kind 0) in code order, each from his statement at the date.
// Nothing after "Hatalı İşlem Tarihi..." or "Sql Rapor Yaratılamıyor".
std::optional<List> build(Company &company, const Criteria &criteria,
                          const ProgressFn &progress = {});

// The list's columns: kod, isim, kalan, gecikme, the principal older than
// the months, the five ages; JSON {"tarih", "rows": [...], "toplam"}.
QString asText(const List &list, const Criteria &criteria, const QString &unvan, int tlonda);
QString asCsv(const List &list, int tlonda);
QString asJson(const List &list, const Criteria &criteria, int tlonda);

void presetPrinter(printing::PrinterSettings &settings);
// The list on the printer output control, a rule under the heads and the
// totals at the end; false after the printer's message.
[[nodiscard]] bool printList(prnx &printer, const List &list, const Criteria &criteria,
                             const QString &unvan, int tlonda);

// The letter's template: the company's own "ihtar.txt" (UTF-8), or the
// program's when there is none. Nothing, after its message, when the file
// is there but cannot be read or is not UTF-8 text.
std::optional<QString> letterTemplate(Company &company);
QString defaultTemplate();
// Stores the company's template, whole or not at all; false after the
// message.
[[nodiscard]] bool saveTemplate(Company &company, const QString &text);
// The template with its fields filled: {unvan}, {kod}, {isim}, {adres}
// (the address lines), {adr1}…{adr3}, {tarih}, {borc} (the balance),
// {anapara} (the open principal), {gecikme}, {eski} (open for more than the
// months), {aylar}, {yas1}…{yas5}, {tlnick}. A name in braces that is no
// field stays as written.
QString letterText(const QString &templateText, const Row &row, const Criteria &criteria,
                   const QString &unvan, int tlonda, const QString &tlnick);

void presetLettersPrinter(printing::PrinterSettings &settings);
// A letter per member, each on a page of its own, long lines wrapped at the
// words; false after the printer's message.
[[nodiscard]] bool printLetters(prnx &printer, const List &list, const QString &templateText,
                                const Criteria &criteria, const QString &unvan, int tlonda,
                                const QString &tlnick);

} // namespace arrears
