// The grid's spreadsheet export, read back from the .xlsx it writes (a zip
// of XML parts, opened with the unzip command).
#include "controls/dclist.h"
#include "startup/base/daynumber.h"
#include "startup/base/messages.h"
#include "support/qtprint.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>

namespace {

// The cells, shared strings and cell styles of the first sheet.
class Workbook {
  public:
    struct Cell {
        QString type, value;
        int style = 0;
    };

    explicit Workbook(const QString &path) {
        readShared(part(path, "xl/sharedStrings.xml"));
        readStyles(part(path, "xl/styles.xml"));
        readSheet(part(path, "xl/worksheets/sheet1.xml"));
    }

    bool has(const QString &ref) const { return m_cells.count(ref) > 0; }
    QStringList refs() const {
        QStringList out;
        for (const auto &[ref, cell] : m_cells)
            out << ref;
        return out;
    }
    // Text of a string cell; the stored value of others.
    QString text(const QString &ref) const {
        const Cell &c = cell(ref);
        return c.type == u"s" ? m_shared.value(c.value.toInt()) : c.value;
    }
    bool isNumber(const QString &ref) const {
        return has(ref) && (cell(ref).type.isEmpty() || cell(ref).type == u"n");
    }
    double number(const QString &ref) const { return cell(ref).value.toDouble(); }
    bool bold(const QString &ref) const { return font(ref).bold; }
    double fontSize(const QString &ref) const { return font(ref).size; }
    QString format(const QString &ref) const {
        const int id = m_xfs.at(size_t(cell(ref).style)).numFmt;
        return m_formats.count(id) ? m_formats.at(id) : QString::number(id);
    }

  private:
    struct Font {
        bool bold = false;
        double size = 0;
    };
    struct Xf {
        int font = 0, numFmt = 0;
    };

    static QByteArray part(const QString &zip, const char *name) {
        QProcess unzip;
        unzip.start("unzip", {"-p", zip, QString::fromLatin1(name)});
        unzip.waitForFinished();
        return unzip.readAllStandardOutput();
    }
    const Cell &cell(const QString &ref) const {
        static const Cell none;
        auto it = m_cells.find(ref);
        return it == m_cells.end() ? none : it->second;
    }
    const Font &font(const QString &ref) const {
        return m_fonts.at(size_t(m_xfs.at(size_t(cell(ref).style)).font));
    }

    void readShared(const QByteArray &xml) {
        QXmlStreamReader r(xml);
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"si")
                m_shared << QString();
            else if (r.isStartElement() && r.name() == u"t")
                m_shared.last() += r.readElementText();
        }
    }
    void readStyles(const QByteArray &xml) {
        QXmlStreamReader r(xml);
        QString section;
        while (!r.atEnd()) {
            r.readNext();
            if (!r.isStartElement())
                continue;
            const auto a = r.attributes();
            if (r.name() == u"fonts" || r.name() == u"cellXfs" || r.name() == u"cellStyleXfs")
                section = r.name().toString();
            else if (r.name() == u"numFmt")
                m_formats[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
            else if (r.name() == u"font" && section == u"fonts")
                m_fonts.push_back({});
            else if (r.name() == u"b" && section == u"fonts")
                m_fonts.back().bold = true;
            else if (r.name() == u"sz" && section == u"fonts")
                m_fonts.back().size = a.value("val").toDouble();
            else if (r.name() == u"xf" && section == u"cellXfs")
                m_xfs.push_back({a.value("fontId").toInt(), a.value("numFmtId").toInt()});
        }
    }
    void readSheet(const QByteArray &xml) {
        QXmlStreamReader r(xml);
        QString ref;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"c") {
                const auto a = r.attributes();
                ref = a.value("r").toString();
                m_cells[ref] = {a.value("t").toString(), QString(), a.value("s").toInt()};
            } else if (r.isStartElement() && r.name() == u"v") {
                m_cells[ref].value = r.readElementText();
            }
        }
    }

    std::map<QString, Cell> m_cells;
    QStringList m_shared;
    std::vector<Font> m_fonts;
    std::vector<Xf> m_xfs;
    std::map<int, QString> m_formats;
};

struct ExportGrid : ::testing::Test {
    RecordingMessages messages;
    dclist grid{messages};
    QTemporaryDir dir;

    void SetUp() override {
        ASSERT_FALSE(QStandardPaths::findExecutable("unzip").isEmpty())
            << "the export tests read the .xlsx with unzip (tools/install-deps)";
        grid.Add("A", "kod", "Kod", 90, 8);
        grid.Add("N", "tutar", "Tutar", 100, 1e9, 0, 2, 3);
        grid.Add("T", "vade", "Vade", 90, 10);
        grid.Add("V", "var", "Var", 40, 5);
        grid.Add("b", "kalan", "Kalan", 100, 0, 0, 2, 0);
        grid.resize(600, 300);
        grid.show();
    }
    void row(const QVariantList &cells) {
        const int r = grid.CreateNewCaption();
        for (int c = 0; c < cells.size(); ++c)
            grid.setCaption(r, c, cells[c]);
    }
};

