#pragma once

#include "actions/headcollection/headcollectionaction.h"
#include "printing/printcontext.h"

#include <QWidget>
#include <array>

class ScreenContext;
class QLabel;
class QPushButton;
class xtext;

// Collection by dues head: the clerk picks a member, sees what is owed on
// each of the five heads up to the end of the month ("BORÇ  DÖKÜMÜ"), types
// what is paid on each ("TAHSİLAT") and posts it with "Tamam".
class ytahsil : public QWidget {
    Q_OBJECT
  public:
    ytahsil(ScreenContext &context, printing::PrintContext &printContext,
            QWidget *parent = nullptr);
    ~ytahsil() override;

    void loadMember();
    void loadBalances();
    void checkAmounts(bool warn);
    void tamam();
    // "Makbuz İptali" of one of the member's receipts, its number typed.
    void voidReceipt();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void lookup();
    headcollection::HeadAmounts amounts() const;
    headcollection::Collection collection() const;

    ScreenContext &m_context;
    printing::PrintContext &m_printContext;
    headcollection::Opening m_opening;
    std::optional<data::MemberCard> m_member;
    headcollection::HeadAmounts m_balances{};
    Money m_paymentTotal;

    xtext *m_kod, *m_tarih;
    QLabel *m_no, *m_isim1, *m_isim2, *m_balanceTotal, *m_total;
    std::array<QLabel *, 5> m_balanceShown{}, m_balanceCaption{}, m_amountCaption{};
    std::array<xtext *, 5> m_amount{};
    QPushButton *m_tamam, *m_iptal, *m_vazgec;
};
