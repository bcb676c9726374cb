#pragma once

#include "actions/generallist/generallistaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QCheckBox;
class QProgressBar;
class QPushButton;
class dclist;
class xtext;

// "Genel Borç Dökümü": every card of a code range with its debt, payments,
// surcharge and balance at a base date, and the grand totals; printed as
// "ÜYE GENEL BORÇ ALACAK LİSTESİ". The upper grid shows the statement of the
// first code whenever it gets the focus.
class gbor : public QWidget {
    Q_OBJECT
  public:
    gbor(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    // " Hesapla": the list of the range at the date, with the totals row.
    void hesapla();
    // The printer setup, then the list as the last " Hesapla" left it.
    void print();
    // The statement of field 0 at field 1 into the upper grid.
    void showStatement();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void lookup(xtext *field);
    void fillList();
    void exportList();
    // "Yaşlandırma": the five age columns shown or hidden.
    void showAges(bool shown);

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    double m_faiz = 0;
    std::array<xtext *, 3> m_fields{};
    dclist *m_statement;
    dclist *m_list;
    QCheckBox *m_rules;
    QCheckBox *m_aging;
    QProgressBar *m_progress;
    QPushButton *m_hesapla, *m_print;
    generallist::List m_figures;
    QString m_listDate; // the base date of the last " Hesapla", for the export
};
