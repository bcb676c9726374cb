// Grid speed: filling a dclist with 30,000 rows of 10 columns (until the
// view has taken them and painted), against building a QStandardItemModel of
// the same cells; sorting by a text, a number and a date column, against
// QStandardItemModel::sort; and writing the rows to an .xlsx file.
#include "base/daynumber.h"
#include "base/messages.h"
#include "bench/benchcompany.h"
#include "controls/dclist.h"

#include <QApplication>
#include <QDate>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Rows = 30000;
constexpr int Cols = 10;
constexpr int Runs = 3;

const char *const Names[] = {"Çağlar", "Ayşe", "İsmail", "Deniz", "Ilgın", "Şule", "Ömer", "Cem"};

// Code, name, four amounts, a due date, a text date, a group and a remark.
std::vector<QVariant> cells() {
    std::vector<QVariant> v;
    v.reserve(size_t(Rows) * Cols);
    const QDate base(2020, 1, 1);
    for (int r = 0; r < Rows; ++r) {
        const int k = (r * 7919) % Rows; // not in order
        v.emplace_back(QStringLiteral("%1").arg(k, 5, 10, QLatin1Char('0')));
        v.emplace_back(QStringLiteral("%1 %2").arg(QString::fromUtf8(Names[k % 8])).arg(k));
        v.emplace_back(850.25 + k % 100);
        v.emplace_back(double(k % 13) * 12.5);
        v.emplace_back(0.0);
        v.emplace_back(double(k) / 3.0);
        v.emplace_back(base.addDays(k % 2000));
        v.emplace_back(formatTrDate(base.addDays(k % 1500)));
        v.emplace_back(QStringLiteral("G%1").arg(k % 20));
        v.emplace_back(QStringLiteral("Aidat"));
    }
    return v;
}

void defineColumns(dclist &g) {
    g.Add("A", "kod", "Kod", 80, 8);
    g.Add("A", "isim", "Ad", 200, 35);
    g.Add("N", "borc", "Borç", 90, 1e12, 0, 2, 3);
    g.Add("N", "faiz", "G.Zammı", 90, 1e12, 0, 2, 3);
    g.Add("N", "odeme", "Ödenen", 90, 1e12, 0, 2, 3);
    g.Add("B", "kalan", "Kalan", 90, 0, 0, 2, 3);
    g.Add("T", "vade", "Vade", 90, 10);
    g.Add("T", "odetar", "Ödeme", 90, 10);
    g.Add("M", "grp", "Grup", 50, 10);
    g.Add("A", "ack", "Açıklama", 150, 30);
}

double best(std::vector<double> v) {
    return *std::min_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char *argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LogMessages messages;
    const std::vector<QVariant> values = cells();

    std::vector<double> baseline, fill, sortText, sortNumber, sortDate, baseSort, xlsx;
    for (int run = 0; run < Runs; ++run) {
        {
            QStandardItemModel model;
            baseline.push_back(seconds([&] {
                model.setColumnCount(Cols);
                for (int r = 0; r < Rows; ++r) {
                    QList<QStandardItem *> items;
                    items.reserve(Cols);
                    for (int c = 0; c < Cols; ++c) {
                        auto *item = new QStandardItem;
                        item->setData(values[size_t(r) * Cols + c], Qt::DisplayRole);
                        items.append(item);
                    }
                    model.appendRow(items);
                }
            }));
            baseSort.push_back(seconds([&] { model.sort(1); }));
        }

        auto grid = std::make_unique<dclist>(messages);
        defineColumns(*grid);
        grid->resize(1000, 600);
        grid->show();
        QApplication::processEvents();
        fill.push_back(seconds([&] {
            for (int r = 0; r < Rows; ++r) {
                const int row = grid->CreateNewCaption();
                for (int c = 0; c < Cols; ++c)
                    grid->setCaption(row, c, values[size_t(r) * Cols + c]);
            }
            QApplication::processEvents(); // the view takes the rows
            grid->viewport()->repaint();
        }));
        if (grid->model()->rowCount() != Rows) {
            std::fprintf(stderr, "the view shows %d rows\n", grid->model()->rowCount());
            return 1;
        }
        sortText.push_back(seconds([&] {
            grid->Sorting2(1);
            grid->viewport()->repaint();
        }));
        sortNumber.push_back(seconds([&] {
            grid->Sorting2(3);
            grid->viewport()->repaint();
        }));
        sortDate.push_back(seconds([&] {
            grid->Sorting2(7);
            grid->viewport()->repaint();
        }));
        QTemporaryDir dir;
        xlsx.push_back(seconds([&] {
            must(grid->writeExel(dir.filePath("grid.xlsx"), "Liste", "05.03.2026", "", ""),
                 "the grid's export");
        }));
    }

    std::printf("QStandardItemModel build %d x %d:  %.3f s\n", Rows, Cols, best(baseline));
    std::printf("dclist fill %d x %d (shown):       %.3f s\n", Rows, Cols, best(fill));
    std::printf("ratio fill/baseline: %.2f (goal <= 3)\n", best(fill) / best(baseline));
    std::printf("QStandardItemModel sort (text):    %.3f s\n", best(baseSort));
    std::printf("dclist sort text (Turkish order):  %.3f s\n", best(sortText));
    std::printf("dclist sort number:                %.3f s\n", best(sortNumber));
    std::printf("dclist sort date text:             %.3f s\n", best(sortDate));
    std::printf("ratio text sort/QStandardItemModel: %.2f\n", best(sortText) / best(baseSort));
    std::printf("xlsx export %d x %d:               %.3f s\n", Rows, Cols, best(xlsx));
    return 0;
}
