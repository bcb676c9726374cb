#pragma once

#include "actions/bulkdebt/bulkdebtaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class xtext;

// Bulk dues: the clerk types up to five amounts, one per dues head, picks
// the months of one year and a range of member codes, and "Kaydet" assigns
// them all in one run, the member and month being posted shown as it goes.
class topbrc : public QWidget {
    Q_OBJECT
  public:
    topbrc(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    void kaydet();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    // The five amounts as typed, an empty or unreadable one 0.
    bulkdebt::HeadAmounts typedAmounts() const;

    ScreenContext &m_context;
    std::array<QLabel *, 5> m_caption{};
    std::array<xtext *, 5> m_amount{};
    QComboBox *m_firstMonth, *m_lastMonth;
    xtext *m_firstCode, *m_lastCode, *m_year;
    QLabel *m_current;
    QProgressBar *m_progress;
    QPushButton *m_kaydet, *m_vazgec;
    bool m_typed = false; // amounts changed since the last run
};
