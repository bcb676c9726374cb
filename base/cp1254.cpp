#include "base/cp1254.h"

namespace cp1254 {

namespace {

// 0x80-0x9F; 0 where the code page leaves a hole.
constexpr char16_t High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0,      0,
                               0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178};

// The places where 1254 puts its Turkish letters instead of Latin-1's.
struct Letter {
    unsigned char byte;
    char16_t unicode;
};
constexpr Letter Turkish[6] = {{0xD0, u'Ğ'}, {0xDD, u'İ'}, {0xDE, u'Ş'},
                               {0xF0, u'ğ'}, {0xFD, u'ı'}, {0xFE, u'ş'}};

} // namespace

QString decode(const QByteArray &bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        char16_t u = b;
        if (b >= 0x80 && b < 0xA0 && High[b - 0x80] != 0)
            u = High[b - 0x80];
        for (const Letter &l : Turkish)
            if (l.byte == b)
                u = l.unicode;
        out += QChar(u);
    }
    return out;
}

char encode(char16_t c) {
    for (const Letter &l : Turkish) {
        if (l.unicode == c)
            return static_cast<char>(l.byte);
        if (l.byte == c)
            return '?'; // the Latin-1 letter 1254 gave up for a Turkish one
    }
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (High[i] != 0 && High[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace cp1254
