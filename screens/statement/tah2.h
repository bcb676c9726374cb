#pragma once

#include "actions/collection/collectionaction.h"
#include "actions/statement/statementaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QCheckBox;
class QLabel;
class QPushButton;
class dclist;
class xtext;

// "Kooperatif Tahsilat": the collection desk's starting screen. The clerk
// types a member code and a date; entering the grid shows the statement
// with its late-payment surcharge, from which he prints it, takes a cash
// collection (F5), reprints an earlier receipt or voids it (F9).
class tah2 : public QWidget {
    Q_OBJECT
  public:
    tah2(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);
    ~tah2() override;

    printing::PrintContext &printContext() { return m_printContext; }
    Money finalBalance() const { return m_balance; }
    // The earlier collection of the current row, for a copy receipt.
    const std::optional<collection::Earlier> &selectedReceipt() const { return m_selected; }

    // The statement of the fields' member and date into the grid.
    void recompute();
    // The cash collection screen over this one: new, or a copy of the
    // selected receipt.
    void collect();
    void copyReceipt();
    // "Makbuz İptali" of the selected receipt (F9).
    void voidReceipt();
    // "İptal Edilen Makbuzlar".
    void showVoids();
    // The printer setup, then the statement from the start row.
    void print();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void reset();
    void codeChanged();
    void lookup();
    void rowChanged(int row);
    void gridMouse(int button, int col, int row);
    void openCash(std::optional<collection::Earlier> earlier);
    // The statement of the fields' member and date is the one computed,
    // computing it if not; false when there is none to take cash against.
    bool statementShown();

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    std::array<xtext *, 3> m_fields{};
    QLabel *m_name;
    dclist *m_grid;
    QCheckBox *m_fullList;
    QPushButton *m_collect, *m_copy, *m_void, *m_voids, *m_print;

    std::optional<data::MemberCard> m_member;
    std::optional<surcharge::Statement> m_statement;
    std::pair<QString, QDate> m_statementOf; // the code and date it was computed for
    double m_faiz = 0;
    Money m_balance;
    std::optional<collection::Earlier> m_selected;
    int m_startRow = 0;
};
