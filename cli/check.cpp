#include "cli/check.h"

#include "base/daynumber.h"
#include "core/companyfolder.h"
#include "core/unitofwork.h"
#include "data/cashbox.h"
#include "data/koopdata.h"
#include "data/receiptvoids.h"

#include <QDir>
#include <algorithm>
#include <map>
#include <set>

namespace {

QString amount(Money m) {
    return plainAmount(m, 2);
}

// The cash desk's collections and their voids: a cash row sharing its
// reference with a ledger collection that names no dues head (one by dues
// head names its head and has references of its own), or with a void's
// reversal of one.
const QString DeskCollections =
    QStringLiteral("JOIN (SELECT DISTINCT refer FROM carhar WHERE islem = 1 AND kod1 = '') d ON "
                   "d.refer = k.refer");
// The receipts the desk issued: its collections without their voids.
const QString DeskReceipts =
    QStringLiteral("JOIN (SELECT DISTINCT refer FROM carhar WHERE islem = 1 AND ba = 1 AND "
                   "kod1 = '') d ON d.refer = k.refer");

struct Check {
    Session &s;
    bool repair;
    QStringList findings, mended;

    // Every row of a query, or a finding when it cannot be read.
    bool scan(data::Database &db, const QString &sql,
              const std::function<void(const data::QueryCursor &)> &row,
              const QVariantList &binds = {}) {
        data::QueryCursor q;
        if (!data::QdOpen(db, q, sql, binds)) {
            findings << db.filePath() + QStringLiteral(": okunamıyor: ") + db.lastError();
            return false;
        }
        for (; !q.eof(); q.moveNext())
            row(q);
        q.finish();
        return true;
    }

    void integrity(data::Database &db) {
        // A server keeps its own pages; it has no such check to ask.
        if (db.isServer())
            return;
        scan(db, QStringLiteral("PRAGMA integrity_check"), [&](const data::QueryCursor &q) {
            if (q.text(0) != u"ok")
                findings << db.filePath() + QStringLiteral(": bozuk: ") + q.text(0);
        });
    }

    // Bucket 0 of a card is what its ledger says: every debit but a void's
    // reversal, and every credit but the cash collections, which never move
    // it.
    void buckets() {
        struct Wrong {
            qint64 id;
            Money debit, credit;
        };
        std::vector<Wrong> wrong;
        QStringList found;
        std::map<QString, std::pair<Money, Money>> ledger;
        scan(s.data,
             QStringLiteral("SELECT kod, sum(CASE WHEN ba = 0 AND NOT (islem = 1 AND "
                            "coalesce(krefer, '') <> '') THEN tutar ELSE 0 END), sum(CASE "
                            "WHEN ba = 1 AND islem <> 1 THEN tutar ELSE 0 END) FROM carhar GROUP "
                            "BY kod"),
             [&](const data::QueryCursor &q) {
                 ledger[q.text(0)] = {q.money(1), q.money(2)};
             });
        scan(s.data,
             QStringLiteral("SELECT id, kod, coalesce(borc1, 0), coalesce(alacak1, 0) FROM carkart "
                            "ORDER BY kod, id"),
             [&](const data::QueryCursor &q) {
                 const Money borc = q.money(2), alacak = q.money(3);
                 const auto [debit, credit] = ledger[q.text(1)];
                 if (borc == debit && alacak == credit)
                     return;
                 found << q.text(1) +
                              QStringLiteral(": kart toplamları borç %1 alacak %2, "
                                             "hareketlerde borç %3 alacak %4")
                                  .arg(amount(borc), amount(alacak), amount(debit), amount(credit));
                 wrong.push_back({q.number(0), debit, credit});
             });
        if (!repair || wrong.empty()) {
            findings << found;
            return;
        }
        UnitOfWork work(s, UnitOfWork::Data);
        bool ok = work.active();
        for (const Wrong &w : wrong) {
            data::QueryCursor q;
            ok =
                ok && data::QdOpen(s.data, q,
                                   QStringLiteral("UPDATE carkart SET borc1 = ?, alacak1 = ? "
                                                  "WHERE id = ?"),
                                   {qlonglong(w.debit.units()), qlonglong(w.credit.units()), w.id});
        }
        if (ok && work.commit())
            mended << QStringLiteral("%1 kartın toplamları hareketlerinden yeniden yazıldı.")
                          .arg(wrong.size());
        else
            findings << found;
    }