TEST_F(ExportGrid, TitlesCaptionsAndTypedCells) {
    row({"00001", 1234.5, QDate(2026, 3, 5), "True", "12.5"});
    row({"Çağlar", 0.0, "bad", "False", QVariant()});
    row({QVariant(), "250", "07.03.2026", QVariant(), -3.0});
    const QString path = dir.filePath("liste.xlsx");
    ASSERT_TRUE(grid.writeExel(path, "ÜYE LİSTESİ", "05.03.2026", "Grup: A", "Sayfa 1"));
    const Workbook book(path);

    EXPECT_EQ(book.text("A1"), "ÜYE LİSTESİ");
    EXPECT_TRUE(book.bold("A1"));
    ASSERT_TRUE(book.isNumber("A2"));
    EXPECT_EQ(book.number("A2"), double(dayNumber(QDate(2026, 3, 5))));
    EXPECT_EQ(book.format("A2"), "dd.mm.yyyy");
    EXPECT_EQ(book.text("A3"), "Grup: A");
    EXPECT_EQ(book.text("E3"), "Sayfa 1");
    EXPECT_FALSE(book.bold("A3"));

    const QStringList captions = {"Kod", "Tutar", "Vade", "Var", "Kalan"};
    for (int c = 0; c < 5; ++c) {
        const QString ref = QChar(u'A' + c) + QStringLiteral("4");
        EXPECT_EQ(book.text(ref), captions[c]);
        EXPECT_TRUE(book.bold(ref)) << ref.toStdString();
        EXPECT_EQ(book.fontSize(ref), grid.headerFont().pointSizeF()) << ref.toStdString();
    }

    EXPECT_EQ(book.text("A5"), "00001");
    EXPECT_FALSE(book.isNumber("A5")); // a code stays text
    ASSERT_TRUE(book.isNumber("B5"));
    EXPECT_EQ(book.number("B5"), 1234.5);
    EXPECT_EQ(book.format("B5"), "#,##0.00");
    ASSERT_TRUE(book.isNumber("C5"));
    EXPECT_EQ(book.number("C5"), 46086.0);
    EXPECT_EQ(book.format("C5"), "dd.mm.yyyy");
    EXPECT_EQ(book.text("D5"), "True");
    ASSERT_TRUE(book.isNumber("E5"));
    EXPECT_EQ(book.number("E5"), 12.5);
    EXPECT_EQ(book.format("E5"), "0.00");

    EXPECT_EQ(book.text("A6"), "Çağlar");
    EXPECT_EQ(book.number("B6"), 0.0);
    EXPECT_FALSE(book.has("C6")); // not a date: left empty
    EXPECT_EQ(book.text("D6"), "False");
    EXPECT_FALSE(book.has("E6"));

    EXPECT_FALSE(book.has("A7"));
    EXPECT_EQ(book.number("B7"), 250.0);
    EXPECT_EQ(book.number("C7"), 46088.0);
    EXPECT_EQ(book.number("E7"), -3.0);
    EXPECT_FALSE(book.has("A8"));
}

TEST_F(ExportGrid, EmptyGridGivesTitlesAndCaptionsOnly) {
    const QString path = dir.filePath("bos.xlsx");
    ASSERT_TRUE(grid.writeExel(path, "Başlık", "Mart 2026", "", ""));
    const Workbook book(path);
    EXPECT_EQ(book.refs(), QStringList({"A1", "A2", "A4", "B4", "C4", "D4", "E4"}));
    EXPECT_EQ(book.text("A2"), "Mart 2026");
    EXPECT_FALSE(book.isNumber("A2"));
}

TEST_F(ExportGrid, CtrlEWritesATemporaryFileAndOpensIt) {
    row({"00001", 10.0});
    QString opened;
    grid.setSpreadsheetOpener([&](const QString &path) {
        opened = path;
        return true;
    });
    grid.ChngMode(1, 0);
    QTest::keyClick(&grid, Qt::Key_E, Qt::ControlModifier);
    ASSERT_FALSE(opened.isEmpty());
    EXPECT_TRUE(opened.endsWith(".xlsx"));
    EXPECT_EQ(QFileInfo(opened).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(messages.boxes.empty());
    const Workbook book(opened);
    EXPECT_FALSE(book.has("A1"));
    EXPECT_EQ(book.text("A4"), "Kod");
    EXPECT_EQ(book.text("A5"), "00001");
    EXPECT_EQ(book.number("B5"), 10.0);
    QFile::remove(opened);
}

TEST_F(ExportGrid, FailureShowsTheSpreadsheetMessage) {
    grid.setSpreadsheetOpener([](const QString &path) {
        QFile::remove(path);
        return false; // no application for .xlsx
    });
    grid.SendExel("a", "b", "c", "d");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].title, "Korvane");
    EXPECT_EQ(messages.boxes[0].icon, Messages::Icon::Information);
    EXPECT_EQ(messages.boxes[0].text, "Excell Yüklü Değil veya Desteklenmeyen Versiyon");
    EXPECT_FALSE(grid.writeExel(dir.filePath("no/such/folder/x.xlsx"), "", "", "", ""));
}

} // namespace
