// Start-up as the suite runs it: a real koop process on a temporary company,
// with the log message service reporting every box.
#include "core/registry.h"
#include "core/startup.h"
#include "support/tempcompany.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QStringList UnknownKey = {
    QStringLiteral("Korvane|question|Hatalı Giriş Anahtarı"),
    QStringLiteral("Korvane|none|ayar\\nborcla\\ntopborc\\ntahsil\\ngenel\\nhazirun\\netiket\\n"
                   "borcent\\nkastah")};

// A company file that is no database.
void writeJunk(const QString &path) {
    QFile junk(path);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
    junk.write(QByteArray(4096, 'x'));
}

TEST(CommandLine, SplitsAtFirstBlankTrimsAndUpperCases) {
    struct Case {
        QString line, company, key;
    } cases[] = {
        {"01 BORCLA", "01", "BORCLA"},
        {"01   borcla", "01", "BORCLA"},
        {"01 BORCLA X", "01", "BORCLA X"},
        {"BORCLA", "BORCLA", ""},
        {" 01 tahsil ", "", "01 TAHSIL"},
        {"Şirket etiket", "Şirket", "ETIKET"},
        {"", "", ""},
    };
    for (const Case &c : cases) {
        const startup::CommandLine l = startup::splitCommandLine(c.line);
        EXPECT_EQ(l.company, c.company) << c.line.toStdString();
        EXPECT_EQ(l.key, c.key) << c.line.toStdString();
    }
}

TEST(Registry, ReadsTopLevelKeysOfTheIniFileAndCutsAtNul) {
    TempCompany co;
    {
        QSettings s(co.registryFile(), QSettings::IniFormat);
        s.setValue("PrgPath", QStringLiteral("C:\\Koop\\"));
        s.setValue("DataPath", QString("D:\\Veri\\") + QChar(u'\0') + "garbage");
    }
    Registry r(co.registryFile());
    EXPECT_EQ(r.readText("PrgPath"), QStringLiteral("C:\\Koop\\"));
    EXPECT_EQ(r.readText("DataPath"), QStringLiteral("D:\\Veri\\"));
    EXPECT_EQ(r.readText("Missing"), QString());
}

TEST(Startup, KnownKeyOpensItsScreenAnyOtherShowsBothBoxesAndEnds) {
    TempCompany co;
    const QStringList noSettings = {"Korvane|warning|Ayarlar Yapılmamış..."};
    const int failed = startup::ExitStartupFailed;
    const struct {
        QStringList args, messages;
        int exitCode;
    } cases[] = {
        {{"01", "AYAR"}, {}, 0},
        {{"01   borcla"}, {}, 0},
        {{"01", "etiket"}, {}, 0},
        {{"01", "ETİKET"}, {}, 0},
        {{"01", "HAZIRUN"}, {}, 0},
        // The collection desk opens and, on a company without settings, says so.
        {{"01", "TAHSIL"}, noSettings, 0},
        {{"01   tahsil"}, noSettings, 0},
        {{"01", "KASTAH"}, noSettings, 0},
        {{"01", "BORCLA", "X"}, UnknownKey, failed},
        {{"01"}, UnknownKey, failed},
        {{"01", "tahsilat"}, UnknownKey, failed},
    };
    for (const auto &c : cases) {
        const ProcessResult r = runProgram("koop", c.args, co.registryFile());
        EXPECT_EQ(r.messages, c.messages) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
    }
}

TEST(Startup, EmptyPrgPathDefaultsBothPathsAndWritesThemBack) {
    TempCompany co;
    co.writeRegistry(QString(), QStringLiteral("/somewhere/else/"));
    // The default data folder is <program folder>/Data/, where no company is.
    const ProcessResult r = runProgram("koop", {"01", "TAHSIL"}, co.registryFile());
    const QString expectedData = binDir() + QStringLiteral("Data/");
    EXPECT_EQ(r.messages, QStringList{"Korvane|warning|" + expectedData +
                                      "01/dalun.dat\\nSql Dosyası Yaratılamadı."});
    EXPECT_EQ(r.exitCode, startup::ExitStartupFailed);
    Registry reg(co.registryFile());
    EXPECT_EQ(reg.readText("PrgPath"), binDir());
    EXPECT_EQ(reg.readText("DataPath"), expectedData);
}

