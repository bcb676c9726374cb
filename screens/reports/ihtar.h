#pragma once

#include "actions/reports/arrears.h"
#include "printing/printcontext.h"

#include <QWidget>

class ScreenContext;
class QProgressBar;
class QPushButton;
class dclist;
class xtext;

// "İhtar Listesi": the members owing for more than some months or more than
// an amount at a date, with their arrears by age; the list printed, and a
// letter to each of them from the company's template.
class ihtar : public QWidget {
    Q_OBJECT
  public:
    ihtar(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    void hesapla(); // F5
    void print();   // F8: the list
    void letters(); // the letters of the members listed
    void editTemplate();

    const arrears::List &list() const { return m_list; }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    arrears::Criteria criteria() const;
    void fillGrid();

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    xtext *m_date, *m_months, *m_minimum;
    dclist *m_grid;
    QProgressBar *m_progress;
    QPushButton *m_hesapla, *m_print, *m_letters, *m_template;
    arrears::List m_list;
    arrears::Criteria m_listed; // what the list was computed for
};
