// koop-cli backup: a consistent, checked copy of a company while a desk works.
#include "data/xbase.h"
#include "support/tempcompany.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QStringList codes(const QString &file) {
    return fileColumn(file, "SELECT kod FROM carkart ORDER BY kod");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
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
              (QStringList{"dalun.dat", "korvane.dat", "xdata.dat"}));
    EXPECT_EQ(codes(target + "/xdata.dat"), (QStringList{"0001", "0002", "0003"}));
    EXPECT_EQ(codes(co.file("xdata.dat")), (QStringList{"0001", "0002", "0003", "0004"}));
    EXPECT_EQ(fileColumn(target + "/dalun.dat", "SELECT count(*) FROM ayar"), QStringList{"0"});
    QFile copied(target + "/korvane.dat");
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "[gorunum]\nimagepath=resim\\\n");
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
        {server.folder(), co.root() + "/y1",
         "Bu şirketin verileri sunucuda: db.koop:5432/kooperatif"},
        {co.root() + "/yok", co.root() + "/y2", "Yedek alınamadı: "},
    };
    for (const Case &c : cases) {
        const ProcessResult r = runProgram("koop-cli", {"backup", c.company, c.target});
        EXPECT_EQ(r.exitCode, 1) << c.message.toStdString();
        ASSERT_EQ(r.messages.size(), 1);
        EXPECT_TRUE(r.messages[0].contains(c.message)) << r.messages[0].toStdString();
        EXPECT_FALSE(QFile::exists(c.target + "/xdata.dat"));
    }
}

} // namespace
