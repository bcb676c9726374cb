// Every writing action whole or not at all when the disk or a lock fails at
// any of its writes, syncs or locks: a VFS under SQLite fails the n-th call,
// for n over the whole run of each action, on a copy of one company.
#include "actions/bulkdebt/bulkdebtaction.h"
#include "actions/collection/collectionaction.h"
#include "actions/headcollection/headcollectionaction.h"
#include "actions/integration/integrationaction.h"
#include "actions/monthlydebt/monthlydebtaction.h"
#include "actions/settings/settingsaction.h"
#include "actions/transfer/transferaction.h"
#include "core/unitofwork.h"
#include "data/cashbox.h"
#include "data/ledger.h"
#include "posting/posting.h"
#include "support/faultvfs.h"
#include "support/fixture.h"

#include <QDir>
#include <sqlite3.h>

namespace {

using namespace Qt::StringLiterals;

constexpr int Cards = 12;
const QDate Today(2026, 3, 15);

QString code(int i) {
    return QString::number(i).rightJustified(4, u'0');
}

// A desk on its own copy of the company.
struct Desk {
    explicit Desk(const QString &from) : company(u"01"_s, false), session(messages) {
        for (const QString &name : QDir(from).entryList(QDir::Files))
            EXPECT_TRUE(QFile::copy(from + u'/' + name, company.file(name)));
        company.writeRegistry(binDir(), company.dataPath());
        session.today = [] { return Today; };
        session.tlonda = 2;
        EXPECT_TRUE(startup::openCompanyFolder(session, company.folder()));
        // A small page cache: long actions then spill to the WAL on the way,
        // where an I/O error used to cut them in two.
        EXPECT_TRUE(session.data.exec(u"PRAGMA cache_size=4"_s));
    }
    TempCompany company;
    RecordingMessages messages;
    Session session;
};

class Faults : public SessionTest {
  protected:
    Faults() {
        faultvfs::install();
        session.tlonda = 2;
        for (int i = 1; i <= Cards; ++i)
            addCard(code(i), u"Üye "_s + code(i), u"120.01."_s + code(i));
        data::Settings settings;
        settings.ack = {u"Aidat"_s, u"Su"_s, u"Yakıt"_s, u"Bakım"_s, u"Diğer"_s};
        settings.muh = {u"600.01"_s, u"600.02"_s, u"600.03"_s, u"600.04"_s, u"600.05"_s};
        settings.fisno = 41;
        settings.faiz = 2;
        EXPECT_TRUE(data::storeSettings(session.ayar, settings));
        for (int i = 1; i <= Cards; ++i)
            EXPECT_TRUE(data::storePrices(
                session.fiat, code(i),
                {Money::fromWhole(100), *Money::parse("20.5"), Money(), Money(), Money()}));
        {
            // January's dues as the program posts them, so the buckets hold
            // what the ledger says.
            UnitOfWork work(session);
            for (int i = 1; i <= Cards; ++i)
                EXPECT_TRUE(posting::PostDebt(work, work.reference(1), false, code(i),
                                              Money::fromWhole(90), u"Ocak Aidat"_s, ledger::Debt,
                                              u"1"_s, QDate(2026, 1, 1)));
            EXPECT_TRUE(work.commit());
        }
        addLedgerItem(code(1), QDate(2026, 2, 3), QDate(2026, 2, 3), 1, ledger::Collection, "60",
                      u"Tahsilat"_s, u"40"_s);
        writeCashBoxCode();
        QFile csv(company.file(u"uyeler.csv"_s));
        EXPECT_TRUE(csv.open(QIODevice::WriteOnly));
        csv.write("kod;isim1\n");
        for (int i = 101; i <= 140; ++i)
            csv.write((code(i) + u";Yeni Üye "_s + code(i) + u'\n').toUtf8());
        csv.close();
        // The template is closed, so its copies hold every row in the files.
        closeFiles(session);
    }

    // Everything an action may touch, as one text to compare.
    static QString state(Desk &d) {
        QStringList out;
        const auto add = [&](const char *file, const char *sql) {
            const QStringList column =
                fileColumn(d.company.file(QString::fromLatin1(file)), QString::fromLatin1(sql));
            out << column.join(u',');
        };
        add("xdata.dat", "SELECT count(*) || ' ' || coalesce(sum(tutar), 0) FROM carhar");
        add("xdata.dat", "SELECT count(*) || ' ' || coalesce(sum(tutar), 0) FROM kasa");
        add("xdata.dat", "SELECT count(*) || ' ' || coalesce(sum(tutar), 0) FROM ent");
        add("xdata.dat",
            "SELECT count(*) || ' ' || sum(borc1) || ' ' || sum(alacak1) FROM carkart");
        add("xdata.dat",
            "SELECT ack || '=' || value FROM genel WHERE ack LIKE 'sayac%' ORDER BY ack");
        add("dalun.dat", "SELECT faiz FROM ayar");
        // The last receipt issued, wherever it is kept; the settings row may
        // lag behind when its file failed after the collection's.
        const int fisno = fileColumn(d.company.file(u"dalun.dat"_s), u"SELECT fisno FROM ayar"_s)
                              .value(0)
                              .toInt();
        const int kept = fileColumn(d.company.file(u"xdata.dat"_s),
                                    u"SELECT value FROM genel WHERE ack = 'makbuzno'"_s)
                             .value(0)
                             .toInt();
        out << QString::number(std::max(fisno, kept));
        add("dalun.dat", "SELECT count(*) || ' ' || coalesce(sum(fiat1), 0) FROM fiat");
        out << QString::number(cashbox::dayTotal(d.company.file(u"kasa1.dat"_s), Today));
        return out.join(u" | "_s);
    }

