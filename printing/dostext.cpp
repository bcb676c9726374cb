#include "printing/dostext.h"

#include "base/cp1254.h"

namespace printing {
namespace {

struct Letter {
    char16_t unicode;
    unsigned char cp857;
};

// The twelve Turkish letters in code page 857, the printer's, and the
// circumflexed vowels of names such as "Kâzım", which code page 1254 would put
// on the printer's box-drawing places; everything else goes as its code page
// 1254 byte.
constexpr Letter kTurkish[] = {{u'Ç', 128}, {u'Ğ', 166}, {u'Ö', 153}, {u'Ü', 154}, {u'İ', 152},
                               {u'Ş', 158}, {u'ç', 135}, {u'ğ', 167}, {u'ö', 148}, {u'ü', 129},
                               {u'ı', 141}, {u'ş', 159}, {u'â', 131}, {u'î', 140}, {u'û', 150},
                               {u'Â', 182}, {u'Î', 215}, {u'Û', 234}};

} // namespace

QByteArray toDosText(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        // Most of a line: blanks, digits and Latin letters, the same byte
        // in every code page.
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        bool done = false;
        for (const Letter &l : kTurkish) {
            if (l.unicode == c) {
                out += static_cast<char>(l.cp857);
                done = true;
                break;
            }
        }
        if (!done)
            out += cp1254::encode(c);
    }
    return out;
}

QString dotMatrixCell(const QString &text, int width, int alignment) {
    if (width < 1)
        return text;
    const qsizetype length = text.size();
    if (alignment == 1) {
        if (length >= width)
            return text.right(width);
        return QString(width - length, u' ') + text;
    }
    if (alignment == 2 && length <= width) {
        // An odd difference leaves the cell one column short, as the old
        // reports were laid out with it.
        const QString side((width - length) / 2, u' ');
        return side + text + side;
    }
    // Left, and a centred text longer than its cell: cut to the width.
    return text.leftJustified(width, u' ', true);
}

std::vector<DosLine> fromDosJob(const QByteArray &job) {
    std::vector<DosLine> lines(1);
    bool bold = false;
    for (qsizetype i = 0; i < job.size(); ++i) {
        const auto b = static_cast<unsigned char>(job[i]);
        if (b == 27 && i + 1 < job.size()) {
            // ESC G and ESC H turn bold on and off; the other styles show plain.
            const char code = job[++i];
            if (code == 'G')
                bold = true;
            else if (code == 'H')
                bold = false;
            continue;
        }
        if (b == '\n') {
            lines.emplace_back();
            continue;
        }
        if (b == '\r' || b == 15 || b == 18)
            continue; // the line end's first half, condensed on and off
        QChar c;
        if (b < 0x80) {
            c = QChar(b);
        } else {
            for (const Letter &l : kTurkish)
                if (l.cp857 == b)
                    c = QChar(l.unicode);
            if (c.isNull()) {
                const QString other = cp1254::decode(QByteArray(1, char(b)));
                c = other.isEmpty() ? QChar(u'?') : other.front();
            }
        }
        lines.back().text += c;
        lines.back().bold.push_back(bold);
    }
    // The job ends with a line end: no line follows it.
    if (lines.back().text.isEmpty())
        lines.pop_back();
    return lines;
}

} // namespace printing
