#include "charts/board.h"

#include "base/wholefile.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QPdfWriter>
#include <QPieSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace charts {
namespace {

// The size a chart is laid out at before it is scaled to its place, so that
// its fonts keep their proportion on a page and in an image alike.
constexpr QSizeF LayoutSize(640, 400);

const QColor Colours[] = {QColor(0x1f, 0x5f, 0x9f), QColor(0xd0, 0x6a, 0x1a),
                          QColor(0x3a, 0x8f, 0x4a), QColor(0x9a, 0x3a, 0x8f),
                          QColor(0xb8, 0x2c, 0x2c)};

double maxValue(const Chart &c) {
    double top = 0;
    for (const Series &s : c.series)
        for (const double v : s.values)
            top = std::max(top, v);
    return top;
}

// Axis labels a little smaller than the chart's text, so twelve months fit
// under a chart a third of a screen wide.
QFont smaller(QFont font) {
    font.setPointSizeF(font.pointSizeF() * 0.8);
    return font;
}

// Month names stay whole, turned when there is no room for them upright.
void categoryLabels(QBarCategoryAxis &axis) {
    axis.setLabelsFont(smaller(axis.labelsFont()));
    axis.setTruncateLabels(false);
}

QChart *makeChart(const Chart &c) {
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(c.title);
    QFont title = chart->titleFont();
    title.setBold(true);
    chart->setTitleFont(title);
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    const auto valueAxis = [&](Qt::Alignment where) {
        auto *axis = new QValueAxis;
        axis->setLabelsFont(smaller(axis->labelsFont()));
        axis->setTickCount(5);
        axis->setRange(0, std::max(1.0, maxValue(c) * 1.05));
        axis->applyNiceNumbers();
        axis->setLabelFormat(QStringLiteral("%.0f"));
        axis->setTitleText(c.valueTitle);
        chart->addAxis(axis, where);
        return axis;
    };
    switch (c.kind) {
    case Chart::Kind::Bars:
    case Chart::Kind::HorizontalBars: {
        const bool horizontal = c.kind == Chart::Kind::HorizontalBars;
        QAbstractBarSeries *series =
            horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                       : static_cast<QAbstractBarSeries *>(new QBarSeries);
        for (size_t i = 0; i < c.series.size(); ++i) {
            auto *set = new QBarSet(c.series[i].name);
            set->setColor(Colours[i % std::size(Colours)]);
            for (const double v : c.series[i].values)
                *set << v;
            series->append(set);
        }
        chart->addSeries(series);
        auto *categories = new QBarCategoryAxis;
        categories->append(c.categories);
        categoryLabels(*categories);
        chart->addAxis(categories, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
        series->attachAxis(categories);
        series->attachAxis(valueAxis(horizontal ? Qt::AlignBottom : Qt::AlignLeft));
        chart->legend()->setVisible(c.series.size() > 1);
        break;
    }
    case Chart::Kind::Pie: {
        auto *series = new QPieSeries;
        const std::vector<double> &values =
            c.series.empty() ? std::vector<double>{} : c.series.front().values;
        for (size_t i = 0; i < values.size() && i < size_t(c.categories.size()); ++i) {
            if (values[i] <= 0)
                continue; // an age nobody owes in takes no slice
            QPieSlice *slice = series->append(c.categories[qsizetype(i)], values[i]);
            slice->setColor(Colours[i % std::size(Colours)]);
        }
        chart->addSeries(series);
        chart->legend()->setAlignment(Qt::AlignRight);
        break;
    }
    case Chart::Kind::Line: {
        QAbstractAxis *along = nullptr;
        double first = 0; // a category axis places point i at i
        if (c.categories.isEmpty()) {
            auto *numbers = new QValueAxis;
            size_t points = 0;
            for (const Series &s : c.series)
                points = std::max(points, s.values.size());
            numbers->setRange(1, std::max<double>(2, double(points)));
            numbers->setTickType(QValueAxis::TicksDynamic);
            numbers->setTickAnchor(0);
            numbers->setTickInterval(5);
            numbers->setLabelFormat(QStringLiteral("%d"));
            numbers->setLabelsFont(smaller(numbers->labelsFont()));
            along = numbers;
            first = 1;
        } else {
            auto *categories = new QBarCategoryAxis;
            categories->append(c.categories);
            categoryLabels(*categories);
            along = categories;
        }
        chart->addAxis(along, Qt::AlignBottom);
        QValueAxis *values = valueAxis(Qt::AlignLeft);
        for (size_t i = 0; i < c.series.size(); ++i) {
            auto *series = new QLineSeries;
            series->setName(c.series[i].name);
            series->setColor(Colours[i % std::size(Colours)]);
            series->setPointsVisible(true);
            for (size_t x = 0; x < c.series[i].values.size(); ++x)
                series->append(first + double(x), c.series[i].values[x]);
            chart->addSeries(series);
            series->attachAxis(along);
            series->attachAxis(values);
        }
        chart->legend()->setVisible(c.series.size() > 1);
        break;
    }
    }
    return chart;
}

// Draws a chart laid out at LayoutSize, scaled into `target`.
void render(QPainter &painter, const QRectF &target, const Chart &c) {
    QGraphicsScene scene;
    QChart *chart = makeChart(c);
    scene.addItem(chart); // the scene owns it
    const double scale =
        std::min(target.width() / LayoutSize.width(), target.height() / LayoutSize.height());
    const QSizeF size(target.width() / scale, target.height() / scale);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    scene.render(&painter, target, scene.sceneRect(), Qt::KeepAspectRatio);
}

bool write(const QString &path, const std::function<void(QPainter &, const QRectF &)> &draw,
           QString *error) {
    wholefile::Staged file(path);
    if (!file.open(error))
        return false;
    if (path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        QPdfWriter pdf(file.path());
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setResolution(150);
        QPainter painter;
        if (!painter.begin(&pdf)) {
            *error = QStringLiteral("PDF dosyası yazılamıyor.");
            return false;
        }
        draw(painter, QRectF(0, 0, pdf.width(), pdf.height()));
        if (!painter.end()) {
            *error = QStringLiteral("PDF dosyası yazılamadı.");
            return false;
        }
    } else {
        QImage image(1800, 1100, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            draw(painter, QRectF(image.rect()));
        }
        if (!image.save(file.path(), "PNG")) {
            *error = QStringLiteral("PNG dosyası yazılamadı.");
            return false;
        }
    }
    return file.commit(error);
}

} // namespace

void drawChart(QPainter &painter, const QRectF &target, const Chart &chart) {
    render(painter, target, chart);
}

void drawBoard(QPainter &painter, const QRectF &page, const Board &board) {
    painter.save();
    const double unit = page.height() / 60; // a line of the head
    const QRectF target = page.adjusted(unit, unit * 0.5, -unit, -unit * 0.5);
    QFont font = painter.font();
    font.setPixelSize(int(std::lround(unit * 1.6)));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    QRectF head(target.left(), target.top(), target.width(), unit * 2.4);
    painter.drawText(head, Qt::AlignLeft | Qt::AlignVCenter, board.title);
    font.setBold(false);
    font.setPixelSize(int(std::lround(unit * 1.1)));
    painter.setFont(font);
    painter.drawText(head, Qt::AlignRight | Qt::AlignVCenter, board.subtitle);

    // Three across, as many rows as the charts and the summary need.
    const int cells = int(board.charts.size()) + (board.summary.isEmpty() ? 0 : 1);
    const int across = 3;
    const int rows = std::max(1, (cells + across - 1) / across);
    const QRectF grid(target.left(), head.bottom() + unit * 0.5, target.width(),
                      target.bottom() - head.bottom() - unit * 0.5);
    const double w = grid.width() / across, h = grid.height() / rows;
    const auto cell = [&](int i) {
        return QRectF(grid.left() + (i % across) * w, grid.top() + (i / across) * h, w, h)
            .adjusted(unit * 0.3, unit * 0.3, -unit * 0.3, -unit * 0.3);
    };
    for (size_t i = 0; i < board.charts.size(); ++i)
        render(painter, cell(int(i)), board.charts[i]);
    if (!board.summary.isEmpty()) {
        const QRectF box = cell(int(board.charts.size()));
        painter.setPen(QPen(QColor(0x90, 0x90, 0x90), unit * 0.08));
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box.adjusted(unit, unit, -unit, -unit),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                         board.summary.join(u'\n'));
    }
    painter.restore();
}

bool writeBoard(const QString &path, const Board &board, QString *error) {
    return write(
        path, [&](QPainter &p, const QRectF &r) { drawBoard(p, r, board); }, error);
}

bool writeChart(const QString &path, const Chart &chart, QString *error) {
    return write(
        path, [&](QPainter &p, const QRectF &r) { render(p, r, chart); }, error);
}

QWidget *chartView(const Chart &chart, QWidget *parent) {
    auto *view = new QChartView(makeChart(chart), parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setFocusPolicy(Qt::StrongFocus);
    // The chart F8 and Ctrl+S act on is the framed one.
    view->setStyleSheet(QStringLiteral("QChartView { border: 2px solid transparent; } "
                                       "QChartView:focus { border: 2px solid #1f5f9f; }"));
    view->setMinimumSize(320, 220);
    return view;
}

} // namespace charts
