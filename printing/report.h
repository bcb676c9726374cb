#pragma once

#include "printing/prnx.h"

#include <QString>
#include <QStringList>
#include <vector>

// A paged list report on the printer output control: the caller lays out a
// page head, rows and closing lines (totals it has computed) as cells; the
// report opens the printer in the setup record's mode, puts the head on every
// page and breaks pages at the record's line count. It renders; it never adds
// anything up.
namespace printing {

// One cell of a printed line: a text in `width` character columns (the
// text's own length when below 1), or a rule across them.
//
// A head cell may hold one of the four heading items of the printer setup.
// When the record turns an item off, its cell prints blank in the same
// columns: the head keeps its lines, so the rows a page holds and the place
// of every column stay as they are with the item on.
struct Cell {
    enum class Kind : quint8 { Text, Rule, Title, Company, Date, PageNo };

    Kind kind = Kind::Text;
    QString text; // PageNo: what precedes the page number
    qint16 width = 0;
    quint8 alignment = prnx::Sola;
    bool bold = false;

    static Cell plain(const QString &text, qint16 width, quint8 alignment = prnx::Sola,
                      bool bold = false) {
        return {Kind::Text, text, width, alignment, bold};
    }
    static Cell rule(qint16 width, bool bold = false) {
        return {Kind::Rule, QString(), width, prnx::Sola, bold};
    }
    static Cell title(const QString &text, qint16 width, quint8 alignment = prnx::Ortala,
                      bool bold = true) {
        return {Kind::Title, text, width, alignment, bold};
    }
    static Cell company(const QString &text, qint16 width, quint8 alignment = prnx::Sola,
                        bool bold = false) {
        return {Kind::Company, text, width, alignment, bold};
    }
    static Cell date(const QString &text, qint16 width, quint8 alignment = prnx::Sola,
                     bool bold = false) {
        return {Kind::Date, text, width, alignment, bold};
    }
    static Cell pageNo(const QString &label, qint16 width, quint8 alignment = prnx::Saga,
                       bool bold = false) {
        return {Kind::PageNo, label, width, alignment, bold};
    }
};

// One printed line, cells from left to right; an empty line prints empty.
using Line = std::vector<Cell>;

// The columns of a list and what stands between two of them (a blank, "|").
class Columns {
  public:
    struct Column {
        qint16 width = 0;
        quint8 alignment = prnx::Sola;
    };

    explicit Columns(std::vector<Column> columns, QString separator = QStringLiteral(" "))
        : m_columns(std::move(columns)), m_separator(std::move(separator)) {}

    // A cell per column for `texts` (missing ones empty), separators between
    // (none when the separator is empty).
    Line line(const QStringList &texts, bool bold = false) const;
    // A rule under each column, blanks where the separators stand.
    Line rules(bool bold = false) const;
    // The columns with their separators, in character columns.
    qint16 width() const;

  private:
    std::vector<Column> m_columns;
    QString m_separator;
};

// What every page of a report carries.
struct PageLayout {
    std::vector<Line> head; // at the top of every page
    // Lines a page keeps free under its rows for the closing lines: rows find
    // a page full at the record's line count less these, the closing lines
    // only at the line count itself.
    int reserve = 0;
    std::vector<Line> foot; // under the rows of a page the report continues after
    // Whether the record's four heading items apply to the head; the printer
    // test page prints them all whatever the record says.
    bool headingOptions = true;
};

class Report {
  public:
    Report(prnx &printer, PageLayout layout);

    // Opens the printer in the mode of its settings record; false when it
    // did not open (a failure has been shown), and nothing is printed then.
    [[nodiscard]] bool open(const QString &documentName, bool condensed = true);
    // Lines printed together: a full page ends (with its foot) before them, a
    // new one starts with its head.
    void row(const Line &line) { row(std::vector<Line>{line}); }
    void row(const std::vector<Line> &lines);
    // Ends the page now (a group's last member); nothing when no page is open.
    void endPage();
    // Several reports in one job (a statement per member): the closing lines
    // of one, as finish() prints them, then its page ends; the next one
    // starts on a page of its own under the head given with setHead().
    void closeSection(const std::vector<Line> &closing);
    void setHead(std::vector<Line> head) { m_layout.head = std::move(head); }
    // The closing lines (rules and the totals the caller hands in), on a new
    // page with its head only when the rows used up the last one; then the
    // page and the document end. False, after its message, when the job did
    // not reach its printer or file.
    [[nodiscard]] bool finish(const std::vector<Line> &closing);

    qint16 pages() const { return m_printer.SayfaSayisi(); }

  private:
    void startPage();
    void breakPage();
    void print(const Line &line);
    [[nodiscard]] bool shown(Cell::Kind kind) const;

    prnx &m_printer;
    PageLayout m_layout;
    bool m_pageOpen = false;
    qint16 m_page = 0;
};

} // namespace printing
