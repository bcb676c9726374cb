#include "cli/headcollect.h"

#include "actions/headcollection/headcollectionaction.h"
#include "core/companyfolder.h"
#include "printing/printcontext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The member of a code as the screen takes it: a code without a card is
// emptied there, so nothing can be collected for it.
std::optional<data::MemberCard> memberOf(Session &session, const QString &kod) {
    auto member = headcollection::member(session, kod);
    if (!member)
        session.messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod);
    return member;
}

// The member of the command line with the heads' balances at its date, as
// the screen shows them; nothing after the message that says why.
struct MemberHeads {
    data::MemberCard member;
    headcollection::Opening opening;
    QDate date;
    headcollection::HeadAmounts balances;
};
std::optional<MemberHeads> memberHeads(Session &session, const cli::Call &call) {
    const auto member = memberOf(session, call.arguments[1]);
    if (!member)
        return std::nullopt;
    MemberHeads m{*member,
                  headcollection::open(session),
                  parseTrDate(call.value(QStringLiteral("date"))),
                  {}};
    const auto balances = headcollection::balances(session, member->kod, m.date);
    if (!balances)
        return std::nullopt;
    m.balances = *balances;
    return m;
}

QString asText(const MemberHeads &heads, int tlonda) {
    const data::MemberCard &m = heads.member;
    const headcollection::HeadAmounts &b = heads.balances;
    QString out = QStringLiteral("Üye Kodu : ") + m.kod + u'\n';
    out += QStringLiteral("Unvan    : ") + m.isim1 + u'\n';
    if (!m.isim2.isEmpty())
        out += QStringLiteral("           ") + m.isim2 + u'\n';
    out += QStringLiteral("Tarih    : ") + formatTrDate(headcollection::baseDate(heads.date)) +
           QStringLiteral(" dahil\n\nBORÇ  DÖKÜMÜ\n");
    const auto line = [&](const QString &caption, Money amount) {
        // A zero shows as 0 here, not as the screen's empty display.
        const QString shown =
            amount.isZero() ? plainAmount(amount, tlonda) : formatAmount(amount, tlonda);
        out += QStringLiteral("%1 %2\n").arg(caption, -20).arg(shown, 20);
    };
    for (size_t i = 0; i < 5; ++i)
        line(heads.opening.captions[i], b[i]);
    line(QStringLiteral("TOPLAM"), headcollection::total(b));
    return out;
}

QString asJson(const MemberHeads &m, int tlonda) {
    QJsonArray heads;
    for (size_t i = 0; i < 5; ++i)
        heads.append(QJsonObject{{"no", int(i) + 1},
                                 {"ack", m.opening.captions[i]},
                                 {"bakiye", plainAmount(m.balances[i], tlonda)}});
    const QJsonObject doc{{"kod", m.member.kod},
                          {"isim1", m.member.isim1},
                          {"isim2", m.member.isim2},
                          {"heads", heads},
                          {"toplam", plainAmount(headcollection::total(m.balances), tlonda)}};
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace

int runHeadBalances(const cli::Call &call) {
    if (!call.isSet(QStringLiteral("date")))
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const auto m = memberHeads(session, call);
    if (!m)
        return cli::ExitFailed;
    cli::printOut(call.value(QStringLiteral("format")) == u"json" ? asJson(*m, session.tlonda)
                                                                  : asText(*m, session.tlonda));
    return cli::ExitOk;
}

int runCollectHeads(const cli::Call &call) {
    if (!call.isSet(QStringLiteral("date")) || !call.isSet(QStringLiteral("amounts")))
        return call.wrongCommandLine();
    Messages &messages = call.messages;
    Session session(messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QString amountText = call.value(QStringLiteral("amounts"));
    const auto amounts =
        cli::headAmounts(amountText, session.tlonda, headcollection::AmountMax, true);
    if (!amounts) {
        messages.warning(
            QStringLiteral("--amounts virgülle ayrılmış beş tutar ister (ör. 50,0,0,25,0): her "
                           "biri 0 ile 9999999999 arasında, en çok ") +
            QString::number(session.tlonda) + QStringLiteral(" ondalık, nokta ile: ") + amountText);
        return cli::ExitFailed;
    }
    if (headcollection::total(*amounts) <= Money()) {
        messages.warning(QStringLiteral("Tahsilat toplamı sıfırdan büyük olmalı."));
        return cli::ExitFailed;
    }
    const auto m = memberHeads(session, call);
    if (!m)
        return cli::ExitFailed;
    headcollection::warnOverCollection(messages, m->opening.captions, m->balances, *amounts);
    const headcollection::Collection c{.kod = m->member.kod,
                                       .name = m->member.isim1,
                                       .date = m->date,
                                       .receiptNo = m->opening.receiptNo,
                                       .captions = m->opening.captions,
                                       .amounts = *amounts};
    if (!headcollection::post(session, c))
        return cli::ExitFailed;
    cli::printOut(QString::number(m->opening.receiptNo) + u'\n');

    const QString pdf = call.value(QStringLiteral("pdf"));
    if (pdf.isEmpty())
        return cli::ExitOk;
    // The collection is stored; a receipt that cannot be written takes
    // nothing back.
    printing::PrintContext context(session);
    context.pdfFile = pdf;
    return headcollection::printReceipt(context, c, headcollection::total(m->balances))
               ? cli::ExitOk
               : cli::ExitReceiptNotPrinted;
}
