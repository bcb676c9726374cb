#include "core/theme.h"

#include <QFile>

namespace {

constexpr uint32_t rgb(int r, int g, int b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

} // namespace

ColourTheme ColourTheme::builtIn() {
    ColourTheme t;
    t.bgr.fill(rgb(225, 230, 238));
    // Calm office colours: light panels, dark text, one blue accent.
    t.bgr[0] = rgb(255, 255, 255); // grid rows, alternating
    t.bgr[1] = rgb(235, 241, 250);
    t.bgr[2] = rgb(30, 60, 110);
    t.bgr[3] = rgb(255, 255, 240); // input field, and with focus
    t.bgr[4] = rgb(255, 244, 200);
    t.bgr[5] = rgb(46, 84, 140); // heading labels: back, fore
    t.bgr[6] = rgb(255, 255, 255);
    t.bgr[7] = rgb(250, 250, 250);
    t.bgr[8] = rgb(20, 20, 20);
    t.bgr[9] = rgb(20, 20, 20); // input text colours
    t.bgr[10] = rgb(120, 0, 0);
    t.bgr[22] = rgb(255, 255, 255);
    t.bgr[23] = rgb(25, 35, 60);
    t.bgr[24] = rgb(214, 222, 235);
    t.bgr[27] = rgb(90, 110, 150);
    t.bgr[40] = rgb(228, 233, 241);
    t.bgr[41] = rgb(46, 84, 140);
    return t;
}

bool ColourTheme::load(const QString &filePath) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray record = f.read(RecordSize);
    bgr.fill(0);
    for (int i = 0; i < Slots && (i + 1) * 4 <= record.size(); ++i) {
        const auto *p = reinterpret_cast<const unsigned char *>(record.constData() + i * 4);
        bgr[size_t(i)] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                         (uint32_t(p[3]) << 24);
    }
    return true;
}

QByteArray ColourTheme::toRecord() const {
    QByteArray out;
    out.reserve(RecordSize);
    for (uint32_t v : bgr)
        for (int b = 0; b < 4; ++b)
            out.append(char((v >> (8 * b)) & 0xff));
    return out;
}
