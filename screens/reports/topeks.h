#pragma once

#include "printing/printcontext.h"

#include <QWidget>

class ScreenContext;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class xtext;

// "Toplu Ekstre": the statements of a code range, a group or only those
// owing more than an amount, into one PDF or a PDF each in a folder.
class topeks : public QWidget {
    Q_OBJECT
  public:
    topeks(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    // Asks where, then writes; `out` given, writes there without asking.
    void yazdir(const QString &out = QString());

  private:
    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    xtext *m_first, *m_last, *m_group, *m_date, *m_minimum;
    QRadioButton *m_oneFile, *m_perMember;
    QLabel *m_status;
    QProgressBar *m_progress;
    QPushButton *m_yazdir;
};
