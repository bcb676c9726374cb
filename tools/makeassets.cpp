// Writes the program's own artwork beside the executables at build time: the
// colour theme renk.dat, the screens' backgrounds and the button icons.
#include "core/theme.h"
#include "gui/picture.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

QImage background(QSize size, QColor top, QColor bottom) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(img.rect(), g);
    // A faint row of roofs: the cooperative's houses.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    for (int x = 0; x < size.width(); x += 120) {
        QPainterPath roof;
        roof.moveTo(x + 10, size.height() - 60);
        roof.lineTo(x + 60, size.height() - 110);
        roof.lineTo(x + 110, size.height() - 60);
        roof.closeSubpath();
        p.drawPath(roof);
        p.drawRect(x + 22, size.height() - 60, 76, 60);
    }
    return img;
}

QImage icon(const std::function<void(QPainter &)> &draw) {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return img;
}

void printer(QPainter &p, QColor paper) {
    p.setPen(QPen(QColor(40, 50, 70), 2));
    p.setBrush(paper);
    p.drawRect(9, 3, 14, 10);
    p.setBrush(QColor(120, 130, 150));
    p.drawRoundedRect(3, 12, 26, 12, 3, 3);
    p.setBrush(Qt::white);
    p.drawRect(9, 20, 14, 9);
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fputs("usage: makeassets IMAGE_FOLDER\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    QFile theme(dir.filePath(QStringLiteral("renk.dat")));
    if (!theme.open(QIODevice::WriteOnly) ||
        theme.write(ColourTheme::builtIn().toRecord()) != ColourTheme::RecordSize)
        return 1;
    theme.close();

    const QColor green(40, 150, 70), red(190, 50, 40), blue(46, 84, 140);
    const std::pair<const char *, QImage> pictures[] = {
        {"muhback3.jpg", background({1024, 768}, QColor(228, 233, 241), QColor(190, 204, 224))},
        {"pencere.jpg", background({640, 480}, QColor(236, 240, 246), QColor(205, 215, 232))},
        {"check.ico", icon([&](QPainter &p) {
             p.setPen(QPen(green, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPolyline(QPolygon({{6, 17}, {13, 24}, {26, 8}}));
         })},
        {"uncheck.ico", icon([&](QPainter &p) {
             p.setPen(QPen(red, 5, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(8, 8, 24, 24);
             p.drawLine(24, 8, 8, 24);
         })},
        {"printerm.ico", icon([](QPainter &p) { printer(p, QColor(255, 250, 205)); })},
        {"printers.ico", icon([](QPainter &p) { printer(p, Qt::white); })},
        {"go.ico", icon([&](QPainter &p) {
             p.setPen(Qt::NoPen);
             p.setBrush(green);
             p.drawPolygon(QPolygon({{8, 5}, {27, 16}, {8, 27}}));
         })},
        {"ayar.ico", icon([&](QPainter &p) {
             p.setPen(QPen(blue, 4));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPoint(16, 16), 8, 8);
             for (int i = 0; i < 8; ++i) {
                 p.save();
                 p.translate(16, 16);
                 p.rotate(45 * i);
                 p.drawLine(0, 9, 0, 14);
                 p.restore();
             }
         })},
    };
    static_assert(std::size(pictures) == std::size(PictureFiles));
    for (const auto &[name, image] : pictures)
        if (!image.save(dir.filePath(QString::fromLatin1(name))))
            return 1;
    return 0;
}
