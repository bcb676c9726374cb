#pragma once

#include "actions/company/companyinfo.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QLabel;
class QPushButton;
class xtext;

// "Şirket Bilgileri": the cooperative's name, the money decimals and the
// names of the lira and the kuruş, the receipt's three header lines. Where
// the tables are is shown, not changed here. "Kaydet" (F5) stores and
// closes, "Vazgeç" (Esc) closes without writing.
class sirket : public QWidget {
    Q_OBJECT
  public:
    sirket(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    void save();

  private:
    ScreenContext &m_context;
    // unvan, tlonda, tlnick, krnick, baslik1..3, as companyinfo::keys().
    std::array<xtext *, 7> m_fields{};
    QLabel *m_where;
    QPushButton *m_kaydet, *m_vazgec;
    companyinfo::Info m_loaded;
};
