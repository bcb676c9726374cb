#pragma once

#include "core/company.h"

#include <QDate>
#include <array>
#include <functional>
#include <optional>

// The same dues for a range of members over a run of months of one year: one
// debt per member, month and dues head with an amount, and, where the head
// and the member both have an account code, its two rows for the
// accounting suite. A run repeated assigns every debt again; the screen and
// the command line ask first (alreadyPosted).
namespace bulkdebt {

using HeadAmounts = std::array<Money, 5>;
// The largest amount a head's field takes: one entry's limit, so that the
// ledger can still add the debts up.
constexpr double AmountMax = 9999999999.99;

struct Opening {
    std::array<QString, 5> captions; // the heads' captions, "Tutar1"... without settings
    QString firstCode, lastCode;     // the lowest and highest code on the card table
    int year = 0;
};
// Reads the settings row (without one says "Ayarlar Yapılmamış...") and the
// card table's first and last codes.
Opening open(Company &company);

struct Request {
    QString year; // as typed
    int firstMonth = 1, lastMonth = 12;
    QString firstCode, lastCode;
    HeadAmounts amounts;
};

// The member and month about to be posted, the `done`th of `count`.
struct Progress {
    QString kod, isim1;
    QDate month;
    int done = 0, count = 0;
};
using ProgressFn = std::function<void(const Progress &)>;
// "kod - isim1 - Ocak Dönemi..", as the screen shows where the run is.
QString progressText(const Progress &p);

struct Result {
    int debts = 0;           // ledger rows stored
    int integrationRows = 0; // rows for the accounting suite
};

// "Kod aralığındaki N üyede bu borçlar zaten var (Mart 2024 Aidat).", when
// members of the codes already have debts described as this run would
// describe them; nothing otherwise (or when the request is refused anyway).
std::optional<QString> alreadyPosted(Company &company, const Request &request);

// Checks the request (amounts, months, codes, settings, year, in that order,
// each refusal after its message), then posts in one action: the members of
// kind 0 within the codes, in code order, each month, each head above 0.
// Nothing after the message that stopped it; a failed commit stores nothing.
std::optional<Result> run(Company &company, const Request &request,
                          const ProgressFn &progress = {});

} // namespace bulkdebt
