#pragma once

#include "printing/printcontext.h"

#include <QByteArray>
#include <QFont>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <memory>

class QFile;
class QPainter;
class QPrinter;
namespace wholefile {
class Staged;
}

// The printer output control every printing screen carries: one interface of
// lines and 132 character columns over graphic printing (QPrinter: the
// system printer or a PDF file) and raw dot-matrix printing (a code page 857
// text file handed to the dot-matrix program). Callers place text by column
// widths and break pages themselves by reading SatirSayisi().
class prnx : public QObject {
    Q_OBJECT
  public:
    enum Mode : quint8 { Kapali = 0, Grafik = 1, DotMatrix = 2, Sessiz = 5 };
    enum Hizalama : quint8 { Sola = 0, Saga = 1, Ortala = 2 };
    static constexpr int Sutun = 132; // character columns of a page

    explicit prnx(printing::PrintContext &context, QObject *parent = nullptr);
    ~prnx() override;

    // Modes 1 and 2 open a job; 3, 4 and 5 print nothing and give false; any
    // other value closes the control (mode 0). The page counter restarts.
    [[nodiscard]] bool OpenPrinter(quint8 mode, const QString &documentName, bool condensed);
    // Starts a page; the new page number.
    qint16 YeniSayfa();
    // One cell of `width` columns (the text's length when below 1); with
    // `newLine` the line ends after it. Alignment 1 right, 2 centre, else left.
    void Lprint(const QString &text, qint16 width, bool newLine = false, quint8 alignment = Sola,
                bool bold = false, bool italic = false, bool underline = false,
                bool strikeOut = false);
    // A horizontal rule across `width` columns.
    void LinePrint(qint16 width, bool bold = false, bool newLine = false);
    qint16 SatirSayisi() const { return m_lines; }
    qint16 SayfaSayisi() const { return m_pages; }
    // Ends the page; in dot-matrix mode `fill` advances continuous paper to
    // the next form with blank lines up to the record's line count.
    void SayfaBitti(bool fill);
    // Ends the job: graphic mode finishes the document, dot-matrix mode
    // closes the file, hands it to the dot-matrix program, waits for the
    // program to take it and removes it.
    void ClosePrinter();
    // Drops the job unprinted: a run that failed half-way leaves no part of
    // it on paper or in place of its PDF.
    void abandon();

    // Why the job did not reach its printer or file, for the clerk; empty
    // while nothing failed. Set by OpenPrinter and ClosePrinter.
    QString failure() const { return m_failure; }
    // Shows the failure, if any, once; true when there was one.
    bool tellFailure();

    QFont Font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }
    // The font as saved with a screen: "fontname", "fontsize" (decimal),
    // "fontchar" (character set, 162 Turkish).
    QVariantMap fontProperties() const;
    void setFontProperties(const QVariantMap &properties);

    quint8 mode() const { return m_mode; }
    // The shared printer settings record the job reads its line count from.
    printing::PrinterSettings &settings() const { return m_context.settings; }
    // Graphic mode: the line height in printer pixels and the lines a page holds.
    qint16 lineHeight() const { return m_lineHeight; }
    qint16 linesPerPage() const { return m_linesPerPage; }
    // Dot-matrix mode: the temporary file of the last job, gone once handed over.
    QString fileName() const { return m_fileName; }

    // Whole line heights that fit the printable height.
    static qint16 linesFitting(int printableHeight, int lineHeight);

  private:
    [[nodiscard]] bool openGraphic(const QString &documentName);
    [[nodiscard]] bool openDotMatrix(bool condensed);
    void endLine();
    void addCell(const QString &text, qint16 width, quint8 alignment, bool bold, bool italic,
                 bool third);
    void writeLine(const QByteArray &bytes);
    void fail(const QString &text);
    void handOver();
    void runDotMatrixProgram();
    QPrinter *jobPrinter();

    printing::PrintContext &m_context;
    QFont m_font;
    int m_fontChar = 162;

    quint8 m_mode = Kapali;
    QString m_failure;
    bool m_failureTold = false;
    qint16 m_lines = 0;
    qint16 m_pages = 0;

    // Graphic mode.
    qint16 m_lineHeight = 0;
    qint16 m_linesPerPage = 0;
    int m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;
    double m_columnWidth = 0;
    std::unique_ptr<QPrinter> m_pdf;
    std::unique_ptr<wholefile::Staged> m_pdfFile; // the PDF until it is complete
    std::unique_ptr<QPainter> m_painter;

    // Dot-matrix mode.
    std::unique_ptr<QFile> m_file;
    QString m_fileName;
    bool m_condensed = false;
    QByteArray m_pending;
};
