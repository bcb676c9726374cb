// koop-cli backup and restore: the whole company as it stood at one moment
// while a desk works, only ever complete under its name, and back again
// only when every file is what the backup holds.
#include "data/xbase.h"
#include "support/tempcompany.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList codes(const QString &file) {
    return fileColumn(file, "SELECT kod FROM carkart ORDER BY kod");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file of a folder by name, with its bytes.
std::map<QString, QByteArray> contents(const QString &folder) {
    std::map<QString, QByteArray> out;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        out[name] = readFile(folder + '/' + name);
    return out;
}

mode_t modeOf(const QString &path, gid_t *group = nullptr) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    if (group)
        *group = st.st_gid;
    return st.st_mode & 07777;
}

// The settings files and a cash box's day file with a journal beside it.
void addSideFiles(const TempCompany &co) {
    writeFile(co.file("korvane.dat"), "[gorunum]\nimagepath=resim\\\n");
    writeFile(co.file("dalun.ayr"), "[reent]\nborc=120.01\n");
    writeFile(co.file("hazirun.ini"), "[Gruplar]\n1=0001\n");
    writeFile(co.file("kasa1.dat"), QByteArray(374 * 16, '\0'));
    writeFile(co.file("kasa1.dat.bekleyen"), "P 3031 40\n");
}

// Folders beside `target` that a backup or a restore left unfinished.
QStringList leftOver(const QString &target) {
    const QFileInfo t(target);
    return t.absoluteDir().entryList({t.fileName() + ".tamamlanmamis-*"}, QDir::Dirs);
}

TEST(Backup, CopiesWhatIsCommittedWhileADeskIsInTheMiddleOfAnAction) {
    TempCompany co;
    writeFile(co.file("korvane.dat"), "[gorunum]\nimagepath=resim\\\n");
    data::Database desk;
    ASSERT_TRUE(desk.open(co.file("xdata.dat")));
    data::TableCursor carkart;
    ASSERT_TRUE(data::RsOpen(desk, carkart, "carkart"));
    for (const char *kod : {"0001", "0002", "0003"}) {
        ASSERT_TRUE(data::RsAddNew(carkart));
        data::FieldSet(carkart, "kod", kod);
        ASSERT_TRUE(data::RsUpdate(carkart));
    }
    ASSERT_TRUE(desk.beginWrite());
    ASSERT_TRUE(data::RsAddNew(carkart));
    data::FieldSet(carkart, "kod", "0004");
    ASSERT_TRUE(data::RsUpdate(carkart));

    const QString target = co.root() + "/yedek/01";
    const ProcessResult r = runProgram("koop-cli", {"backup", co.folder(), target});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(desk.commit());
    EXPECT_EQ(QDir(target).entryList(QDir::Files, QDir::Name),
              (QStringList{"dalun.dat", "korvane.dat", "xdata.dat", "yedek.txt"}));
    EXPECT_EQ(codes(target + "/xdata.dat"), (QStringList{"0001", "0002", "0003"}));
    EXPECT_EQ(codes(co.file("xdata.dat")), (QStringList{"0001", "0002", "0003", "0004"}));
    EXPECT_EQ(fileColumn(target + "/dalun.dat", "SELECT count(*) FROM ayar"), QStringList{"0"});
    EXPECT_EQ(readFile(target + "/korvane.dat"), "[gorunum]\nimagepath=resim\\\n");
}

