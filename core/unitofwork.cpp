#include "core/unitofwork.h"

#include <QDir>
#include <algorithm>

namespace {

QString lostServer(const data::Database &db) {
    return QStringLiteral("Veritabanı sunucusuna ulaşılamıyor:\n") + db.filePath() +
           QStringLiteral("\nİşlem yapılmadı.");
}

const QString NothingStored =
    QStringLiteral("Kayıtlar saklanamadı; bu işlemden hiçbir kayıt yazılmadı.");

} // namespace

UnitOfWork::UnitOfWork(Company &company, int databases)
    : m_company(company), m_databases(databases),
      m_cardTotals(company.data, company.carkart, company.messages) {
    if (m_company.writing) {
        // Actions do not nest; the outer one owns the transaction.
        m_company.messages.warning(QStringLiteral("Önceki işlem henüz bitmedi."));
        return;
    }
    for (;;) {
        const bool data = !(m_databases & Data) || m_company.data.beginWrite();
        const bool koop = data && (!(m_databases & Koop) || m_company.koop.beginWrite());
        if (data && koop)
            break;
        if (data && (m_databases & Data))
            m_company.data.rollback();
        data::Database &failed = data ? m_company.koop : m_company.data;
        if (failed.isServer() && !failed.alive()) {
            m_company.messages.warning(lostServer(failed));
            return;
        }
        const data::Failure why = failed.failure();
        if (why != data::Failure::Busy && why != data::Failure::None) {
            m_company.messages.warning(data::failureText(why) + u'\n' + failed.filePath() +
                                       QStringLiteral("\nİşlem yapılmadı."));
            return;
        }
        // Another desk writes: the clerk decides how long to wait.
        if (!m_company.messages.retry(
                QStringLiteral("Şirket dosyaları şu an başka bir masada kullanılıyor.\n"
                               "Biraz bekleyip tekrar denemek için \"Tekrar Dene\"; işlemi "
                               "yapmamak için \"Vazgeç\".")))
            return;
    }
    m_active = true;
    m_company.writing = true;
    m_today = m_company.today();
}

UnitOfWork::~UnitOfWork() {
    if (m_active)
        rollback();
}

QString UnitOfWork::reference(int firstCharacter) {
    // Under the write lock nobody else moves the counters, so they are read
    // once and stored once, at commit.
    if (!m_counters) {
        // Counters another program may move meanwhile would give codes
        // twice: without their lock the action does not go on.
        if (!data::lockCounters(m_company.genel, m_company.messages))
            m_countersUnsafe = true;
        m_counters = data::Counters::load(m_company.genel);
    }
    m_counters->advance();
    m_company.lastReference = m_counters->code(firstCharacter, m_today);
    return m_company.lastReference;
}

bool UnitOfWork::addToBucket(const QString &kod, bool debit, Money amount, bool *overflow) {
    *overflow = false;
    if (!m_active || !(m_databases & Data))
        return data::updateBalanceBucket(m_company.carkart, kod, 0, Money(), Money(),
                                         debit ? QStringLiteral("B") : QStringLiteral("A"), amount,
                                         overflow);
    return m_cardTotals.add(kod, debit, amount, overflow);
}

void UnitOfWork::addToDayTotal(const QString &dayFile, const QDate &date, Money amount,
                               const QString &refer) {
    auto found = std::find_if(m_dayTotals.begin(), m_dayTotals.end(),
                              [&](const auto &j) { return j->dayFile() == dayFile; });
    if (found == m_dayTotals.end()) {
        m_dayTotals.push_back(std::make_unique<cashbox::DayTotalJournal>(dayFile));
        found = m_dayTotals.end() - 1;
    }
    (*found)->add(date, amount.toDouble(), refer);
}

bool UnitOfWork::prepareDayTotals() {
    const cashbox::Stored stored = [this](const QString &refer) {
        return collectionStored(m_company, refer);
    };
    for (const auto &journal : m_dayTotals) {
        QString error;
        if (!journal->prepare(stored, &error)) {
            dropDayTotals();
            rollback();
            m_company.messages.warning(QStringLiteral("Kasa gün toplamı yazılamıyor:\n") + error +
                                       u'\n' + NothingStored);
            return false;
        }
    }
    return true;
}

void UnitOfWork::dropDayTotals() {
    for (const auto &journal : m_dayTotals)
        journal->drop();
    m_dayTotals.clear();
}

