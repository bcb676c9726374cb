#include "actions/collection/receipt.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace collection {

namespace {

constexpr double MmPerInch = 25.4;

// A painter that takes millimetres and point sizes, whatever the device's
// resolution. Font size and weight stay until changed, as on the old desk's
// printer object.
class MmPainter {
  public:
    explicit MmPainter(QPainter &p)
        : m_p(p), m_x(p.device()->logicalDpiX() / MmPerInch),
          m_y(p.device()->logicalDpiY() / MmPerInch) {
        m_font.setFamily(QStringLiteral("Courier New"));
        m_font.setStyleHint(QFont::TypeWriter);
        m_font.setPointSizeF(10);
        m_pen = QPen(Qt::black, 0.25 * m_x);
    }

    void size(double points) { m_font.setPointSizeF(points); }
    void bold(bool on) { m_font.setBold(on); }
    void colour(const QColor &c) { m_pen.setColor(c); }

    // The printed width of `text` in the current font, in millimetres.
    double width(const QString &text) const {
        return QFontMetricsF(m_font, m_p.device()).horizontalAdvance(text) / m_x;
    }
    void text(double x, double y, const QString &s) {
        m_p.setFont(m_font);
        m_p.setPen(m_pen);
        const QFontMetricsF fm(m_font, m_p.device());
        m_p.drawText(QPointF(x * m_x, y * m_y + fm.ascent()), s);
    }
    void line(double x1, double y1, double x2, double y2) {
        m_p.setPen(m_pen);
        m_p.drawLine(QPointF(x1 * m_x, y1 * m_y), QPointF(x2 * m_x, y2 * m_y));
    }
    void box(double x1, double y1, double x2, double y2) {
        m_p.setPen(m_pen);
        m_p.setBrush(Qt::NoBrush);
        m_p.drawRect(QRectF(QPointF(x1 * m_x, y1 * m_y), QPointF(x2 * m_x, y2 * m_y)));
    }
    // `s` centred on (x, y), turned by `degrees`.
    void turnedText(double x, double y, double degrees, const QString &s) {
        m_p.save();
        m_p.translate(x * m_x, y * m_y);
        m_p.rotate(degrees);
        m_p.setFont(m_font);
        m_p.setPen(m_pen);
        const QFontMetricsF fm(m_font, m_p.device());
        m_p.drawText(QPointF(-fm.horizontalAdvance(s) / 2, fm.ascent() / 2 - fm.descent() / 2), s);
        m_p.restore();
    }
    void image(double x, double y, double w, double h, const QImage &img) {
        if (!img.isNull())
            m_p.drawImage(QRectF(x * m_x, y * m_y, w * m_x, h * m_y), img);
    }