    // The day files: a journal left behind, and each day against the cash
    // desk's collections of that day (every year's, as the file keeps them).
    void dayTotals() {
        const QDir folder(s.companyFile(QString()));
        QStringList files = folder.entryList({QStringLiteral("kasa*.dat")}, QDir::Files);
        for (const QString &name :
             folder.entryList({QStringLiteral("kasa*.dat.bekleyen")}, QDir::Files))
            if (!files.contains(name.chopped(int(qstrlen(".bekleyen")))))
                files << name.chopped(int(qstrlen(".bekleyen")));
        for (const QString &name : files) {
            const QString file = folder.filePath(name);
            if (QFile::exists(cashbox::journalFile(file))) {
                if (!repair) {
                    findings << name + QStringLiteral(": yarım kalmış bir gün toplamı var "
                                                      "(--repair düzeltir)");
                } else {
                    int settled = 0;
                    QString error;
                    if (!cashbox::settleJournal(
                            file, [&](const QString &refer) { return collectionStored(s, refer); },
                            &settled, &error))
                        findings << error;
                    else if (settled > 0)
                        mended << name + QStringLiteral(": yarım kalmış %1 gün toplamı "
                                                        "değişikliği tamamlandı.")
                                             .arg(settled);
                    if (QFile::exists(cashbox::journalFile(file)))
                        findings << name + QStringLiteral(": yarım kalmış bir gün toplamının "
                                                          "tahsilatı okunamıyor");
                }
            }
            bool ok = false;
            const int box = name.mid(4, name.size() - 8).toInt(&ok);
            if (!ok)
                continue;
            std::map<int, Money> desk; // day record -> collections
            scan(s.data,
                 QStringLiteral("SELECT k.tarih, k.tutar FROM kasa k ") + DeskCollections +
                     QStringLiteral(" WHERE k.kasa = ? AND k.ba = 0"),
                 [&](const data::QueryCursor &q) {
                     if (q.date(0).isValid())
                         desk[cashbox::dayRecord(q.date(0))] += q.money(1);
                 },
                 {box});
            for (const auto &[record, sum] : desk) {
                const int month = (record - 3) / 31 + 1, day = (record - 3) % 31 + 1;
                const QDate date(2000, month, day);
                const auto stored = Money::fromDouble(cashbox::dayTotal(file, date));
                if (stored && roundMoney(*stored, 2) == roundMoney(sum, 2))
                    continue;
                findings << name + QStringLiteral(" %1: gün toplamı %2, kasa tahsilatlarında %3")
                                       .arg(date.toString(QStringLiteral("dd.MM")),
                                            stored ? amount(*stored) : QStringLiteral("?"),
                                            amount(sum));
            }
        }
    }

    // Every number from the first receipt issued to the last is a receipt
    // or recorded as never to be issued.
    void gaps(const std::set<qint64> &issued) {
        std::vector<data::UnusedReceipts> unused;
        if (issued.empty() || !data::readUnusedReceipts(s.koop, &unused))
            return;
        const auto explained = [&](qint64 n) {
            return std::any_of(unused.begin(), unused.end(), [n](const data::UnusedReceipts &u) {
                return n >= u.first && n <= u.last;
            });
        };
        QStringList ranges;
        qint64 from = 0;
        for (qint64 n = *issued.begin(); n <= *issued.rbegin() + 1; ++n) {
            const bool gap = n <= *issued.rbegin() && !issued.count(n) && !explained(n);
            if (gap && from == 0)
                from = n;
            if (!gap && from != 0) {
                ranges << (from == n - 1 ? QString::number(from)
                                         : QStringLiteral("%1-%2").arg(from).arg(n - 1));
                from = 0;
            }
        }
        constexpr qsizetype Shown = 20;
        for (qsizetype i = 0; i < std::min(ranges.size(), Shown); ++i)
            findings << QStringLiteral("Makbuz %1 verilmemiş; nedeni kayıtlı değil").arg(ranges[i]);
        if (ranges.size() > Shown)
            findings << QStringLiteral("… ve %1 aralık daha").arg(ranges.size() - Shown);
    }