TEST(Backup, RefusesWhatItCannotCopySafely) {
    TempCompany co;
    const QString full = co.root() + "/dolu";
    QDir().mkpath(full);
    writeFile(full + "/not.txt", "");
    TempCompany server("02");
    writeFile(server.file("korvane.dat"), "[sunucu]\nhost=db.koop\ndatabase=kooperatif\n");
    struct Case {
        QString company, target, message;
    } cases[] = {
        {co.folder(), full, "Yedek klasörü boş değil:"},
        {server.folder(), co.root() + "/y1", "db.koop:5432/kooperatif"},
        {co.root() + "/yok", co.root() + "/y2", "Yedek alınamadı: "},
    };
    for (const Case &c : cases) {
        const ProcessResult r = runProgram("koop-cli", {"backup", c.company, c.target});
        EXPECT_EQ(r.exitCode, 1) << c.message.toStdString();
        ASSERT_EQ(r.messages.size(), 1);
        EXPECT_TRUE(r.messages[0].contains(c.message)) << r.messages[0].toStdString();
        EXPECT_FALSE(QFile::exists(c.target + "/xdata.dat"));
        EXPECT_EQ(leftOver(c.target), QStringList());
    }
}

// Backup, then restore: every file back byte for byte and the same
// statement; only the owner reads them whatever the umask, or the folder's
// group too where the company is shared with one.
TEST(Backup, RestoreGivesBackTheWholeCompany) {
    TempCompany co("unused", false);
    const QString company = co.root() + "/data/01";
    ASSERT_EQ(runProgram("koop-cli", {"init", company, "--demo"}).exitCode, 0);
    const QStringList statement{"statement", company, "0001", "--date", "31.12.2030"};
    const ProcessResult before = runProgram("koop-cli", statement);
    ASSERT_EQ(before.exitCode, 0) << before.err.toStdString();
    writeFile(company + "/dalun.ayr", "[reent]\nborc=120.01\n");
    writeFile(company + "/hazirun.ini", "[Gruplar]\n1=0001\n");
    writeFile(company + "/kasa2.dat.bekleyen", "P 3031 40\n");
    const std::map<QString, QByteArray> original = contents(company);
    const gid_t otherGroup = getegid() == 0 ? 65534 : getegid();
    const mode_t umaskWas = ::umask(0);
    const struct Case {
        bool shared;
        mode_t folder, file;
    } cases[] = {{false, 0700, 0600}, {true, 02770, 0660}};
    for (const Case &c : cases) {
        if (c.shared) {
            ASSERT_EQ(::chown(QFile::encodeName(company).constData(), uid_t(-1), otherGroup), 0);
            ASSERT_EQ(::chmod(QFile::encodeName(company).constData(), 02775), 0);
        }
        const QString backup = co.root() + (c.shared ? "/yedek-ortak" : "/yedek");
        const QString restored = co.root() + (c.shared ? "/data/ortak" : "/data/geri");
        ASSERT_EQ(runProgram("koop-cli", {"backup", company, backup}).exitCode, 0);
        const ProcessResult r = runProgram("koop-cli", {"restore", backup, restored});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        // The databases are snapshots (SQLite counts the copy in their
        // headers); every other file is the company's own bytes.
        std::map<QString, QByteArray> kept = contents(backup), back = contents(restored);
        EXPECT_EQ(kept.erase("yedek.txt"), 1u);
        EXPECT_TRUE(back == kept) << "the files restored differ from the backup";
        for (const auto &[name, bytes] : original)
            if (name != "xdata.dat" && name != "dalun.dat") {
                EXPECT_EQ(back[name], bytes) << name.toStdString();
            }
        EXPECT_EQ(back.size(), original.size());
        for (const QString &folder : {backup, restored}) {
            gid_t group = 0;
            EXPECT_EQ(modeOf(folder, &group), c.folder) << folder.toStdString();
            if (c.shared) {
                EXPECT_EQ(group, otherGroup);
            }
            for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                EXPECT_EQ(modeOf(folder + '/' + name), c.file) << name.toStdString();
        }
        const ProcessResult after =
            runProgram("koop-cli", {"statement", restored, "0001", "--date", "31.12.2030"});
        EXPECT_EQ(after.out, before.out);
    }
    ::umask(umaskWas);
}

