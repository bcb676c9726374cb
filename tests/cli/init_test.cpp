// koop-cli init plays the accounting suite's part: the company it creates is
// read back here as any other tool would read it, with plain SQL.
#include "data/schema.h"
#include "support/tempcompany.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Queries of one company file, as another program reads it.
struct Reader {
    QString file;
    QStringList column(const QString &sql) const { return fileColumn(file, sql); }
    QString one(const QString &sql) const { return column(sql).value(0); }
};

QStringList expectedColumns(const data::TableDef &def) {
    QStringList cols{"id"};
    for (const data::FieldDef &f : def.fields)
        cols << f.name;
    return cols;
}

QByteArray companyDump(const QString &folder) {
    QByteArray all;
    for (const char *file : {"xdata.dat", "dalun.dat"}) {
        const Reader r{folder + "/" + file};
        for (const QString &table : r.column("SELECT name FROM sqlite_master WHERE type='table' "
                                             "ORDER BY name"))
            all += r.column("SELECT quote(\"" +
                            r.column("SELECT name FROM pragma_table_info('" + table + "')")
                                .join("\")||','||quote(\"") +
                            "\") FROM " + table + " ORDER BY id")
                       .join('\n')
                       .toUtf8();
    }
    return QCryptographicHash::hash(all, QCryptographicHash::Sha256);
}

TEST(Init, CreatesTheDocumentedLayout) {
    TempCompany co("unused", false);
    const QString folder = co.root() + "/firmalar/01";
    const ProcessResult r = runProgram("koop-cli", {"init", folder});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{"dalun.dat", "korvane.dat", "xdata.dat"}));
    EXPECT_EQ(QFileInfo(folder + "/korvane.dat").size(), 0);
    EXPECT_TRUE(QDir(co.root() + "/firmalar")
                    .entryList({".koop-init*"}, QDir::AllEntries | QDir::Hidden)
                    .isEmpty());

    const Reader x{folder + "/xdata.dat"};
    EXPECT_EQ(
        x.column("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"),
        (QStringList{"carhar", "carkart", "ent", "ftu", "genel", "kasa", "stkhar", "stkkart"}));
    for (const data::TableDef *def : data::schema::suiteTables())
        EXPECT_EQ(x.column("SELECT name FROM pragma_table_info('" + def->name + "')"),
                  expectedColumns(*def))
            << def->name.toStdString();
    EXPECT_EQ(x.one("SELECT group_concat(name) FROM pragma_index_info('kod')"), "kod");
    EXPECT_EQ(x.one("SELECT tbl_name FROM sqlite_master WHERE name='kod'"), "carkart");
    EXPECT_EQ(x.one("SELECT tbl_name FROM sqlite_master WHERE name='ack'"), "genel");
    EXPECT_EQ(x.one("SELECT type FROM pragma_table_info('carhar') WHERE name='tutar'"), "BIGINT");
    EXPECT_EQ(x.one("SELECT count(*) FROM carkart"), "0");

    const Reader k{folder + "/dalun.dat"};
    EXPECT_EQ(k.column("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"),
              (QStringList{"ayar", "borc", "fiat"}));
    EXPECT_EQ(k.column("SELECT name FROM pragma_table_info('ayar')"),
              expectedColumns(data::schema::ayar()));
    EXPECT_EQ(k.one("SELECT type FROM pragma_table_info('ayar') WHERE name='ack1'"), "VARCHAR(30)");
    EXPECT_EQ(k.one("SELECT \"notnull\" FROM pragma_table_info('fiat') WHERE name='cari'"), "1");
    EXPECT_EQ(k.one("SELECT \"unique\" FROM pragma_index_list('fiat') WHERE name='cari'"), "1");
    EXPECT_EQ(k.one("SELECT \"unique\" FROM pragma_index_list('borc') WHERE name='refer'"), "1");
    EXPECT_EQ(k.one("SELECT count(*) FROM ayar"), "0");
}

