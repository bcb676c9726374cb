#pragma once

#include "charts/board.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <optional>
#include <vector>

class ScreenContext;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class xtext;

// "Genel Durum": a year's charts. F5 draws them for the year, F8 prints the
// chart the cursor is on (the whole board from the fields), Ctrl+S saves it
// as PNG or PDF.
class pano : public QWidget {
    Q_OBJECT
  public:
    pano(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    // " Hesapla": the year's figures and their charts.
    void hesapla();
    // The focused chart, or the whole board, on paper or into a file.
    void print();
    void save();
    // Which chart the cursor is on; -1 for the whole board.
    int currentChart() const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void showCharts();

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    xtext *m_year, *m_month;
    QGridLayout *m_grid;
    QLabel *m_summary;
    QProgressBar *m_progress;
    QPushButton *m_hesapla, *m_print, *m_save;
    std::optional<charts::Board> m_charts; // of the last " Hesapla"
    std::vector<QWidget *> m_views;
};
