#include "surcharge/engine.h"

#include <QSet>

#include <algorithm>

namespace surcharge {

namespace {

// The two figures the office has always worked out in double precision and
// then held as money. Everything else in a statement is exact money
// arithmetic.
namespace inDouble {

// Kalan of an item row.
Money balance(Money devir, Money faiz, Money borc, Money odeme) {
    // Out of range stays so: its double would read as a figure.
    if (devir.outOfRange() || faiz.outOfRange() || borc.outOfRange() || odeme.outOfRange())
        return Money::outOfRangeValue();
    const double value = devir.toDouble() + faiz.toDouble() + borc.toDouble() - odeme.toDouble();
    return Money::fromDouble(value).value_or(devir + faiz + borc - odeme);
}

// months × (principal × rate ÷ 100), rounded like every surcharge. The rate
// lives in a Single field, so it is taken at that precision whatever the
// caller widened it to.
Money surcharge(int months, Money principal, double faiz, int tlonda) {
    if (principal.outOfRange())
        return principal;
    const double rate = static_cast<double>(static_cast<float>(faiz));
    return roundMoney(static_cast<double>(months) * (principal.toDouble() * (rate / 100.0)),
                      tlonda);
}

} // namespace inDouble

} // namespace

int monthIndex(const QDate &date) {
    int year = 0, month = 0;
    date.getDate(&year, &month, nullptr);
    return year * 12 + month;
}

bool Statement::outOfRange() const {
    const auto out = [](const std::optional<Money> &m) { return m && m->outOfRange(); };
    if (finalBalance.outOfRange() || totalSurcharge.outOfRange() || totalDebt.outOfRange() ||
        totalPaid.outOfRange())
        return true;
    for (const StatementRow &r : rows)
        if (out(r.devir) || out(r.faiz) || out(r.borc) || out(r.odeme) || out(r.kalan) ||
            out(r.openPrincipal) || out(r.surchargeCleared))
            return true;
    return false;
}

std::optional<Statement> compute(const std::vector<LedgerItem> &items, const Params &params) {
    if (!params.baseDate.isValid())
        return std::nullopt;

    Statement out;
    out.rows.reserve(items.size() + 1);

    Money principal; // interest-bearing part of the balance
    Money carried;   // surcharge charged and not yet paid
    bool anyItem = false;
    Money lastKalan;
    QDate lastVade;
    int lastMonth = 0; // month index of lastVade

    // The surcharge for the span from the last item row to `end`, charged at
    // the row that ends it; nothing when the span bears none.
    auto spanSurcharge = [&](const QDate &end) -> std::optional<Money> {
        if (!anyItem || params.asd >= 2 || principal <= Money())
            return std::nullopt;
        // An item without a due date starts no span: its months are unknown.
        if (!lastVade.isValid())
            return std::nullopt;
        const int months = monthIndex(end) - lastMonth;
        if (months <= 0)
            return std::nullopt;
        return inDouble::surcharge(months, principal, params.faiz, params.tlonda);
    };

    // The query's own filter: entered on or before the base date (an item
    // with no entry date fails that comparison in the database as well).
    const auto entered = [&](const LedgerItem &item) {
        return item.tarih.isValid() && item.tarih <= params.baseDate;
    };
    // Collections voided by the base date: the payment and its reversal are
    // shown, but the surcharge runs as if neither had been made. A reversal
    // counts only beside the collection it names; any other debit is a debt.
    const auto collection = [](const LedgerItem &item) {
        return item.ba != ledger::Debit && item.islem == ledger::Collection && !item.link.isEmpty();
    };
    QSet<QString> reversed, collected;
    for (const LedgerItem &item : items) {
        if (!entered(item))
            continue;
        if (ledger::isReversal(item))
            reversed.insert(item.link);
        else if (collection(item))
            collected.insert(item.link);
    }

    for (const LedgerItem &item : items) {
        if (!entered(item))
            continue;
        const bool reversal = ledger::isReversal(item) && collected.contains(item.link);
        const bool voided = collection(item) && reversed.contains(item.link);

        StatementRow row;
        row.ack = item.ack;
        row.vade = item.vade;
        Money faiz;
        Money borc;
        Money odeme;
        if (reversal) {
            // Taken back off what was paid, so the paid total is as before.
            odeme = -item.tutar;
        } else if (item.ba == 0) {
            if (item.islem == ledger::PostedSurcharge)
                faiz = item.tutar;
            else
                borc = item.tutar;
        } else {
            odeme = item.tutar;
            if (item.islem == ledger::Collection)
                row.evrak = item.evrak;
        }

        if (reversal || voided) {
            // Moves the balance shown and nothing else: no span ends or
            // starts here, the principal and the carried surcharge stay.
            const Money devir = lastKalan;
            row.devir = devir;
            row.faiz = Money();
            row.borc = Money();
            row.odeme = odeme;
            row.kalan = inDouble::balance(devir, Money(), Money(), odeme);
            row.openPrincipal = principal;
            lastKalan = *row.kalan;
            out.totalPaid += odeme;
            anyItem = true;
            out.rows.push_back(std::move(row));
            continue;
        }

        // The span that ends here replaces the cell, a posted surcharge's
        // amount included.
        if (const std::optional<Money> s =
                spanSurcharge(item.vade.isValid() ? item.vade : params.baseDate))
            faiz = *s;

        const Money devir = lastKalan;
        const Money kalan = inDouble::balance(devir, faiz, borc, odeme);
        carried += faiz;
        if (borc > Money())
            principal += borc;
        if (odeme > Money()) {
            // A payment settles the unpaid surcharge first; only the rest
            // lowers the principal, which may go below 0 on an overpayment.
            const Money before = carried;
            if (odeme >= carried) {
                principal -= odeme - carried;
                carried = Money();
            } else {
                carried -= odeme;
            }
            row.surchargeCleared = before - carried;
        }

        row.devir = devir;
        row.faiz = faiz;
        row.borc = borc;
        row.odeme = odeme;
        row.kalan = kalan;
        row.openPrincipal = principal;
        out.rows.push_back(std::move(row));

        out.totalSurcharge += faiz;
        out.totalDebt += borc;
        out.totalPaid += odeme;
        anyItem = true;
        lastKalan = kalan;
        lastVade = item.vade;
        lastMonth = lastVade.isValid() ? monthIndex(lastVade) : 0;
    }

    StatementRow closing;
    closing.ack = QString::fromUtf16(ClosingCaption);
    if (anyItem) {
        closing.devir = lastKalan;
        closing.faiz = spanSurcharge(params.baseDate);
        const Money faiz = closing.faiz.value_or(Money());
        closing.kalan = lastKalan + faiz;
        out.totalSurcharge += faiz;
        out.finalBalance = *closing.kalan;
    }
    out.rows.push_back(closing);
    return out;
}

std::vector<OpenDebt> openDebts(const Statement &st) {
    std::vector<OpenDebt> out;
    // The principal after the last item row; the closing row leaves it empty.
    if (st.rows.size() < 2)
        return out;
    Money open = st.rows[st.rows.size() - 2].openPrincipal.value_or(Money());
    // Only debts raise the principal, so their sum always covers it.
    for (auto r = st.rows.rbegin() + 1; r != st.rows.rend() && open > Money(); ++r) {
        if (!r->borc || *r->borc <= Money())
            continue;
        const Money part = std::min(*r->borc, open);
        out.push_back({r->vade, part});
        open -= part;
    }
    return out;
}

int ageOf(int days) {
    if (days <= 30)
        return 0;
    if (days <= 90)
        return 1;
    if (days <= 180)
        return 2;
    if (days <= 365)
        return 3;
    return 4;
}

Ages ages(const Statement &st, const QDate &baseDate) {
    Ages out{};
    for (const OpenDebt &debt : openDebts(st)) {
        // An undated debt's age is unknown; it counts as just due.
        const int days = debt.vade.isValid() ? int(debt.vade.daysTo(baseDate)) : 0;
        out[size_t(ageOf(days))] += debt.amount;
    }
    return out;
}

Money openOlderThan(const Statement &st, const QDate &baseDate, int months) {
    const QDate limit = baseDate.addMonths(-months);
    Money out;
    for (const OpenDebt &debt : openDebts(st))
        if (debt.vade.isValid() && debt.vade < limit)
            out += debt.amount;
    return out;
}

} // namespace surcharge
