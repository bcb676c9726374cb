#pragma once

#include "actions/collection/collectionaction.h"
#include "printing/printcontext.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;
class xtext;

// "Tahsilat": the cash desk over the member statement. With an empty reprint
// selection it takes a new collection; with one it shows that earlier
// receipt read-only under a blinking " KOPYA MAKBUZ " and only prints a copy.
// The statement sets session.balance and session.reprint before opening it.
class kastah : public QDialog {
    Q_OBJECT
  public:
    kastah(Session &session, printing::PrintContext &printContext, const QString &kod,
           const QString &name, QWidget *parent = nullptr);

    bool copyMode() const { return m_copy; }

  private:
    void buildWidgets();
    void amountChanged();
    void tamam();
    Money amount() const;
    void print();

    Session &m_session;
    printing::PrintContext &m_printContext;
    collection::Desk m_desk;
    bool m_copy = false;

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
