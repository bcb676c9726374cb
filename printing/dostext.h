#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace printing {

// The bytes a dot-matrix printer set to code page 857 prints as the text:
// the text's code page 1254 bytes, with the Turkish letters (and â, î, û) moved to
// their 857 places. A character 1254 cannot hold becomes "?".
QByteArray toDosText(const QString &text);

// One cell of a dot-matrix line: the text fitted to `width` columns, right
// aligned for 1, centred for 2, left aligned otherwise; a width below 1
// leaves the text as it is.
QString dotMatrixCell(const QString &text, int width, int alignment);

// A dot-matrix job read back for its preview: its lines as the printer
// would print them, the control codes gone, with which characters are bold.
struct DosLine {
    QString text;
    std::vector<bool> bold; // one per character of text
};
std::vector<DosLine> fromDosJob(const QByteArray &job);

} // namespace printing
