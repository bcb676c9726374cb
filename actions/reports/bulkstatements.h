#pragma once

#include "core/company.h"
#include "data/membersearch.h"

#include <QDate>
#include <QStringList>
#include <functional>
#include <optional>

namespace printing {
class PrintContext;
}

// "Toplu Ekstre": the statements of many members at one base date, each in
// full as the statement print lays it out, into one PDF (every member on a
// page of his own) or one PDF per member in a folder.
namespace bulkstatements {

struct Selection {
    data::CodeRange codes; // an empty end: the first or the last card
    QString group;         // empty: every group
    // Only the members whose balance is above this ("borcu X'ten çok olanlar").
    std::optional<Money> minBalance;
};

struct Progress {
    int done = 0, count = 0; // members looked at, of the selection
    QString kod;
};
using ProgressFn = std::function<void(const Progress &)>;

struct Result {
    int members = 0;    // in the selection
    int statements = 0; // printed
    QStringList files;  // the PDFs written
};

// The members (kind 0) of the selection at `date`. With `perMember` `out`
// is a folder (made when missing) that gets "KOD.pdf" for each, else the one
// PDF. A PDF is in place only once complete. Nothing, after its message,
// when the cards or ledgers cannot be read or a PDF cannot be written; a
// selection without a statement to print says so and writes nothing.
std::optional<Result> print(Company &company, printing::PrintContext &context,
                            const Selection &selection, const QDate &date, const QString &out,
                            bool perMember, const ProgressFn &progress = {});

// The file a member's statement goes to in a folder: the code with anything
// a file name cannot hold made "_".
QString fileNameOf(const QString &kod);

} // namespace bulkstatements