// Wherever a backup stops, nothing carries the target's name; what it left
// is named unfinished, and the next backup and its restore pass it by.
TEST(Backup, AStoppedBackupLeavesNoTarget) {
    const QString strace = QStandardPaths::findExecutable("strace");
    if (strace.isEmpty())
        GTEST_SKIP() << "strace stops a backup at one of its file calls";
    TempCompany co;
    addSideFiles(co);
    const QString target = co.root() + "/yedek";
    const auto backup = [&](const QString &fault) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ASAN_OPTIONS", "detect_leaks=0"); // the leak checker cannot run traced
        env.insert("KOOP_MESSAGES", "log");
        p.setProcessEnvironment(env);
        p.start(strace, {"-f", "-qq", "-o", "/dev/null", "-e", "trace=fsync,rename", "-e", fault,
                         binDir() + "koop-cli", "backup", co.folder(), target});
        EXPECT_TRUE(p.waitForFinished(60000));
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    EXPECT_EQ(backup("inject=rename:error=EIO"), 1);
    EXPECT_EQ(leftOver(target), QStringList()) << "a failed backup cleans up";
    // Past the rename the backup is whole under its name; before it, nothing is.
    int unfinished = 0;
    for (const char *call : {"fsync", "rename"})
        for (int n = 1; n < 40; ++n) {
            const int exit = backup(QString("inject=%1:signal=KILL:when=%2").arg(call).arg(n));
            if (QFileInfo::exists(target)) {
                const QString check = co.root() + QString("/geri-%1-%2").arg(call).arg(n);
                EXPECT_EQ(runProgram("koop-cli", {"restore", target, check}).exitCode, 0)
                    << call << " " << n;
                QDir(target).removeRecursively();
            } else {
                EXPECT_EQ(leftOver(target).size(), ++unfinished) << call << " " << n;
            }
            if (exit == 0)
                break;
        }
    EXPECT_GT(unfinished, 5);
    ASSERT_EQ(runProgram("koop-cli", {"backup", co.folder(), target}).exitCode, 0);
    const ProcessResult r = runProgram("koop-cli", {"restore", target, co.root() + "/geri"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

// Sizes and checksums as the manifest writes them, for a backup changed on purpose.
void rewriteManifest(const QString &backup) {
    QByteArray text;
    for (const QString &line : QString(readFile(backup + "/yedek.txt")).split('\n')) {
        const QString name = line.section(' ', 0, -3);
        if (name.isEmpty())
            continue;
        const QByteArray bytes = readFile(backup + '/' + name);
        text += name.toUtf8() + ' ' + QByteArray::number(bytes.size()) + ' ' +
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\n';
    }
    writeFile(backup + "/yedek.txt", text);
}

TEST(Backup, RestoreRefusesAnythingButTheWholeBackup) {
    TempCompany co;
    addSideFiles(co);
    const QString good = co.root() + "/yedek";
    ASSERT_EQ(runProgram("koop-cli", {"backup", co.folder(), good}).exitCode, 0);
    const auto change = [](const QString &file, qint64 at, const QByteArray &bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(at);
        f.write(bytes);
    };
    const struct Case {
        const char *what;
        std::function<void(const QString &)> spoil;
        QString message;
    } cases[] = {
        {"existing target", [](const QString &) {}, "bu klasör zaten var"},
        {"changed byte", [&](const QString &b) { change(b + "/kasa1.dat", 100, "\x01"); },
         "/kasa1.dat: içeriği yedek.txt'deki SHA-256 toplamını tutmuyor."},
        {"cut file", [&](const QString &b) { QFile::resize(b + "/xdata.dat", 4096); },
         "/xdata.dat: boyu yedek.txt'de "},
        {"missing file", [&](const QString &b) { QFile::remove(b + "/hazirun.ini"); },
         "/hazirun.ini: yedekte yok."},
        {"file not listed", [&](const QString &b) { writeFile(b + "/xdata.dat-wal", "x"); },
         "/xdata.dat-wal: yedek.txt'de yok"},
        {"damaged database",
         [&](const QString &b) {
             change(b + "/dalun.dat", 4096, QByteArray(64, '\xff'));
             rewriteManifest(b);
         },
         "/dalun.dat: bozuk: "},
        {"unfinished backup", [&](const QString &b) { QFile::remove(b + "/yedek.txt"); },
         "/yedek.txt yok"},
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString backup = co.root() + QString("/bozuk%1").arg(++n);
        ASSERT_EQ(QProcess::execute("cp", {"-a", good, backup}), 0);
        c.spoil(backup);
        const bool existing = c.message.startsWith("bu klasör");
        const QString target = existing ? co.folder() : co.root() + QString("/data/geri%1").arg(n);
        const auto company = contents(co.folder());
        const ProcessResult r = runProgram("koop-cli", {"restore", backup, target});
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_EQ(r.messages.size(), 1) << c.what;
        const QString message = r.messages.value(0);
        EXPECT_TRUE(message.contains("Yedek geri yüklenmedi: ")) << c.what;
        EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
        EXPECT_EQ(QFileInfo::exists(target), existing) << c.what;
        EXPECT_TRUE(contents(co.folder()) == company) << c.what;
        EXPECT_EQ(leftOver(target), QStringList()) << c.what;
    }
}

// A server company: its tables as a pg_dump beside its files, and back into
// the server once they are gone from it, never over tables still there.
TEST(Backup, AServerCompanyComesBackThroughItsDump) {
    const std::optional<data::ServerAddress> server = testServer();
    if (!server || QStandardPaths::findExecutable("pg_dump").isEmpty() ||
        QStandardPaths::findExecutable("pg_restore").isEmpty())
        GTEST_SKIP() << "KOOP_TEST_PG names no server, or PostgreSQL's tools are missing";
    data::ServerAddress a = *server;
    a.dataSchema = QString("yedek%1x").arg(QCoreApplication::applicationPid());
    a.koopSchema = QString("yedek%1d").arg(QCoreApplication::applicationPid());
    dropSchemas(a);
    const QString address = QString("%1:%2/%3?user=%4&xdata=%5&dalun=%6")
                                .arg(a.host)
                                .arg(a.port)
                                .arg(a.database, a.user, a.dataSchema, a.koopSchema);
    TempCompany co("unused", false);
    const QString company = co.root() + "/01", backup = co.root() + "/yedek";
    ASSERT_EQ(runProgram("koop-cli", {"init", "--server", address, company}).exitCode, 0);
    writeFile(company + "/dalun.ayr", "[reent]\nborc=120.01\n");
    ASSERT_EQ(runProgram("koop-cli", {"settings", company, "--set", "fisno=77"}).exitCode, 0);
    const QStringList settings{"settings", company, "--format", "json"};
    const QString settingsBefore = runProgram("koop-cli", settings).out;
    ASSERT_EQ(runProgram("koop-cli", {"refcode", company}).exitCode, 0);
    ASSERT_EQ(runProgram("koop-cli", {"backup", company, backup}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(backup + "/sunucu.dump"));
    // The code the backup's counters draw next.
    const QString next = runProgram("koop-cli", {"refcode", company}).out;
    ASSERT_FALSE(next.isEmpty());
    const QString restored = co.root() + "/02";
    const QStringList restore{"restore", backup, restored, "--server", address};
    const ProcessResult over = runProgram("koop-cli", restore);
    EXPECT_EQ(over.exitCode, 1);
    EXPECT_TRUE(over.messages.value(0).contains("zaten bir şirket var")) << over.err.toStdString();
    dropSchemas(a);
    const ProcessResult r = runProgram("koop-cli", restore);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QDir(restored).entryList(QDir::Files, QDir::Name),
              (QStringList{"dalun.ayr", "korvane.dat"}));
    EXPECT_EQ(runProgram("koop-cli", {"settings", restored, "--format", "json"}).out,
              settingsBefore);
    EXPECT_EQ(runProgram("koop-cli", {"refcode", restored}).out, next);
    dropSchemas(a);
}

} // namespace