data::Failure UnitOfWork::failure() const {
    if ((m_databases & Data) && m_company.data.actionOver())
        return m_company.data.failure();
    if ((m_databases & Koop) && m_company.koop.actionOver())
        return m_company.koop.failure();
    return data::Failure::None;
}

bool UnitOfWork::over() const {
    // An action that is over always has its failure named.
    return failure() != data::Failure::None;
}

void UnitOfWork::fail() {
    const bool told = over();
    rollback();
    // An action that a failure ended has said why in its rollback.
    if (!told)
        m_company.messages.warning(NothingStored);
}

bool UnitOfWork::commit() {
    if (!m_active)
        return false;
    // A server that went away has already dropped the action; say so once
    // rather than once for every counter.
    if ((m_databases & Data) && m_company.data.isServer() && !m_company.data.actionOver() &&
        !m_company.data.alive()) {
        fail();
        return false;
    }
    // Codes whose counters were not stored would be drawn again.
    if (m_countersUnsafe ||
        (m_counters && !over() && !m_counters->store(m_company.genel, m_company.messages)) ||
        over()) {
        fail();
        return false;
    }
    if (!prepareDayTotals())
        return false;
    const bool data = !(m_databases & Data) || m_company.data.commit();
    if (!data) {
        dropDayTotals();
        fail();
        return false;
    }
    const bool koop = !(m_databases & Koop) || m_company.koop.commit();
    if (!koop) {
        // Beside stored data, what the settings held is the caller's to tell
        // (settingsStored()); alone, nothing of the action is stored.
        const data::Failure why =
            m_company.koop.actionOver() ? m_company.koop.failure() : data::Failure::DiskError;
        m_company.koop.rollback();
        m_settingsFailure = why;
        if (!(m_databases & Data))
            m_company.messages.warning(data::failureText(why) + u'\n' + NothingStored);
    }
    m_settingsStored = koop;
    m_active = false;
    m_company.writing = false;
    for (const auto &journal : m_dayTotals) {
        QString error;
        if (!journal->apply(&error)) {
            m_dayTotalsPending = true;
            m_company.messages.warning(QStringLiteral("Kasa gün toplamı yazılamadı:\n") + error +
                                       QStringLiteral("\nKayıtlar saklandı; gün toplamı şirket "
                                                      "yeniden açıldığında düzeltilir."));
        }
    }
    m_dayTotals.clear();
    return koop || (m_databases & Data) != 0;
}

void UnitOfWork::rollback() {
    if (!m_active)
        return;
    // A failure that ended the action reaches the clerk once, whoever ends it.
    const data::Failure why = failure();
    if (m_databases & Data)
        m_company.data.rollback();
    if (m_databases & Koop)
        m_company.koop.rollback();
    m_active = false;
    m_company.writing = false;
    m_counters.reset();
    m_countersUnsafe = false;
    m_cardTotals.clear();
    dropDayTotals();
    if (why == data::Failure::Busy)
        m_company.messages.markBusy();
    if (why != data::Failure::None)
        m_company.messages.warning(data::failureText(why) + u'\n' + NothingStored);
}

std::optional<bool> collectionStored(Company &company, const QString &refer) {
    data::QueryCursor q;
    if (!data::QdOpen(company.data, q, QStringLiteral("SELECT count(*) FROM kasa WHERE refer = ?"),
                      {refer}))
        return std::nullopt;
    const bool stored = q.number(0) > 0;
    q.finish();
    return stored;
}

bool settleDayTotals(Company &company) {
    const QDir folder(company.companyFile(QString()));
    for (const QString &name :
         folder.entryList({QStringLiteral("kasa*.dat.bekleyen")}, QDir::Files)) {
        const QString dayFile = folder.filePath(name.chopped(int(qstrlen(".bekleyen"))));
        int settled = 0;
        QString error;
        if (!cashbox::settleJournal(
                dayFile, [&](const QString &refer) { return collectionStored(company, refer); },
                &settled, &error)) {
            company.messages.warning(QStringLiteral("Kasa gün toplamı düzeltilemedi:\n") + error);
            return false;
        }
    }
    return true;
}

QString drawReference(Company &company, int firstCharacter) {
    UnitOfWork work(company, UnitOfWork::Data);
    if (!work.active())
        return QString();
    const QString code = work.reference(firstCharacter);
    // A code whose counters were not stored would be drawn again.
    return work.commit() ? code : QString();
}
