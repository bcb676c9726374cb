#include "actions/collection/collectionaction.h"

#include "actions/collection/voidaction.h"
#include "actions/statement/statementaction.h"
#include "base/daynumber.h"
#include "base/inifile.h"
#include "data/koopdata.h"
#include "gui/picture.h"
#include "printing/pageprint.h"

#include <QDir>
#include <QPainter>

namespace collection {

Opening openCollection(Company &s) {
    Opening o;
    o.date = s.today();
    if (const auto settings = data::requireSettings(s.ayar, s.messages)) {
        o.settingsExist = true;
        o.receiptNo = data::lastReceiptNumber(*settings, s.genel) + 1;
    }
    return o;
}

posting::CashCollectionResult collect(Company &s, const Opening &opening, const QString &kod,
                                      const QString &name, Money amount,
                                      const QString &description) {
    posting::CashCollection c;
    c.kod = kod;
    c.name = name;
    c.date = opening.date;
    c.receiptNo = opening.receiptNo;
    c.amount = amount;
    c.description = description;
    c.cashBox = CashBoxNumber;
    c.settingsExist = opening.settingsExist;
    const posting::CashCollectionResult result = posting::postCashCollection(s, c);
    if (result.committed && result.receiptNo != opening.receiptNo)
        s.messages.information(
            QStringLiteral("%1 numaralı makbuz bu arada başka bir masada verildi;\n"
                           "bu tahsilat %2 numaralı makbuzla kaydedildi.")
                .arg(opening.receiptNo)
                .arg(result.receiptNo));
    return result;
}

namespace {

ReceiptValues valuesOf(Company &s, const ShownReceipt &shown,
                       const std::optional<data::MemberCard> &card) {
    ReceiptValues v;
    v.receiptNo = shown.receiptNo;
    v.date = shown.date;
    v.kod = shown.kod;
    v.name = card && !card->isim1.isEmpty() ? card->isim1 : shown.name;
    v.description = shown.description;
    v.amountText = shown.amountText;
    v.amount = shown.amount;
    v.balance = shown.balance;
    v.copy = shown.copy;
    v.tlnick = s.tlnick;
    v.krnick = s.krnick;
    v.tlonda = s.tlonda;
    return v;
}

} // namespace

ReceiptValues receiptValues(Company &s, const ShownReceipt &shown) {
    return valuesOf(s, shown, data::readMember(s.carkart, shown.kod));
}

ReceiptHeader receiptHeader(Company &s) {
    const QString file = s.companyFile(QStringLiteral("korvane.dat"));
    const QString section = QStringLiteral("makbuz");
    ReceiptHeader h;
    h.lines[0] = ini::readValue(section, QStringLiteral("baslik1"),
                                data::cooperativeName(s.genel).trimmed(), file);
    h.lines[1] = ini::readValue(section, QStringLiteral("baslik2"), QString(), file);
    h.lines[2] = ini::readValue(section, QStringLiteral("baslik3"), QString(), file);
    const QString logo = ini::readValue(section, QStringLiteral("logo"), QString(), file).trimmed();
    if (logo.isEmpty()) {
        h.logo = defaultLogo();
    } else {
        const QString path = QDir::isAbsolutePath(toLocalSeparators(logo)) ? toLocalSeparators(logo)
                                                                           : s.imageFile(logo);
        h.logo = loadPicture(path, s.messages).toImage();
    }
    return h;
}

bool printReceipt(printing::PrintContext &context, const ReceiptHeader &h, const ReceiptValues &v) {
    return printing::printPage(context, QStringLiteral("Makbuz"),
                               [&](QPainter &painter) { drawReceiptPage(painter, h, v); });
}

Desk::Desk(Company &s, const QString &kod, const QString &shownName, std::optional<Money> balance)
    : m_company(s), m_kod(kod), m_shownName(shownName), m_opening(openCollection(s)),
      m_card(data::readMember(s.carkart, kod)) {
    // A card that cannot be read is not a card that is missing.
    if (!m_card)
        m_unreadable = data::failureText(s.data.failure());
    if (balance)
        m_balance = *balance;
    else if (m_card)
        m_balance = statement::finalBalance(s, *m_card, m_opening.date);
}

const ReceiptHeader &Desk::header() {
    if (!m_header)
        m_header = receiptHeader(m_company);
    return *m_header;
}

posting::CashCollectionResult Desk::take(Money amount, const QString &description) {
    const QString name = m_shownName.isEmpty() && m_card ? m_card->isim1 : m_shownName;
    const auto result = collect(m_company, m_opening, m_kod, name, amount, description);
    if (result.committed)
        m_taken = {.receiptNo = QString::number(result.receiptNo),
                   .date = formatTrDate(m_opening.date),
                   .kod = m_kod,
                   .name = name,
                   .description = description,
                   .amountText = formatAmount(amount, m_company.tlonda),
                   .amount = amount,
                   .balance = m_balance};
    return result;
}

ReceiptValues Desk::receipt() const {
    return valuesOf(m_company, m_taken, m_card);
}

ReceiptValues Desk::copyOf(const Earlier &e) const {
    ReceiptValues v = valuesOf(m_company,
                               {.receiptNo = e.receiptNo,
                                .date = e.date,
                                .kod = m_kod,
                                .name = m_shownName,
                                .description = e.description,
                                .amountText = formatAmount(e.amount, m_company.tlonda),
                                .amount = e.amount,
                                .balance = m_balance,
                                .copy = true},
                               m_card);
    v.voided = receiptVoided(m_company, e.receiptNo, m_kod, parseTrDate(e.date));
    return v;
}

bool Desk::print(printing::PrintContext &context, const ReceiptValues &values) {
    return printReceipt(context, header(), values);
}

} // namespace collection
