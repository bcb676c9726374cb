#pragma once

#include "actions/collection/collectionaction.h"
#include "printing/printcontext.h"

#include <QDialog>

class ScreenContext;
class QLabel;
class QPushButton;
class QTimer;
class xtext;

// "Tahsilat": the cash desk over the member statement, which hands it the
// member's final balance. Without an earlier collection it takes a new one;
// with one it shows that earlier receipt read-only under a blinking
// " KOPYA MAKBUZ " and only prints a copy.
class kastah : public QDialog {
    Q_OBJECT
  public:
    kastah(ScreenContext &context, printing::PrintContext &printContext, const QString &kod,
           const QString &name, Money balance,
           std::optional<collection::Earlier> earlier = std::nullopt, QWidget *parent = nullptr);

    bool copyMode() const { return m_earlier.has_value(); }

  private:
    void buildWidgets();
    void amountChanged();
    void tamam();
    Money amount() const;
    void print();

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    collection::Desk m_desk;
    const std::optional<collection::Earlier> m_earlier;

    QLabel *m_picture = nullptr;
    QLabel *m_toplam = nullptr;
    QLabel *m_makbuzNo = nullptr;
    QLabel *m_tarih = nullptr;
    QLabel *m_unvan = nullptr;
    QLabel *m_bakiye = nullptr;
    QLabel *m_uyeKodu = nullptr;
    QLabel *m_kopya = nullptr;
    xtext *m_aciklama = nullptr;
    xtext *m_tutar = nullptr;
    QPushButton *m_tamam = nullptr;
    QPushButton *m_vazgec = nullptr;
    QTimer *m_blink = nullptr;
};