TEST(Startup, SetPrgPathWithEmptyDataPathLooksRelativeToCurrentFolder) {
    TempCompany co;
    co.writeRegistry(QStringLiteral("/not/normalised"), QString());
    const ProcessResult r =
        runProgram("koop", {"01", "ETIKET"}, co.registryFile(), {}, co.dataPath());
    // The company is found from the current folder; the pictures are looked
    // for under the program folder as it was given.
    ASSERT_FALSE(r.messages.isEmpty());
    EXPECT_EQ(r.messages.first(), QStringLiteral("Korvane|information|İmage Yükleme Hatası\\n"
                                                 "/not/normalisedimage/soft/muhback3.jpg"));
    Registry reg(co.registryFile());
    EXPECT_EQ(reg.readText("PrgPath"), QStringLiteral("/not/normalised"));
    EXPECT_EQ(reg.readText("DataPath"), QString());
}

TEST(Startup, MissingKoopDatabaseIsCreatedAndStartupGoesOn) {
    TempCompany co;
    ASSERT_TRUE(QFile::remove(co.file("dalun.dat")));
    const ProcessResult r = runProgram("koop", {"01", "ETIKET"}, co.registryFile());
    EXPECT_EQ(r.messages, QStringList{});
    EXPECT_TRUE(QFile::exists(co.file("dalun.dat")));
}

TEST(Startup, MissingOrDamagedSuiteDatabaseEnds) {
    TempCompany co;
    ASSERT_TRUE(QFile::remove(co.file("xdata.dat")));
    ProcessResult r = runProgram("koop", {"01", "TAHSIL"}, co.registryFile());
    EXPECT_EQ(r.messages, QStringList{"Korvane|warning|Şirket Dosyaları Bulunamadı."});
    EXPECT_EQ(r.exitCode, startup::ExitStartupFailed);

    // A file that is there says why it does not open.
    writeJunk(co.file("xdata.dat"));
    r = runProgram("koop", {"01", "TAHSIL"}, co.registryFile());
    EXPECT_EQ(r.messages,
              QStringList{"Korvane|warning|Şirket Dosyaları Bulunamadı.\\n" + co.file("xdata.dat") +
                          " açılamadı: Şirket dosyası bozuk ya da bir veritabanı "
                          "değil."});
}

TEST(Startup, DamagedKoopDatabaseIsNotOverwritten) {
    TempCompany co;
    writeJunk(co.file("dalun.dat"));
    const ProcessResult r = runProgram("koop", {"01", "TAHSIL"}, co.registryFile());
    EXPECT_EQ(r.messages, QStringList{"Korvane|warning|" + co.file("dalun.dat") +
                                      "\\nSql Dosyası Yaratılamadı.\\n" + co.file("dalun.dat") +
                                      " açılamadı: Şirket dosyası bozuk ya da bir veritabanı "
                                      "değil."});
    EXPECT_EQ(QFileInfo(co.file("dalun.dat")).size(), 4096);
}

