#pragma once

#include "core/session.h"

#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <optional>

// A company of `members` cards (codes "00001"...) in a temporary folder,
// opened in a session as start-up opens it. With KOOP_BENCH_PG naming a
// server ("host=H port=P user=U dbname=D") its tables live in two schemas of
// their own there, dropped at the end.
class BenchCompany {
  public:
    explicit BenchCompany(int members);
    ~BenchCompany();
    BenchCompany(const BenchCompany &) = delete;
    BenchCompany &operator=(const BenchCompany &) = delete;
    Session &session() { return *m_session; }
    QString file(const QString &name) const { return m_dir.path() + "/01/" + name; }

  private:
    QTemporaryDir m_dir;
    LogMessages m_messages;
    std::optional<data::ServerAddress> m_server;
    std::unique_ptr<Session> m_session;
};

QString memberCode(int i);

// The yardstick of a posting: `rows` debt rows over `members` members, each
// with its two integration rows unless `integration` is false, as bare
// prepared inserts in one transaction, without references or bucket updates.
// Seconds taken.
double bareDebtRows(Session &s, int rows, int members, bool integration = true);

// The statements' ledger: `items` rows for each of the first `members`
// members, every third a cash collection, five days apart from 1.1.2020.
void fillStatementLedger(Session &s, int members, int items);
// Ends the run when a step of the set-up failed: no figure is worth more than
// the data it was measured on.
void must(bool ok, const char *what);

// The yardstick of a statement run: each member's ledger rows up to `upTo`,
// in the engine's order, with one bare prepared statement per member, every
// value read. Rows read.
qint64 bareLedgerReads(Session &s, int members, const QDate &upTo);

// Seconds taken by `f`.
template <typename F> double seconds(F &&f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
