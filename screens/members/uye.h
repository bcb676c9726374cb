#pragma once

#include "actions/members/memberaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>
#include <optional>

class ScreenContext;
class QComboBox;
class QLabel;
class QPushButton;
class dclist;
class xtext;

// "Üye Kartları": the member cards of an office without the suite. A code
// typed (or chosen with F2) brings its card up, or starts a new one; " Yeni"
// (F3) empties the form, " Kaydet" (F5) stores it, " Sil" (F8) deletes a card
// without rows, Esc closes. The list below holds every card; Enter or a
// double click on a row brings that card up.
class uye : public QWidget {
    Q_OBJECT
  public:
    uye(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent = nullptr);

    // The card of `kod` in the form, or a new card with that code.
    void bringUp(const QString &kod);
    void newCard();
    void save();
    void remove();
    void refill();

  private:
    members::Card edited() const;
    void showCard(const members::Card &card);
    void screenKey(int key);

    ScreenContext &m_context;
    // In data::cardFields() order; the kind (asd) is m_kind.
    std::array<xtext *, 11> m_fields{};
    QComboBox *m_kind;
    QLabel *m_state;
    dclist *m_list;
    QPushButton *m_yeni, *m_kaydet, *m_sil, *m_kapat;
    std::optional<members::Card> m_loaded; // nothing for a new card
    QString m_shownKod;                    // the code last brought up
};
