#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QPainter;
class QRectF;
class QWidget;

// Charts drawn with Qt Charts from figures the caller has worked out: on a
// screen, into a PNG or a PDF, or on a page the printing layer prints. Only
// this layer knows Qt Charts; the figures come in as plain numbers with the
// texts to show beside them.
namespace charts {

struct Series {
    QString name;
    std::vector<double> values; // one per category
};

struct Chart {
    enum class Kind { Bars, HorizontalBars, Pie, Line };
    Kind kind = Kind::Bars;
    QString title;
    // The bars' or points' labels, a pie's slices; a line without them runs
    // over the numbers 1, 2, … (the days of a month).
    QStringList categories;
    std::vector<Series> series;
    QString valueTitle; // the value axis
};

// Several charts under one title, with a few lines of figures beside them.
struct Board {
    QString title;
    QString subtitle;
    std::vector<Chart> charts;
    QStringList summary;
};

// The board drawn into `target` of a painter (a page, an image): a grid of
// its charts, the summary in the last cell.
void drawBoard(QPainter &painter, const QRectF &target, const Board &board);
// One chart alone.
void drawChart(QPainter &painter, const QRectF &target, const Chart &chart);

// A PNG or a PDF (by the name's ending) of the board, or of one chart; a
// file is in place only once complete. False with the reason in *error.
[[nodiscard]] bool writeBoard(const QString &path, const Board &board, QString *error);
[[nodiscard]] bool writeChart(const QString &path, const Chart &chart, QString *error);

// A widget showing the chart, live: it resizes, and takes the focus so a
// screen can act on the chart the clerk is on.
QWidget *chartView(const Chart &chart, QWidget *parent);

} // namespace charts