    // Every void in the ledger is in the list of voids (the list commits
    // second).
    void voids() {
        std::vector<data::VoidedReceipt> listed;
        if (!data::readVoidedReceipts(s.koop, {}, {}, &listed)) {
            findings << QStringLiteral("İptal edilen makbuzlar okunamıyor: ") + s.koop.lastError();
            return;
        }
        std::set<QString> refers;
        for (const data::VoidedReceipt &v : listed)
            refers.insert(v.voidRefer);
        scan(s.data,
             QStringLiteral("SELECT evrak, refer FROM kasa WHERE ba = 0 AND tutar < 0 ORDER BY id"),
             [&](const data::QueryCursor &q) {
                 if (!refers.count(q.text(1)))
                     findings << QStringLiteral("Makbuz %1 iptal edilmiş (%2), iptal edilen "
                                                "makbuzlar listesinde yok")
                                     .arg(q.text(0), q.text(1));
             });
    }

    // The counters, codes drawn twice, receipt numbers issued twice or
    // beyond the counter.
    void numbers() {
        for (int i = 1; i <= 5; ++i) {
            const qint32 v = data::namedNumber(s.genel, QStringLiteral("sayac%1").arg(i));
            if (v != 0 && (v < 65 || v > 90))
                findings << QStringLiteral("sayac%1: %2, 65 ile 90 arasında olmalı").arg(i).arg(v);
        }
        scan(s.data,
             QStringLiteral("SELECT refer, count(*) FROM carhar WHERE islem = 4 AND refer <> '' "
                            "GROUP BY refer HAVING count(*) > 1"),
             [&](const data::QueryCursor &q) {
                 findings << QStringLiteral("Referans %1 %2 borç satırında")
                                 .arg(q.text(0))
                                 .arg(q.number(1));
             });
        const QString receipts = QStringLiteral("FROM kasa k ") + DeskReceipts;
        scan(s.data,
             QStringLiteral("SELECT k.evrak, count(*) ") + receipts +
                 QStringLiteral(" GROUP BY k.evrak HAVING count(*) > 1"),
             [&](const data::QueryCursor &q) {
                 findings
                     << QStringLiteral("Makbuz %1 %2 kez verilmiş").arg(q.text(0)).arg(q.number(1));
             });
        qint64 last = 0;
        std::set<qint64> issued;
        scan(s.data, QStringLiteral("SELECT k.evrak ") + receipts, [&](const data::QueryCursor &q) {
            bool ok = false;
            const qint64 n = q.text(0).toLongLong(&ok);
            if (ok && n > 0) {
                last = std::max(last, n);
                issued.insert(n);
            }
        });
        gaps(issued);
        voids();
        const auto settings = data::readSettings(s.ayar);
        if (!settings)
            return;
        const qint32 counter = data::lastReceiptNumber(*settings, s.genel);
        if (last <= counter || last > std::numeric_limits<qint32>::max())
            return;
        if (!repair) {
            findings << QStringLiteral("Fiş No %1, verilmiş son makbuz %2 (--repair düzeltir)")
                            .arg(counter)
                            .arg(last);
            return;
        }
        UnitOfWork work(s);
        if (work.active() &&
            data::setNamedValue(s.genel, s.messages, data::receiptCounterName(), QString(), false,
                                qint32(last)) &&
            data::storeReceiptNumber(s.ayar, qint32(last)) && work.commit() &&
            work.settingsStored())
            mended << QStringLiteral("Fiş No %1 yapıldı.").arg(last);
        else
            findings << QStringLiteral("Fiş No düzeltilemedi.");
    }
};

} // namespace

int runCheck(const cli::Call &call) {
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    Check check{session, call.isSet(QStringLiteral("repair")), {}, {}};
    check.integrity(session.data);
    check.integrity(session.koop);
    check.buckets();
    check.dayTotals();
    check.numbers();
    QString out;
    for (const QString &line : check.mended)
        out += QStringLiteral("Düzeltildi: ") + line + u'\n';
    for (const QString &line : check.findings)
        out += line + u'\n';
    if (check.findings.isEmpty())
        out += QStringLiteral("Sorun yok.\n");
    cli::printOut(out);
    return check.findings.isEmpty() ? cli::ExitOk : cli::ExitFailed;
}
