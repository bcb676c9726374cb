#pragma once

#include "actions/settings/settingsaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QPushButton;
class xtext;

// "Yönetim Ayar": the one settings row. "Kaydet" (F5) stores it and closes,
// "Vazgeç" (Esc) closes without writing.
class koopayar : public QWidget {
    Q_OBJECT
  public:
    koopayar(ScreenContext &context, printing::PrintContext &printContext,
             QWidget *parent = nullptr);

    void save();

  private:
    ScreenContext &m_context;
    // Numbered as the row's fields: 0-4 captions, 5 faiz, 6 tolerans,
    // 7 fisno, 8-12 accounting codes, 13 the surcharge account (not stored).
    std::array<xtext *, 14> m_fields{};
    QPushButton *m_kaydet, *m_vazgec;
    std::optional<data::Settings> m_loaded; // as the screen opened with it
};
