#pragma once

#include "startup/session.h"

#include <QTemporaryDir>
#include <chrono>
#include <memory>

// A company of `members` cards (codes "00001"...) in a temporary folder,
// opened in a session as start-up opens it.
class BenchCompany {
  public:
    explicit BenchCompany(int members);
    Session &session() { return *m_session; }
    QString file(const QString &name) const { return m_dir.path() + "/01/" + name; }

  private:
    QTemporaryDir m_dir;
    LogMessages m_messages;
    std::unique_ptr<Session> m_session;
};

QString memberCode(int i);

// Seconds taken by `f`.
template <typename F> double seconds(F &&f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