  private:
    QPainter &m_p;
    double m_x, m_y; // device pixels per millimetre
    QFont m_font;
    QPen m_pen;
};

// The heads of a split collection in the description box (5 to 150 mm
// across, 75 to 88 mm down): two columns of three lines, each caption with
// its amount at the column's right edge, the type made smaller until the
// widest line fits its column.
void drawItems(MmPainter &p, double y0, const std::vector<ReceiptItem> &items) {
    constexpr double Left[] = {10, 80};
    constexpr double ColumnWidth = 66;
    constexpr double LineStep = 4.2;
    double size = 10;
    const auto widest = [&] {
        double w = 0;
        for (const ReceiptItem &item : items)
            w = std::max(w, p.width(item.text + QStringLiteral("  ") + item.amount));
        return w;
    };
    p.size(size);
    while (size > 6 && widest() > ColumnWidth) {
        size -= 0.5;
        p.size(size);
    }
    for (size_t i = 0; i < items.size() && i < 6; ++i) {
        const double x = Left[i / 3];
        const double y = y0 + 75.6 + double(i % 3) * LineStep;
        p.text(x, y, items[i].text);
        p.text(x + ColumnWidth - p.width(items[i].amount), y, items[i].amount);
    }
}

void drawBody(MmPainter &p, double y0, const ReceiptHeader &h, const ReceiptValues &v) {
    p.bold(false);
    p.image(5, y0 + 10, 30, 30, h.logo);
    p.box(5, y0 + 50, 200, y0 + 75);
    p.box(5, y0 + 65, 200, y0 + 88);
    p.box(5, y0 + 75, 200, y0 + 88);
    p.line(150, y0 + 65, 150, y0 + 88);

    p.bold(true);
    p.size(18);
    p.text(40, y0 + 12, h.lines[0]);
    p.size(12);
    p.text(40, y0 + 20, h.lines[1]);
    p.text(40, y0 + 25, h.lines[2]);

    p.bold(false);
    p.text(140, y0 + 30, QStringLiteral("Makbuz No "));
    p.text(140, y0 + 35, QStringLiteral("Tarih"));
    p.text(165, y0 + 30, QStringLiteral(": ") + v.receiptNo);
    p.text(165, y0 + 35, QStringLiteral(": ") + v.date);

    p.size(18);
    p.bold(true);
    p.text(60, y0 + 42, QStringLiteral("KASA TAHSİLAT MAKBUZU"));

    p.size(10);
    p.bold(false);
    p.text(10, y0 + 52, QStringLiteral("Kod : "));
    p.text(10, y0 + 59, QStringLiteral("Ad Soyad : "));
    p.size(12);
    p.bold(true);
    p.text(30, y0 + 52, v.kod);
    p.text(30, y0 + 58, v.name);

    p.size(14);
    p.bold(false);
    p.text(15, y0 + 68, QStringLiteral("A Ç I K L A M A"));
    p.text(165, y0 + 68, QStringLiteral("T U T A R"));
    if (v.items.empty()) {
        p.size(16);
        p.text(10, y0 + 78, v.description);
    } else {
        drawItems(p, y0, v.items);
    }

    p.size(24);
    p.bold(true);
    p.text(195 - p.width(v.amountText), y0 + 76, v.amountText);

    p.size(16);
    p.bold(false);
    p.text(5, y0 + 90,
           QStringLiteral("Yalnız;") + amountInWords(v.amount, v.tlnick, v.krnick) +
               QStringLiteral(" .dir."));

    const BalanceLine b = balanceLine(v);
    if (!b.credit)
        p.text(5, y0 + 97, b.text);
    p.size(18);
    p.bold(true);
    if (b.credit)
        p.text(5, y0 + 97, b.text);
    else
        p.text(45, y0 + 97, b.figure);

    p.bold(false);
    p.text(148, y0 + 90,
           v.copy ? QStringLiteral("COPY COPY COPY") : QStringLiteral("TEŞEKKÜR EDERİZ"));

    if (v.voided) {
        // Across the whole receipt, so no part of it can pass for a live one.
        p.size(40);
        p.bold(true);
        p.colour(QColor(200, 0, 0));
        p.turnedText(105, y0 + 62, -18, QStringLiteral("İPTAL EDİLMİŞTİR"));
        p.colour(Qt::black);
    }
}

} // namespace

QString plainRounded(Money value, int decimals) {
    return withoutTrailingZeros(roundMoney(value, decimals).toPlain(4));
}

BalanceLine balanceLine(const ReceiptValues &v) {
    const Money remaining = v.balance - v.amount;
    // A copy decides by the balance alone, yet words the credit from the
    // balance less the amount, as the desk always printed it.
    const Money decisive = v.copy ? v.balance : remaining;
    BalanceLine b;
    if (roundMoney(decisive, v.tlonda) <= Money()) {
        const Money owed = remaining < Money() ? -remaining : remaining;
        b.credit = true;
        b.text = QStringLiteral("Borcunuz Bulunmamaktadır. (") + plainRounded(owed, v.tlonda) +
                 u' ' + v.tlnick + QStringLiteral(" Alacaklısınız..)");
        return b;
    }
    b.text = QStringLiteral("Son Bakiyeniz :");
    b.figure = v.tlnick + u' ' + formatAmount(v.copy ? v.balance : remaining, v.tlonda);
    return b;
}

void drawReceiptPage(QPainter &painter, const ReceiptHeader &header, const ReceiptValues &values) {
    MmPainter p(painter);
    drawBody(p, 0, header, values);
    p.colour(QColor(255, 0, 0));
    p.line(5, 140, 200, 140);
    p.colour(Qt::black);
    drawBody(p, 140, header, values);
}

QImage defaultLogo() {
    QImage img(240, 240, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(31, 73, 125);
    p.setPen(QPen(blue, 10));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(8, 8, 224, 224));
    // A house under a roof: the cooperative's own homes.
    QPainterPath roof;
    roof.moveTo(50, 118);
    roof.lineTo(120, 52);
    roof.lineTo(190, 118);
    p.drawPath(roof);
    p.setBrush(blue);
    p.drawRect(QRectF(72, 118, 96, 70));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(108, 146, 24, 42));
    return img;
}

} // namespace collection