TEST(Init, DemoIsABelievableCooperativeAndRepeatsWithItsSeed) {
    TempCompany co("unused", false);
    const QString a = co.root() + "/A", b = co.root() + "/B", c = co.root() + "/C";
    ASSERT_EQ(runProgram("koop-cli", {"init", a, "--demo", "--seed", "7"}).exitCode, 0);
    ASSERT_EQ(runProgram("koop-cli", {"init", b, "--demo", "--seed", "7"}).exitCode, 0);
    ASSERT_EQ(runProgram("koop-cli", {"init", c, "--demo", "--seed", "8"}).exitCode, 0);
    EXPECT_EQ(companyDump(a), companyDump(b));
    EXPECT_NE(companyDump(a), companyDump(c));

    const Reader x{a + "/xdata.dat"};
    const int cards = x.one("SELECT count(*) FROM carkart").toInt();
    EXPECT_GE(cards, 250);
    EXPECT_LE(cards, 350);
    const int members = x.one("SELECT count(*) FROM carkart WHERE asd=0").toInt();
    EXPECT_GT(members, cards * 3 / 4);
    EXPECT_GT(x.one("SELECT count(*) FROM carkart WHERE asd=1").toInt(), 0);
    EXPECT_GT(x.one("SELECT count(*) FROM carkart WHERE asd=2").toInt(), 0);
    EXPECT_GT(x.one("SELECT count(*) FROM carkart WHERE muhasebe<>''").toInt(), 0);
    EXPECT_GT(x.one("SELECT count(*) FROM carkart WHERE coalesce(muhasebe,'')=''").toInt(), 0);
    EXPECT_GT(x.one("SELECT count(DISTINCT grp) FROM carkart").toInt(), 1);
    const QString names = x.column("SELECT isim1||adr1||adr3 FROM carkart").join("");
    for (QChar ch : QStringLiteral("çğıöşüÇĞİÖŞÜ"))
        EXPECT_TRUE(names.contains(ch)) << QString(ch).toStdString();
    EXPECT_EQ(x.column("SELECT ack||'='||coalesce(tanim,'')||'/'||coalesce(value,'') FROM genel "
                       "WHERE ack IN ('tlonda','tlnick','krnick') ORDER BY ack"),
              (QStringList{"krnick=Kr/", "tlnick=TL/", "tlonda=/2"}));
    EXPECT_FALSE(x.one("SELECT tanim FROM genel WHERE ack='unvan'").isEmpty());

    const Reader k{a + "/dalun.dat"};
    EXPECT_EQ(k.one("SELECT count(*) FROM fiat").toInt(), members);
    EXPECT_EQ(k.one("SELECT count(*) FROM ayar"), "1");
    EXPECT_EQ(k.one("SELECT faiz FROM ayar").toDouble(), 2.0);
    EXPECT_EQ(k.one("SELECT count(*) FROM ayar WHERE ack1<>'' AND ack5<>'' AND fisno>0"), "1");

    // Two years of dues and collections, written as the program writes them.
    EXPECT_EQ(x.one("SELECT count(DISTINCT vade) FROM carhar WHERE islem=4"), "24");
    EXPECT_EQ(x.one("SELECT count(*) FROM carhar WHERE islem=1"),
              x.one("SELECT count(*) FROM kasa"));
    EXPECT_EQ(x.one("SELECT count(*) FROM carhar c JOIN kasa k ON k.refer=c.refer"),
              x.one("SELECT count(*) FROM kasa"));
    EXPECT_EQ(x.one("SELECT sum(borc1) FROM carkart"),
              x.one("SELECT sum(tutar) FROM carhar WHERE ba=0"));
    // Some members owe, some have paid more than they owe.
    const QString balances = "SELECT count(*) FROM (SELECT kod, sum(CASE ba WHEN 0 THEN tutar "
                             "ELSE -tutar END) AS b FROM carhar GROUP BY kod) WHERE b ";
    EXPECT_GT(x.one(balances + "> 0").toInt(), 0);
    EXPECT_GT(x.one(balances + "< 0").toInt(), 0);
    EXPECT_EQ(k.one("SELECT fisno FROM ayar").toInt(),
              1000 + x.one("SELECT count(*) FROM kasa").toInt());
}

TEST(Init, NeverOverwritesAnExistingCompany) {
    TempCompany co;
    const QByteArray before = companyDump(co.folder());
    const ProcessResult r = runProgram("koop-cli", {"init", co.folder(), "--demo"});
    EXPECT_EQ(r.exitCode, 1);
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].startsWith("Korvane|warning|Bu klasörde zaten bir şirket var"));
    EXPECT_EQ(companyDump(co.folder()), before);
}

TEST(Init, BadFolderNamesGiveAMessageAndCreateNothing) {
    TempCompany co("unused", false);
    QFile file(co.root() + "/dosya");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const struct {
        const char *folder;
        int exitCode;
    } cases[] = {
        {"/iki kelime", 1},
        {"/dosya/01", 1},
        {"/Güneşli_Çınar", 0}, // Turkish letters are fine in a folder name
    };
    for (const auto &c : cases) {
        const QString folder = co.root() + QString::fromUtf8(c.folder);
        const ProcessResult r = runProgram("koop-cli", {"init", folder});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.folder << r.err.toStdString();
        EXPECT_EQ(r.messages.size(), c.exitCode) << c.folder;
        EXPECT_EQ(QFileInfo::exists(c.exitCode ? folder : folder + "/xdata.dat"), c.exitCode == 0)
            << c.folder;
    }
}

