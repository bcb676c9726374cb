#pragma once

#include "core/company.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// An office's own data brought in from a table file and taken out again in
// the same columns: the member cards, their dues prices, and opening
// balances per dues head.
namespace transfer {

enum class Kind { Members, Prices, Balances };
enum class OnDuplicate { Stop, Skip, Update };
enum class Format { Csv, Xlsx };

// "members", "prices", "balances".
std::optional<Kind> kindNamed(const QString &name);

struct ImportRequest {
    Kind kind = Kind::Members;
    QString path{};
    QString sheet{}; // an XLSX or ODS sheet; the first when empty
    // The decimal mark of the file's amounts, ',' or '.'; when null, each
    // column's own texts show it, and text that reads two ways is refused.
    QChar decimal{};
    QStringList ignoreColumns{}; // headings whose columns are not read
    bool ignoreUnknownColumns = false;
    OnDuplicate onDuplicate = OnDuplicate::Stop;
    bool dryRun = false;
    QDate date{}; // of the opening balances
    // How far the writing is: lines done of all; at the end done == count.
    std::function<void(int done, int count)> progress{};
};

struct ImportReport {
    QString source;     // what was read: "CSV, UTF-8, ayraç ';'"
    QStringList faults; // "Satır 3: ...", one per fault; any fault and nothing is written
    QStringList plan;   // what each line does, or would do in a dry run
    int added = 0;      // cards or price rows; accounts given an opening balance
    int updated = 0;
    int skipped = 0;
    int ledgerRows = 0;
    bool written = false;
};

// Reads the file, checks every line, and stores it all in one action unless
// it is a dry run or a line is bad. Nothing when the file cannot be read or
// the data cannot be stored; the message has been shown.
std::optional<ImportReport> importFile(Company &s, const ImportRequest &request);

// The report's last line: what was done, or would be.
QString summary(const ImportReport &report, bool dryRun);

// The kind's rows as a table file an import takes unchanged. False after
// its message; `rows` gets how many were written.
bool exportFile(Company &s, Kind kind, Format format, const QString &path, int *rows);

} // namespace transfer
