#pragma once

#include "actions/collection/collectionaction.h"

#include <QDialog>

class ScreenContext;
class QLabel;
class QPushButton;
class xtext;

// "Makbuz İptali": a receipt taken back by its reversal, on a date and for a
// reason the clerk gives. A receipt picked on the statement is shown, not
// edited; without one the clerk types the member's receipt number and sees
// the receipt it names. Accepted once the void is written.
class makbuziptal : public QDialog {
    Q_OBJECT
  public:
    makbuziptal(ScreenContext &context, const QString &kod, const QString &name,
                std::optional<collection::Earlier> receipt, QWidget *parent = nullptr);

  private:
    void iptalEt();
    // The receipt of the typed number, shown.
    void findReceipt();
    void showReceipt();

    ScreenContext &m_context;
    const QString m_kod;
    std::optional<collection::Earlier> m_receipt;
    QLabel *m_makbuzTarihi = nullptr;
    QLabel *m_tutar = nullptr;
    xtext *m_number = nullptr; // without a receipt handed over
    xtext *m_tarih = nullptr;
    xtext *m_neden = nullptr;
    QPushButton *m_iptal = nullptr;
    QPushButton *m_vazgec = nullptr;
};