    // What must hold after any run, stored or not.
    static void expectSound(Desk &d, const std::string &where) {
        for (const char *file : {"xdata.dat", "dalun.dat"})
            EXPECT_EQ(
                fileColumn(d.company.file(QString::fromLatin1(file)), u"PRAGMA integrity_check"_s),
                QStringList{u"ok"_s})
                << where << " " << file;
        // Buckets equal the ledger's debts and credits of every card.
        EXPECT_EQ(fileColumn(d.company.file(u"xdata.dat"_s),
                             u"SELECT count(*) FROM carkart c WHERE borc1 <> (SELECT "
                             "coalesce(sum(tutar), 0) FROM carhar h WHERE h.kod = c.kod AND "
                             "ba = 0)"_s),
                  QStringList{u"0"_s})
            << where;
        // The day total is the day's cash collections, to the cent (those by
        // dues head leave it alone; a collection shares its reference).
        const QStringList cash = fileColumn(
            d.company.file(u"xdata.dat"_s),
            u"SELECT coalesce(sum(tutar), 0) FROM kasa k WHERE tarih = %1 AND EXISTS (SELECT 1 "
            "FROM carhar h WHERE h.refer = k.refer)"_s.arg(dayNumber(Today)));
        EXPECT_EQ(*Money::fromDouble(cashbox::dayTotal(d.company.file(u"kasa1.dat"_s), Today)),
                  Money::fromUnits(cash.value(0).toLongLong()))
            << where;
    }

