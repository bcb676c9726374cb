#include "printing/report.h"

#include "printing/printersettings.h"

namespace printing {

Line Columns::line(const QStringList &texts, bool bold) const {
    Line cells;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (i > 0 && !m_separator.isEmpty())
            cells.push_back(Cell::plain(m_separator, qint16(m_separator.size())));
        cells.push_back(Cell::plain(texts.value(qsizetype(i)), m_columns[i].width,
                                    m_columns[i].alignment, bold));
    }
    return cells;
}

Line Columns::rules(bool bold) const {
    // Blanks where the separators stand, so each rule sits under its column.
    const QString gap(m_separator.size(), u' ');
    Line cells;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (i > 0 && !gap.isEmpty())
            cells.push_back(Cell::plain(gap, qint16(gap.size())));
        cells.push_back(Cell::rule(m_columns[i].width, bold));
    }
    return cells;
}

qint16 Columns::width() const {
    int total = 0;
    for (const Column &c : m_columns)
        total += c.width;
    if (!m_columns.empty())
        total += int(m_columns.size() - 1) * int(m_separator.size());
    return qint16(total);
}

Report::Report(prnx &printer, PageLayout layout)
    : m_printer(printer), m_layout(std::move(layout)) {}

bool Report::open(const QString &documentName, bool condensed) {
    m_pageOpen = false;
    m_page = 0;
    if (m_printer.OpenPrinter(m_printer.settings().mode(), documentName, condensed))
        return true;
    m_printer.tellFailure();
    return false;
}

void Report::row(const std::vector<Line> &lines) {
    // Read at every row: graphic printing put its own lines per page into the
    // record when it opened.
    const int limit = m_printer.settings().lineCount - m_layout.reserve;
    if (m_pageOpen && m_printer.SatirSayisi() >= limit)
        breakPage();
    if (!m_pageOpen)
        startPage();
    for (const Line &line : lines)
        print(line);
}

void Report::endPage() {
    if (m_pageOpen)
        breakPage();
}

void Report::closeSection(const std::vector<Line> &closing) {
    if (!closing.empty()) {
        if (m_pageOpen && m_printer.SatirSayisi() >= m_printer.settings().lineCount)
            breakPage();
        if (!m_pageOpen)
            startPage();
        for (const Line &line : closing)
            print(line);
    }
    if (m_pageOpen)
        m_printer.SayfaBitti(true);
    m_pageOpen = false;
}

bool Report::finish(const std::vector<Line> &closing) {
    closeSection(closing);
    m_printer.ClosePrinter();
    return !m_printer.tellFailure();
}

void Report::startPage() {
    m_page = m_printer.YeniSayfa();
    m_pageOpen = true;
    for (const Line &line : m_layout.head)
        print(line);
}

void Report::breakPage() {
    for (const Line &line : m_layout.foot)
        print(line);
    m_printer.SayfaBitti(true);
    m_pageOpen = false;
}

bool Report::shown(Cell::Kind kind) const {
    if (!m_layout.headingOptions)
        return true;
    const PrinterSettings &s = m_printer.settings();
    switch (kind) {
    case Cell::Kind::Title:
        return s.printTitle;
    case Cell::Kind::Company:
        return s.printCompany;
    case Cell::Kind::Date:
        return s.printDate;
    case Cell::Kind::PageNo:
        return s.printPageNo;
    default:
        return true;
    }
}

void Report::print(const Line &line) {
    if (line.empty()) {
        m_printer.Lprint(QString(), 0, true);
        return;
    }
    for (size_t i = 0; i < line.size(); ++i) {
        const Cell &c = line[i];
        const bool last = i + 1 == line.size();
        if (c.kind == Cell::Kind::Rule) {
            m_printer.LinePrint(c.width, c.bold, last);
            continue;
        }
        const QString text =
            c.kind == Cell::Kind::PageNo ? c.text + QString::number(m_page) : c.text;
        if (shown(c.kind))
            m_printer.Lprint(text, c.width, last, c.alignment, c.bold);
        else
            m_printer.Lprint(QString(), c.width >= 1 ? c.width : qint16(text.size()), last);
    }
}

} // namespace printing
