#pragma once

#include "actions/attendance/attendanceaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <optional>

class ScreenContext;
class QCheckBox;
class QPushButton;
class QRadioButton;
class dclist;
class xtext;

// "Hazirun Listesi": the members of a code range listed for the general
// assembly and printed as the attendance sheet, a page per group of codes
// when "Grupla" is ticked.
class hazirun : public QWidget {
    Q_OBJECT
  public:
    hazirun(ScreenContext &context, printing::PrintContext &printContext,
            QWidget *parent = nullptr);

    // The list read again when the range or the order changed since it was
    // last read.
    void refresh();
    // The print button: the sheet after the printer setup.
    void print();
    // "Grup Ayar": the group screen, modal.
    void editGroups();

  private:
    attendance::Query query() const;
    void screenKey(int key);

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    xtext *m_first, *m_last;
    QRadioButton *m_byCode, *m_byName;
    QCheckBox *m_grouped, *m_marks;
    QPushButton *m_groups, *m_print;
    dclist *m_grid;
    std::optional<attendance::Query> m_shown; // the query the list was read for
    std::vector<attendance::Member> m_members;
};