    QString folder() const { return company.folder(); }
    static QStringList texts(const Desk &d) {
        QStringList out;
        for (const auto &b : d.messages.boxes)
            out << b.text;
        return out;
    }
};

struct Action {
    const char *name;
    std::function<bool(Session &)> run;
};

const Action Actions[] = {
    {"tahsilat",
     [](Session &s) {
         const collection::Opening opening = collection::openCollection(s);
         return collection::collect(s, opening, code(1), u"Üye 0001"_s, Money::fromWhole(150),
                                    collection::defaultDescription())
             .committed;
     }},
    {"kalem tahsilat",
     [](Session &s) {
         headcollection::Collection c{
             .kod = code(2),
             .name = u"Üye 0002"_s,
             .date = Today,
             .receiptNo = 42,
             .captions = headcollection::open(s).captions,
             .amounts = {Money::fromWhole(50), Money(), Money(), *Money::parse("10.5"), Money()}};
         return headcollection::post(s, c);
     }},
    {"aylık borç",
     [](Session &s) {
         const auto members = monthlydebt::load(s, QString());
         return members &&
                monthlydebt::post(s, QDate(2026, 3, 1), *members, monthlydebt::open(s).captions)
                    .has_value();
     }},
    {"toplu borç",
     [](Session &s) {
         bulkdebt::Request r{
             .year = u"2026"_s,
             .firstMonth = 2,
             .lastMonth = 6,
             .firstCode = code(1),
             .lastCode = code(Cards),
             .amounts = {Money::fromWhole(100), *Money::parse("20.5"), Money(), Money(), Money()}};
         return bulkdebt::run(s, r).has_value();
     }},
    {"entegrasyon",
     [](Session &s) {
         return integration::postCollections(s, u"01.01.2026"_s, u"31.12.2026"_s, u"100.01"_s,
                                             u"Tahsilatlar"_s)
             .has_value();
     }},
    {"aktarım",
     [](Session &s) {
         const auto report = transfer::importFile(
             s, {.kind = transfer::Kind::Members, .path = s.companyFile(u"uyeler.csv"_s)});
         return report && report->written;
     }},
    {"ayarlar",
     [](Session &s) {
         const auto loaded = settingsform::load(s);
         data::Settings changed = *loaded;
         changed.faiz = 3;
         changed.ack[0] = u"Aidat Borcu"_s;
         return settingsform::save(s, loaded, changed);
     }},
};

struct Fault {
    faultvfs::Call call;
    int code;
    bool sticky;
    const char *name;
    const char *says; // what the clerk is told when it stops the action
};

const Fault FaultKinds[] = {
    {faultvfs::Call::Write, SQLITE_IOERR_WRITE, false, "yazma hatası", "Disk hatası"},
    {faultvfs::Call::Write, SQLITE_FULL, true, "disk dolu", "Disk dolu"},
    {faultvfs::Call::Sync, SQLITE_IOERR_FSYNC, false, "sync hatası", "Disk hatası"},
    {faultvfs::Call::Lock, SQLITE_BUSY, false, "kilit", "başka bir masada"},
};

TEST_F(Faults, EveryActionIsWholeOrNotThereWhateverCallFails) {
    if (serverRun())
        GTEST_SKIP() << "the fault VFS is SQLite's";
    constexpr int Samples = 24;
    int runs = 0, failedRuns = 0;
    for (const Action &action : Actions) {
        // A clean run: what the action leaves, and how many calls it makes.
        QString before, after;
        int calls[faultvfs::CallKinds] = {};
        {
            Desk d(folder());
            before = state(d);
            faultvfs::count();
            ASSERT_TRUE(action.run(d.session)) << action.name;
            for (int k = 0; k < faultvfs::CallKinds; ++k)
                calls[k] = faultvfs::calls(faultvfs::Call(k));
            closeFiles(d.session);
            after = state(d);
            ASSERT_NE(before, after) << action.name;
        }
        for (const Fault &fault : FaultKinds) {
            const int total = calls[int(fault.call)];
            for (int i = 0; i < Samples; ++i) {
                const int n = 1 + i * std::max(total - 1, 0) / (Samples - 1);
                if (i > 0 && n == 1 + (i - 1) * std::max(total - 1, 0) / (Samples - 1))
                    continue;
                const std::string where = std::string(action.name) + ", " + fault.name +
                                          " at call " + std::to_string(n) + " of " +
                                          std::to_string(total);
                Desk d(folder());
                faultvfs::fail(fault.call, n, fault.code, fault.sticky);
                const bool stored = action.run(d.session);
                const bool fired = faultvfs::fired();
                faultvfs::off();
                closeFiles(d.session);
                ++runs;
                const QString now = state(d);
                if (stored) {
                    EXPECT_EQ(now, after) << where;
                } else {
                    ++failedRuns;
                    EXPECT_TRUE(fired) << where;
                    EXPECT_EQ(now, before) << where;
                    EXPECT_TRUE(d.messages.boxes.size() == 1 ||
                                action.name == std::string("ayarlar"))
                        << where << ": " << texts(d).join(u" / "_s).toStdString();
                    EXPECT_TRUE(texts(d).join(u' ').contains(QString::fromUtf8(fault.says)))
                        << where << ": " << texts(d).join(u" / "_s).toStdString();
                }
                expectSound(d, where);
            }
        }
    }
    // Most faults must have hit something worth refusing.
    EXPECT_GT(failedRuns, runs / 4) << runs << " runs";
}

// A member's ledger whose file fails half-way through the read is refused
// with the reason, never handed over short.
TEST_F(Faults, ALedgerReadCutShortByTheDiskSaysSo) {
    if (serverRun())
        GTEST_SKIP() << "the fault VFS is SQLite's";
    Desk writer(folder());
    {
        UnitOfWork work(writer.session);
        for (int i = 0; i < 400; ++i)
            ASSERT_TRUE(posting::PostDebt(work, work.reference(1), false, code(1),
                                          Money::fromWhole(1), QString(40, u'x'), ledger::Debt,
                                          u"1"_s, QDate(2026, 1, 1).addDays(i)));
        ASSERT_TRUE(work.commit());
    }
    closeFiles(writer.session);
    const QDate upTo(2027, 12, 31);
    std::vector<ledger::Item> whole;
    int total = 0;
    {
        Desk d(writer.company.folder());
        faultvfs::count();
        ASSERT_TRUE(data::readLedger(d.session.data, code(1), upTo, &whole, d.messages));
        total = faultvfs::calls(faultvfs::Call::Read);
    }
    ASSERT_EQ(whole.size(), 402u); // with January's dues and a collection
    ASSERT_GT(total, 4);
    int refused = 0;
    for (int n = 1; n <= total; n += std::max(1, total / 12)) {
        Desk d(writer.company.folder());
        faultvfs::fail(faultvfs::Call::Read, n, SQLITE_IOERR_READ, false);
        std::vector<ledger::Item> items;
        const bool read = data::readLedger(d.session.data, code(1), upTo, &items, d.messages);
        faultvfs::off();
        if (read) {
            EXPECT_EQ(items.size(), whole.size()) << "read " << n << " of " << total;
            continue;
        }
        ++refused;
        ASSERT_EQ(d.messages.boxes.size(), 1u) << "read " << n;
        EXPECT_TRUE(d.messages.boxes[0].text.startsWith(u"Sql Rapor Yaratılamıyor\nDisk hatası"_s))
            << d.messages.boxes[0].text.toStdString();
    }
    EXPECT_GT(refused, 0);
}

} // namespace