// A company of an office's own is set up at its making and later: its name,
// its money with kuruş, the receipt's head; a collection with kuruş is taken
// at once, and the decimals never drop below an amount on file.
TEST(Init, AnOfficesCompanyIsSetUpAndTakesKurus) {
    TempCompany co("unused", false);
    const QString dir = co.root() + "/01";
    const QString longName(61, u'ş');
    ProcessResult r = runProgram("koop-cli", {"init", dir, "--unvan", longName});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(dir));
    r = runProgram("koop-cli", {"init", dir, "--unvan", "Yıldız Konut Yapı Koop."});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile cards(co.root() + "/uyeler.csv");
    ASSERT_TRUE(cards.open(QIODevice::WriteOnly));
    cards.write(QString("kod;isim1\n0001;Ayşe Kaya\n").toUtf8());
    cards.close();
    ASSERT_EQ(runProgram("koop-cli", {"import", dir, "members", cards.fileName()}).exitCode, 0);
    r = runProgram("koop-cli", {"collect", dir, "0001", "120.50"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const Reader x{dir + "/xdata.dat"};
    EXPECT_EQ(x.one("SELECT tutar FROM carhar"), "1205000");

    r = runProgram("koop-cli", {"company", dir, "--set", "tlonda=0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.messages, QStringList{"Korvane|warning|Ondalık sayısı 0 yapılamaz: 1 hareketin "
                                      "tutarında daha çok ondalık var.\\nŞirket bilgileri "
                                      "kaydedilmedi."});
    r = runProgram("koop-cli", {"company", dir, "--set", "tlonda=1", "--set", "krnick=Kuruş",
                                "--set", "baslik2=Çiçek Sok. 5 Ankara", "--format", "json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject info = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(info["unvan"].toString(), "Yıldız Konut Yapı Koop.");
    EXPECT_EQ(info["baslik1"].toString(), "Yıldız Konut Yapı Koop.");
    EXPECT_EQ(info["baslik2"].toString(), "Çiçek Sok. 5 Ankara");
    EXPECT_EQ(info["tlonda"].toInt(), 1);
    EXPECT_EQ(info["tlnick"].toString(), "TL");
    EXPECT_EQ(info["krnick"].toString(), "Kuruş");
    EXPECT_EQ(x.column("SELECT ack || '=' || coalesce(tanim, '') || '=' || coalesce(value, '') "
                       "FROM genel WHERE ack IN ('unvan', 'tlonda', 'tlnick', 'krnick') "
                       "ORDER BY ack"),
              (QStringList{"krnick=Kuruş=0", "tlnick=TL=0", "tlonda==1",
                           "unvan=Yıldız Konut Yapı Koop.=0"}));
}

// Whatever mask the program is started with, what it makes is the owner's
// alone, or the group's too in a folder shared with a group: the company,
// its day files and the files it writes for the clerk.
TEST(Init, FilesAreTheOfficesAloneWhateverTheMask) {
    const mode_t mask = ::umask(022);
    TempCompany co("unused", false);
    const auto mode = [](const QString &path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0u;
    };
    for (const bool shared : {false, true}) {
        SCOPED_TRACE(shared);
        const QString parent = co.root() + (shared ? "/ortak" : "/ozel");
        ASSERT_TRUE(QDir().mkpath(parent));
        ASSERT_EQ(::chmod(QFile::encodeName(parent).constData(), shared ? 02775 : 0755), 0);
        const QString dir = parent + "/demo", out = parent + "/uyeler.xlsx";
        ASSERT_EQ(runProgram("koop-cli", {"init", dir}).exitCode, 0);
        ASSERT_EQ(
            runProgram("koop-cli", {"export", dir, "members", "--format", "xlsx", "--out", out})
                .exitCode,
            0);
        const unsigned file = shared ? 0660 : 0600;
        EXPECT_EQ(mode(dir), shared ? 02770u : 0700u);
        QStringList files{out};
        for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
            files << dir + '/' + name;
        EXPECT_EQ(files.size(), 4); // the export, the databases, korvane.dat
        for (const QString &f : files)
            EXPECT_EQ(mode(f), file) << f.toStdString();
    }
    ::umask(mask);
}

} // namespace
