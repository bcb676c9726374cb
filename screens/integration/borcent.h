#pragma once

#include "actions/integration/integrationaction.h"
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
namespace screenkit {
class BusyRun;
}

// "Borçlandırma Entegrasyonu": the month's dues debts, the cash collections
// of a date range and the surcharge members paid, each handed to the
// accounting suite's journal by its own button. F5 in a section's fields
// runs that section; the grid shows each member's statement as the surcharge
// run computes it.
class Borcent : public QWidget {
    Q_OBJECT
  public:
    Borcent(ScreenContext &context, printing::PrintContext &printContext,
            QWidget *parent = nullptr);

    void postDebts();
    void postCollections();
    void postSurcharge();

  private:
    void runSection(size_t field);
    void finished(const std::optional<int> &rows, Messages::Icon icon, const QString &text);
    // Asked before a run: whether to run at all ("Hayır" the default, so a
    // stray Enter hands nothing over), and again when the period was handed
    // over before.
    bool confirmed(integration::Kind kind, const QDate &from, const QDate &to);
    // The bar and the member's code as a debts or collections run goes.
    integration::RowProgress rowProgress(screenkit::BusyRun &busy);

    ScreenContext &m_context;
    double m_faiz = 0;
    std::array<xtext *, 11> m_fields{};
    QComboBox *m_month;
    std::array<QPushButton *, 3> m_buttons{};
    QProgressBar *m_progress;
    QLabel *m_current;
    dclist *m_grid;
};
