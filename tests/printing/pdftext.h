#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <vector>

// Text and word boxes of a PDF, through poppler's pdftotext.
struct PdfWord {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

inline QString pdfTool(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    p.waitForFinished(-1);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page text as laid out, pages separated by form feeds.
inline QString pdfLayoutText(const QString &pdf) {
    return pdfTool({QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

inline std::vector<PdfWord> pdfWords(const QString &pdf) {
    const QString html = pdfTool({QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<PdfWord> words;
    int page = 0;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(u"<page")) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble(),
                         m.captured(5).replace(QStringLiteral("&amp;"), QStringLiteral("&"))});
    }
    return words;
}

inline const PdfWord *findWord(const std::vector<PdfWord> &words, const QString &text,
                               int page = 1) {
    for (const PdfWord &w : words) {
        if (w.text == text && w.page == page)
            return &w;
    }
    return nullptr;
}

// The words of a PDF as a golden file holds them: one a line, the page, the
// box in points to a tenth, the text.
inline QByteArray pdfWordList(const QString &pdf) {
    QByteArray out;
    for (const PdfWord &w : pdfWords(pdf)) {
        out += QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(w.page)
                   .arg(w.xMin, 0, 'f', 1)
                   .arg(w.yMin, 0, 'f', 1)
                   .arg(w.xMax, 0, 'f', 1)
                   .arg(w.yMax, 0, 'f', 1)
                   .arg(w.text)
                   .toUtf8();
    }
    return out;
}
