#pragma once

#include "actions/monthlydebt/monthlydebtaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class dclist;
class xtext;

// The month's dues: the members of a group with their five prices (changed
// in the grid, each row stored as it is finished), " Kaydet " posting every
// price above 0 as a debt, and the three print buttons printing a debt
// voucher per member.
class koopborc : public QWidget {
    Q_OBJECT
  public:
    koopborc(ScreenContext &context, printing::PrintContext &printContext,
             QWidget *parent = nullptr);

    // " Kaydet ": after the question, the grid's debts posted at the date.
    void kaydet();
    // The print buttons: the vouchers of their rows after the printer setup.
    void print(monthlydebt::Range range);
    // The grid filled again from the cards and prices of the chosen group.
    void loadMembers();

  private:
    void storeRow(int row);
    // The grid's rows as they stand, edited prices included.
    std::vector<monthlydebt::Member> gridMembers() const;
    void fieldKey(int key);

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    std::array<QString, 5> m_captions;
    QComboBox *m_group;
    xtext *m_date, *m_number, *m_period;
    dclist *m_grid;
    QLabel *m_status; // how many debts the last posting wrote
    QProgressBar *m_progress;
    QPushButton *m_kaydet, *m_printAll, *m_printFrom, *m_printOne;
    QString m_loadedGroup; // the group the grid was last filled for
    QString m_autoPeriod;  // the period last put in for the date
};
