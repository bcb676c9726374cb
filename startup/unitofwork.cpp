#include "startup/unitofwork.h"

namespace {

QString lostServer(const data::Database &db) {
    return QStringLiteral("Veritabanı sunucusuna ulaşılamıyor:\n") + db.filePath() +
           QStringLiteral("\nİşlem yapılmadı.");
}

} // namespace

UnitOfWork::UnitOfWork(Session &session, int databases)
    : m_session(session), m_databases(databases) {
    if (m_session.work) {
        // Actions do not nest; the outer one owns the transaction.
        m_session.messages.warning(QStringLiteral("Önceki işlem henüz bitmedi."));
        return;
    }
    const bool data = !(m_databases & Data) || m_session.data.beginWrite();
    const bool koop = data && (!(m_databases & Koop) || m_session.koop.beginWrite());
    if (!data || !koop) {
        if (data && (m_databases & Data))
            m_session.data.rollback();
        data::Database &failed = data ? m_session.koop : m_session.data;
        if (failed.isServer() && !failed.alive()) {
            m_session.messages.warning(lostServer(failed));
            return;
        }
        m_session.messages.warning(
            QStringLiteral("Şirket dosyaları şu an başka bir masada kullanılıyor.\n"
                           "Lütfen biraz sonra tekrar deneyin."));
        return;
    }
    m_active = true;
    m_session.work = this;
    m_today = m_session.today();
}

UnitOfWork::~UnitOfWork() {
    if (m_active)
        rollback();
}

QString UnitOfWork::reference(int firstCharacter) {
    // Under the write lock nobody else moves the counters, so they are read
    // once and stored once, at commit.
    if (!m_counters) {
        data::lockCounters(m_session.genel, m_session.messages);
        m_counters = data::Counters::load(m_session.genel);
    }
    m_counters->advance();
    m_session.lastReference = m_counters->code(firstCharacter, m_today);
    return m_session.lastReference;
}

void UnitOfWork::afterCommit(std::function<void()> step) {
    m_afterCommit.push_back(std::move(step));
}

bool UnitOfWork::commit() {
    if (!m_active)
        return false;
    // A server that went away has already dropped the action; say so once
    // rather than once for every counter.
    if ((m_databases & Data) && m_session.data.isServer() && !m_session.data.alive()) {
        rollback();
        m_session.messages.warning(
            QStringLiteral("Kayıtlar saklanamadı; bu işlemden hiçbir kayıt yazılmadı."));
        return false;
    }
    if (m_counters)
        m_counters->store(m_session.genel, m_session.messages);
    const bool data = !(m_databases & Data) || m_session.data.commit();
    if (!data) {
        rollback();
        m_session.messages.warning(
            QStringLiteral("Kayıtlar saklanamadı; bu işlemden hiçbir kayıt yazılmadı."));
        return false;
    }
    if ((m_databases & Koop) && !m_session.koop.commit()) {
        m_session.koop.rollback();
        m_session.messages.warning(QStringLiteral("Program ayarları saklanamadı."));
    }
    m_active = false;
    m_session.work = nullptr;
    for (const auto &step : m_afterCommit)
        step();
    m_afterCommit.clear();
    return true;
}

void UnitOfWork::rollback() {
    if (!m_active)
        return;
    if (m_databases & Data)
        m_session.data.rollback();
    if (m_databases & Koop)
        m_session.koop.rollback();
    m_active = false;
    m_session.work = nullptr;
    m_counters.reset();
    m_afterCommit.clear();
}

QString drawReference(Session &session, int firstCharacter) {
    if (session.work)
        return session.work->reference(firstCharacter);
    UnitOfWork work(session, UnitOfWork::Data);
    if (!work.active())
        return QString();
    const QString code = work.reference(firstCharacter);
    work.commit();
    return code;
}
