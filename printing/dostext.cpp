#include "printing/dostext.h"

namespace printing {
namespace {

// Code page 1254 at 0x80-0x9F; 0 where the code page leaves a hole.
constexpr char16_t kHigh1254[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0,      0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178};

struct Letter {
    char16_t unicode;
    unsigned char cp857;
};

// The twelve Turkish letters; their 1254 codes (199 ... 254) never reach the
// printer, only these.
constexpr Letter kTurkish[12] = {{u'Ç', 128}, {u'Ğ', 166}, {u'Ö', 153}, {u'Ü', 154},
                                 {u'İ', 152}, {u'Ş', 158}, {u'ç', 135}, {u'ğ', 167},
                                 {u'ö', 148}, {u'ü', 129}, {u'ı', 141}, {u'ş', 159}};

// Latin-1 places 1254 gives to the six letters of its own.
bool isTurkishPlace(char16_t c) {
    return c == 0xD0 || c == 0xDD || c == 0xDE || c == 0xF0 || c == 0xFD || c == 0xFE;
}

char byte1254(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF && !isTurkishPlace(c)))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHigh1254[i] != 0 && kHigh1254[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray toDosText(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        bool done = false;
        for (const Letter &l : kTurkish) {
            if (l.unicode == c) {
                out += static_cast<char>(l.cp857);
                done = true;
                break;
            }
        }
        if (!done)
            out += byte1254(c);
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
