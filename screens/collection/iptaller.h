#pragma once

#include "actions/collection/voidaction.h"
#include "printing/printcontext.h"

#include <QDialog>

class ScreenContext;
class QLabel;
class QPushButton;
class dclist;
class xtext;

// "İptal Edilen Makbuzlar": the voids between two dates, with their reason,
// listed and printed for the auditors.
class iptaller : public QDialog {
    Q_OBJECT
  public:
    iptaller(ScreenContext &context, printing::PrintContext &printContext,
             QWidget *parent = nullptr);

    // The voids between the two dates into the grid.
    void list();
    // The printer setup, then the list.
    void print();

  private:
    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    xtext *m_from = nullptr;
    xtext *m_to = nullptr;
    dclist *m_grid = nullptr;
    QLabel *m_total = nullptr;
    QPushButton *m_list = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_close = nullptr;
    std::vector<collection::VoidLine> m_lines;
};
