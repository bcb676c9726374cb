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

} // namespace printing
