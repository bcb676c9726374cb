// Message lines of scripted runs, the company's settings files and the
// suite's day numbers.
#include "base/daynumber.h"
#include "base/inifile.h"
#include "base/messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

using Icon = Messages::Icon;

TEST(LogMessages, OneLinePerBox) {
    struct Case {
        Icon icon;
        const char *title, *text, *line;
    } cases[] = {{Icon::Warning, "Korvane", "Kayıt yok", "Korvane|warning|Kayıt yok"},
                 {Icon::Question, "Korvane", "Silinsin mi?", "Korvane|question|Silinsin mi?"},
                 {Icon::Information, "Borç", "a\nb", "Borç|information|a\\nb"},
                 {Icon::None, "Korvane", "a\r\nb\nc", "Korvane|none|a\\nb\\nc"},
                 {Icon::Warning, "", "", "|warning|"}};
    for (const Case &c : cases)
        EXPECT_EQ(
            LogMessages::logLine(c.icon, QString::fromUtf8(c.title), QString::fromUtf8(c.text)),
            QString::fromUtf8(c.line));
}

TEST(LogMessages, AnswersInOrderThenNo) {
    LogMessages messages({u"yes"_s, u"no"_s, u"yes"_s});
    const bool expected[] = {true, false, true, false, false};
    for (bool e : expected)
        EXPECT_EQ(messages.ask(Icon::Question, u"Korvane"_s, u"?"_s, true), e);
}

class IniFile : public ::testing::Test {
  protected:
    QString path(const QString &name = u"korvane.dat"_s) const { return dir.filePath(name); }
    void writeBytes(const QByteArray &bytes) const {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString read(const char *section, const char *key) const {
        return ini::readValue(QString::fromUtf8(section), QString::fromUtf8(key), u"yok"_s, path());
    }
    QTemporaryDir dir;
};

TEST_F(IniFile, SectionsAndKeysIgnoreCaseMissingGivesDefault) {
    writeBytes("[Genel]\r\nSirket=Koop\r\nBos=\r\nTirnak=\"a b\"\r\nUzun=" + QByteArray(300, 'x') +
               "\r\n[Diger]\r\nSirket=Baska\r\n");
    EXPECT_EQ(read("genel", "SIRKET"), u"Koop"_s);
    EXPECT_EQ(read("DIGER", "sirket"), u"Baska"_s);
    EXPECT_EQ(read("Genel", "Bos"), QString()); // stored empty is not the default
    EXPECT_EQ(read("Genel", "Tirnak"), u"a b"_s);
    EXPECT_EQ(read("Genel", "Uzun"), QString(254, u'x')); // values are cut to 254 characters
    EXPECT_EQ(read("Genel", "Yok"), u"yok"_s);
    EXPECT_EQ(read("Ucuncu", "Sirket"), u"yok"_s);
    EXPECT_EQ(ini::readValue("Genel", "Sirket", "yok", path("none.dat")), u"yok"_s);
}

TEST_F(IniFile, ReadsAndWritesOldCp1254AndUtf8Files) {
    // "Şirket Işığı" as the old suite wrote it; writing keeps its letters.
    writeBytes("[Genel]\r\nAd=\xDEirket I\xFE\xFD\xF0\xFD\r\nYer=\xDDzmir\r\n");
    ASSERT_TRUE(ini::writeValue("Genel", "Il", path(), u"Muğla"_s));
    EXPECT_EQ(read("Genel", "Ad"), u"Şirket Işığı"_s);
    EXPECT_EQ(read("Genel", "Yer"), u"İzmir"_s);
    EXPECT_EQ(read("Genel", "Il"), u"Muğla"_s);
    writeBytes(u"[Genel]\nAd=Şirket Işığı\n"_s.toUtf8());
    EXPECT_EQ(read("Genel", "Ad"), u"Şirket Işığı"_s);
}

TEST_F(IniFile, WriteCreatesFileAndSectionAndKeepsTheRest) {
    ASSERT_TRUE(ini::writeValue("Genel", "Ad", path(), u"Güneş"_s));
    EXPECT_EQ(read("genel", "ad"), u"Güneş"_s);
    ASSERT_TRUE(ini::writeValue("Yedek", "Yol", path(), u"C:\\yedek"_s));
    ASSERT_TRUE(ini::writeValue("GENEL", "AD", path(), u"Ay"_s));
    ASSERT_TRUE(ini::writeValue("Genel", "No", path(), u"7"_s));
    EXPECT_EQ(read("Genel", "Ad"), u"Ay"_s);
    EXPECT_EQ(read("Genel", "No"), u"7"_s);
    EXPECT_EQ(read("Yedek", "Yol"), u"C:\\yedek"_s);
    EXPECT_FALSE(ini::writeValue("Genel", "Ad", dir.filePath("eksik/korvane.dat"), "x"));
}

TEST(DayNumber, CountsFromTheSuitesEpoch) {
    struct Case {
        QDate date;
        int64_t day;
    } cases[] = {{QDate(1899, 12, 30), 0},    {QDate(1899, 12, 31), 1},
                 {QDate(1900, 1, 1), 2},      {QDate(2024, 3, 1), 45352},
                 {QDate(2024, 2, 29), 45351}, {QDate(1899, 12, 1), -29}};
    for (const Case &c : cases) {
        EXPECT_EQ(dayNumber(c.date), c.day) << c.date.toString().toStdString();
        EXPECT_EQ(dateFromDayNumber(c.day), c.date);
    }
}

TEST(DayNumber, ClerksDateText) {
    EXPECT_EQ(parseTrDate("31.12.2024"), QDate(2024, 12, 31));
    EXPECT_EQ(parseTrDate(" 01.03.2024 "), QDate(2024, 3, 1));
    for (const char *bad : {"31.02.2024", "29.02.2023", "2024-12-31", "", "32.01.2024"})
        EXPECT_FALSE(parseTrDate(QString::fromUtf8(bad)).isValid()) << bad;
    EXPECT_EQ(formatTrDate(QDate(2024, 3, 1)), u"01.03.2024"_s);
    EXPECT_EQ(formatTrDate(QDate()), QString());
}

TEST(DayNumber, OfficeMonthEnd) {
    const std::pair<QDate, QDate> cases[] = {
        {QDate(2024, 2, 15), QDate(2024, 2, 29)}, {QDate(2023, 2, 15), QDate(2023, 2, 28)},
        {QDate(2024, 4, 10), QDate(2024, 4, 30)}, {QDate(2024, 12, 31), QDate(2024, 12, 31)},
        {QDate(2100, 2, 1), QDate(2100, 3, 1)},   {QDate(2024, 8, 1), QDate(2024, 8, 31)}};
    for (const auto &[date, end] : cases)
        EXPECT_EQ(officeMonthEnd(date), end) << date.toString().toStdString();
    EXPECT_FALSE(officeMonthEnd(QDate()).isValid());
}

} // namespace
