#pragma once

#include "actions/labels/labelsaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QCheckBox;
class QPushButton;
class QRadioButton;
class xtext;

// "Cari Etiket": address labels for the cards of the code, group, type and
// special-code ranges whose status box is ticked, sent to the dot-matrix
// printer two across, after a ruler page if the clerk wants one.
class etiket : public QWidget {
    Q_OBJECT
  public:
    etiket(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    // " Test Yazdır ": the ruler page.
    void testPrint();
    // " Yazıcı 'ya Gönder ": the question, the ruler page if asked for, then
    // the labels.
    void send();

  private:
    void screenKey(int key);

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    // Code, group, type and special code: start and end of each.
    std::array<xtext *, 8> m_range{};
    std::array<QCheckBox *, 3> m_status{}; // A, S, D
    QRadioButton *m_wide, *m_narrow;
    QPushButton *m_test, *m_send;
};