TEST(Startup, MissingOrStrayCompanyFolderEndsWithoutCreatingAnything) {
    TempCompany co;
    ProcessResult r = runProgram("koop", {"Yok Şirket", "TAHSIL"}, co.registryFile());
    // The line splits at its first blank: the company is "Yok".
    EXPECT_EQ(r.messages.value(0),
              "Korvane|warning|" + co.dataPath() + "Yok/dalun.dat\\nSql Dosyası Yaratılamadı.");
    EXPECT_FALSE(QFileInfo::exists(co.dataPath() + "Yok"));

    // Nothing is made beside or above DataPath, whatever the folder says.
    const QString beside = QFileInfo(co.dataPath() + "../disari").absoluteFilePath();
    ASSERT_TRUE(QDir().mkpath(beside));
    for (const QString &folder : {QString("../disari"), QString("01/../../disari"), beside}) {
        r = runProgram("koop", {folder, "TAHSIL"}, co.registryFile());
        EXPECT_EQ(r.exitCode, startup::ExitStartupFailed);
        EXPECT_EQ(r.messages, QStringList{"Korvane|warning|Şirket klasörü veri klasörünün "
                                          "(DataPath) dışında:\\n" +
                                          folder});
    }
    EXPECT_TRUE(QDir(beside).isEmpty());

    // An option is ours or a mistake; a mistake never becomes a folder.
    r = runProgram("koop", {"--yardim", "TAHSIL"}, co.registryFile());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("koop: bilinmeyen seçenek: --yardim\nKullanım:"))
        << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(co.dataPath() + "--yardim"));
    r = runProgram("koop", {"--version"}, co.registryFile());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "koop " KOOP_VERSION "\n");
}

TEST(Startup, FirstMissingSharedTableEndsWithItsMessage) {
    struct Case {
        const char *file, *table, *message;
    } cases[] = {
        {"xdata.dat", "carkart", "Cari Kartlar Record set Açılamadı."},
        {"xdata.dat", "stkhar", "Stok Hareketleri Record set Açılamadı."},
        {"xdata.dat", "genel", "Genel Bilgiler Record set Açılamadı."},
        {"dalun.dat", "fiat", "Fiyatlar Bilgiler Record set Açılamadı."},
        {"dalun.dat", "ayar", "Ayarlar Record set Açılamadı."},
    };
    for (const Case &c : cases) {
        TempCompany co;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "drop");
            db.setDatabaseName(co.file(c.file));
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(QStringLiteral("DROP TABLE ") + c.table));
            db.close();
        }
        QSqlDatabase::removeDatabase("drop");
        const ProcessResult r = runProgram("koop", {"01", "TAHSIL"}, co.registryFile());
        EXPECT_EQ(r.messages, QStringList{QStringLiteral("Korvane|warning|") + c.message});
    }

    // Another program's database under the suite's name is only read: it
    // keeps its journal mode (bytes 18 and 19 of its header, 2 for WAL).
    TempCompany co;
    ASSERT_TRUE(QFile::remove(co.file("xdata.dat")));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(co.file("xdata.dat"));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec("CREATE TABLE musteri (ad TEXT)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    const ProcessResult r = runProgram("koop", {"01", "TAHSIL"}, co.registryFile());
    EXPECT_EQ(r.messages, QStringList{"Korvane|warning|Cari Kartlar Record set Açılamadı."});
    QFile file(co.file("xdata.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(20).mid(18), QByteArray("\x01\x01", 2));
}

TEST(Startup, UnwritableRegistryWarnsAndGoesOn) {
    TempCompany co;
    // A registry file under a plain file can never be written, not even by root.
    QFile blocker(co.root() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ProcessResult r =
        runProgram("koop", {"01", "TAHSIL"}, co.root() + "/blocker/registry.ini", {}, co.root());
    ASSERT_GE(r.messages.size(), 2);
    EXPECT_TRUE(r.messages[0].startsWith("Korvane|warning|Program yolları kaydedilemedi"))
        << r.messages[0].toStdString();
}

TEST(Startup, OverLongCommandLineIsAMessageNotACrash) {
    TempCompany co;
    const ProcessResult r = runProgram("koop", {QString(5000, u'ş'), "TAHSIL"}, co.registryFile());
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].endsWith("Sql Dosyası Yaratılamadı."));
    EXPECT_EQ(r.exitCode, startup::ExitStartupFailed);
}

} // namespace
