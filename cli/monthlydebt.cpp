#include "cli/monthlydebt.h"

#include "actions/monthlydebt/voucherprint.h"
#include "base/daynumber.h"
#include "core/companyfolder.h"
#include "printing/prnx.h"

namespace {

using monthlydebt::Member;

// The company's member grid of --group, or of every group, as the screen
// loads it; the opening it was read with goes to `opening`, and, when asked
// for, the date of --date to `date` ("Hatalı Tarih.." for one that is no
// date). A group no member has is refused.
std::optional<std::vector<Member>> loadGroup(const cli::Call &call, Session &session,
                                             monthlydebt::Opening *opening, QDate *date = nullptr) {
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return std::nullopt;
    if (date) {
        *date = parseTrDate(call.value(QStringLiteral("date")));
        if (!date->isValid()) {
            call.messages.warning(QStringLiteral("Hatalı Tarih.."));
            return std::nullopt;
        }
    }
    *opening = monthlydebt::open(session);
    const QString group = call.value(QStringLiteral("group"));
    if (call.isSet(QStringLiteral("group")) && !opening->groups.contains(group)) {
        call.messages.warning(QStringLiteral("Bu grupta üye yok: ") + group);
        return std::nullopt;
    }
    return monthlydebt::load(session, group);
}

} // namespace

bool isRowNumber(const QString &value) {
    return cli::wholeNumber(value, 1, 0x7fffffff).has_value();
}

bool isVoucherNumber(const QString &value) {
    return cli::wholeNumber(value, 0, monthlydebt::VoucherNoMax).has_value();
}

int runPrices(const cli::Call &call) {
    Session session(call.messages);
    monthlydebt::Opening opening;
    const auto members = loadGroup(call, session, &opening);
    if (!members)
        return cli::ExitFailed;
    const QString format = call.value(QStringLiteral("format"));
    const int tl = session.tlonda;
    cli::printOut(format == u"csv"    ? monthlydebt::asCsv(*members, tl)
                  : format == u"json" ? monthlydebt::asJson(*members, tl)
                                      : monthlydebt::asText(*members, opening.captions, tl));
    return cli::ExitOk;
}

int runSetPrices(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    monthlydebt::HeadPrices prices{};
    const Money most = Money::fromDouble(monthlydebt::PriceMax).value_or(Money());
    for (size_t head = 0; head < prices.size(); ++head) {
        const QString text = call.arguments[qsizetype(head) + 2].trimmed();
        const auto price = parseTypedAmount(text, session.tlonda);
        if (!price || *price > most || -*price > most) {
            call.messages.warning(
                QStringLiteral("Fiyat %1 ile %2 arasında bir sayı olmalı "
                               "(en çok %3 ondalık, nokta ile): ")
                    .arg(QStringLiteral("-999999999"), QStringLiteral("999999999"))
                    .arg(session.tlonda) +
                text);
            return cli::ExitFailed;
        }
        prices[head] = *price;
    }
    const QString kod = call.arguments[1];
    if (kod.isEmpty()) {
        call.messages.warning(QStringLiteral("Üye kodu boş olamaz."));
        return cli::ExitFailed;
    }
    return monthlydebt::savePrices(session, kod, prices) ? cli::ExitOk : cli::ExitFailed;
}

int runMonthlyDebt(const cli::Call &call) {
    if (!call.isSet(QStringLiteral("date")))
        return call.wrongCommandLine();
    Session session(call.messages);
    monthlydebt::Opening opening;
    QDate date;
    const auto members = loadGroup(call, session, &opening, &date);
    if (!members)
        return cli::ExitFailed;
    if (!call.mayRepeat(monthlydebt::alreadyPosted(session, date, *members, opening.captions)))
        return cli::ExitFailed;
    const auto posted = monthlydebt::post(session, date, *members, opening.captions);
    if (!posted)
        return cli::ExitFailed;
    cli::printOut(QStringLiteral("%1\n").arg(*posted));
    return cli::ExitOk;
}

int runVouchers(const cli::Call &call) {
    const bool single = call.isSet(QStringLiteral("row"));
    const bool from = call.isSet(QStringLiteral("from-row"));
    if (!call.isSet(QStringLiteral("date")) || !call.isSet(QStringLiteral("out")) ||
        (single && from))
        return call.wrongCommandLine();
    Session session(call.messages);
    monthlydebt::Opening opening;
    QDate date;
    const auto members = loadGroup(call, session, &opening, &date);
    if (!members)
        return cli::ExitFailed;

    const int count = int(members->size());
    const monthlydebt::Rows rows =
        single ? monthlydebt::rowsOf(monthlydebt::Range::Current,
                                     call.value(QStringLiteral("row")).toInt() - 1, count)
        : from ? monthlydebt::rowsOf(monthlydebt::Range::FromCurrent,
                                     call.value(QStringLiteral("from-row")).toInt() - 1, count)
               : monthlydebt::rowsOf(monthlydebt::Range::All, 0, count);
    printing::PrintContext context(session);
    monthlydebt::presetPrinter(context.settings);
    context.printTo(call.value(QStringLiteral("mode")) != u"1", call.value(QStringLiteral("out")));
    const monthlydebt::VoucherRun run{
        context.settings.title,
        date,
        call.isSet(QStringLiteral("period")) ? call.value(QStringLiteral("period"))
                                             : monthlydebt::periodOf(date),
        call.isSet(QStringLiteral("no")) ? call.value(QStringLiteral("no")).toInt() : opening.fisno,
        monthlydebt::cooperativeName(session),
        opening.captions,
        session.tlonda,
        session.tlnick,
        session.krnick};
    prnx printer(context);
    const auto printed = monthlydebt::printVouchers(printer, *members, rows, run);
    if (!printed)
        return cli::ExitFailed;
    cli::printOut(QStringLiteral("%1\n").arg(*printed));
    return cli::ExitOk;
}
