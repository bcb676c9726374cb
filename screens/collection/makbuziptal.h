#pragma once

#include "actions/collection/collectionaction.h"

#include <QDialog>

class ScreenContext;
class QPushButton;
class xtext;

// "Makbuz İptali": a receipt picked on the statement taken back by its
// reversal, on a date and for a reason the clerk gives. The receipt itself
// is shown, not edited.
class makbuziptal : public QDialog {
    Q_OBJECT
  public:
    makbuziptal(ScreenContext &context, const QString &kod, const QString &name,
                collection::Earlier receipt, QWidget *parent = nullptr);

    // The void was written.
    bool voided() const { return m_voided; }

  private:
    void iptalEt();

    ScreenContext &m_context;
    const QString m_kod;
    const collection::Earlier m_receipt;
    xtext *m_tarih = nullptr;
    xtext *m_neden = nullptr;
    QPushButton *m_iptal = nullptr;
    QPushButton *m_vazgec = nullptr;
    bool m_voided = false;
};
