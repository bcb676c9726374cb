// The grid's spreadsheet export, read back from the .xlsx it writes (a zip
// of XML parts, opened with the unzip command).
#include "base/messages.h"
#include "controls/dclist.h"
#include "support/qtprint.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace {

// The cells of the first sheet, each with its text and the font and number
// format of its style.
class Workbook {
  public:
    explicit Workbook(const QString &zip) {
        QStringList shared;
        std::vector<std::pair<bool, double>> fonts; // bold, size
        std::vector<std::pair<int, int>> xfs;       // font, number format
        std::map<int, QString> formats;
        QString section, ref;
        read(zip, "xl/sharedStrings.xml", [&](QXmlStreamReader &r) {
            if (r.name() == u"si")
                shared << QString();
            else if (r.name() == u"t")
                shared.last() += r.readElementText();
        });
        read(zip, "xl/styles.xml", [&](QXmlStreamReader &r) {
            const auto a = r.attributes();
            if (r.name() == u"fonts" || r.name() == u"cellXfs" || r.name() == u"cellStyleXfs")
                section = r.name().toString();
            else if (r.name() == u"numFmt")
                formats[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
            else if (section == u"fonts" && r.name() == u"font")
                fonts.push_back({false, 0});
            else if (section == u"fonts" && r.name() == u"b")
                fonts.back().first = true;
            else if (section == u"fonts" && r.name() == u"sz")
                fonts.back().second = a.value("val").toDouble();
            else if (section == u"cellXfs" && r.name() == u"xf")
                xfs.push_back({a.value("fontId").toInt(), a.value("numFmtId").toInt()});
        });
        read(zip, "xl/workbook.xml", [&](QXmlStreamReader &r) {
            if (r.name() == u"sheet" && m_tab.isEmpty())
                m_tab = r.attributes().value("name").toString();
        });
        read(zip, "xl/worksheets/sheet1.xml", [&](QXmlStreamReader &r) {
            if (r.name() == u"col") {
                const auto a = r.attributes();
                for (int c = a.value("min").toInt(); c <= a.value("max").toInt(); ++c)
                    m_widths[c] = int(a.value("width").toDouble());
            } else if (r.name() == u"c") {
                ref = r.attributes().value("r").toString();
                const auto [font, format] = xfs.at(r.attributes().value("s").toUInt());
                m_cells[ref] = {r.attributes().value("t").toString(), QString(),
                                formats.count(format) ? formats[format] : QString::number(format),
                                fonts.at(size_t(font)).first, fonts.at(size_t(font)).second};
            } else if (r.name() == u"v") {
                Cell &c = m_cells[ref];
                c.text = r.readElementText();
                if (c.type == u"s")
                    c.text = shared.value(c.text.toInt());
            }
        });
    }

    // Every cell: its reference, "=" and the value of a number or the text,
    // the number format other than General, "bold".
    QStringList cells() const {
        QStringList out;
        for (const auto &[ref, c] : m_cells) {
            const bool number = c.type.isEmpty() || c.type == u"n";
            QString line = ref + u' ' + (number ? u'=' + c.text : c.text);
            if (c.format != u"0")
                line += QStringLiteral(" [%1]").arg(c.format);
            out << (c.bold ? line + QStringLiteral(" bold") : line);
        }
        return out;
    }
    QString tab() const { return m_tab; }
    // Each column's width in characters, from the first; 0 for the default.
    QList<int> widths(int columns) const {
        QList<int> out;
        for (int c = 1; c <= columns; ++c)
            out << (m_widths.count(c) ? m_widths.at(c) : 0);
        return out;
    }
    double fontSize(const QString &ref) const {
        const auto it = m_cells.find(ref);
        return it == m_cells.end() ? 0 : it->second.size;
    }

  private:
    struct Cell {
        QString type, text, format;
        bool bold = false;
        double size = 0;
    };
    // Calls `start` on every opening tag of one part of the zip.
    static void read(const QString &zip, const char *part,
                     const std::function<void(QXmlStreamReader &)> &start) {
        QProcess unzip;
        unzip.start("unzip", {"-p", zip, QString::fromLatin1(part)});
        unzip.waitForFinished();
        QXmlStreamReader r(unzip.readAllStandardOutput());
        while (!r.atEnd())
            if (r.readNext() == QXmlStreamReader::StartElement)
                start(r);
    }
    std::map<QString, Cell> m_cells;
    std::map<int, int> m_widths;
    QString m_tab;
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

    // Codes stay text, numbers and dates are typed cells, a date cell whose
    // text is no date is left empty.
    EXPECT_EQ(book.cells(), QStringList({"A1 ÜYE LİSTESİ bold",
                                         "A2 =46086 [dd.mm.yyyy]",
                                         "A3 Grup: A",
                                         "A4 Kod bold",
                                         "A5 00001",
                                         "A6 Çağlar",
                                         "B4 Tutar bold",
                                         "B5 =1234.5 [#,##0.00]",
                                         "B6 =0 [#,##0.00]",
                                         "B7 =250 [#,##0.00]",
                                         "C4 Vade bold",
                                         "C5 =46086 [dd.mm.yyyy]",
                                         "C7 =46088 [dd.mm.yyyy]",
                                         "D4 Var bold",
                                         "D5 True",
                                         "D6 False",
                                         "E3 Sayfa 1",
                                         "E4 Kalan bold",
                                         "E5 =12.5 [0.00]",
                                         "E7 =-3 [0.00]"}));
    // The tab is named, each column as wide as its widest cell: a date in
    // full, an amount with its marks, never "####".
    EXPECT_EQ(book.tab(), "ÜYE LİSTESİ");
    EXPECT_EQ(book.widths(5), (QList<int>{12, 10, 12, 7, 7}));
    for (const char *ref : {"A4", "B4", "C4", "D4", "E4"})
        EXPECT_EQ(book.fontSize(ref), grid.headerFont().pointSizeF()) << ref;

    // An empty grid: titles and captions only.
    grid.Clear();
    ASSERT_TRUE(grid.writeExel(path, "Başlık", "Mart 2026", "", ""));
    EXPECT_EQ(Workbook(path).cells(),
              QStringList({"A1 Başlık bold", "A2 Mart 2026", "A4 Kod bold", "B4 Tutar bold",
                           "C4 Vade bold", "D4 Var bold", "E4 Kalan bold"}));
}

TEST_F(ExportGrid, CtrlEOpensATemporaryFileOrSaysThereIsNoSpreadsheet) {
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
    EXPECT_TRUE(QFileInfo(opened).absolutePath().startsWith(
        QFileInfo(QDir::tempPath()).absoluteFilePath() + "/koop-tablo-"));
    EXPECT_TRUE(messages.boxes.empty());
    const Workbook book(opened);
    EXPECT_EQ(book.cells(),
              QStringList({"A4 Kod bold", "A5 00001", "B4 Tutar bold", "B5 =10 [#,##0.00]",
                           "C4 Vade bold", "D4 Var bold", "E4 Kalan bold"})); // no titles
    QFile::remove(opened);

    // No program for .xlsx: the file is kept among the documents and the
    // message says where; nothing stays behind in the temporary folder.
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", dir.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath(".config").toUtf8());
    QString offered;
    grid.setSpreadsheetOpener([&](const QString &path) {
        offered = path;
        return false;
    });
    grid.SendExel("ÜYE: LİSTE", "b", "c", "d");
    qputenv("HOME", home);
    config.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", config);
    ASSERT_EQ(messages.boxes.size(), 1u);
    const QString text = messages.lastText();
    const QString prefix =
        "Excell Yüklü Değil veya Desteklenmeyen Versiyon\nTablo dosyası kaydedildi: " +
        dir.filePath("Documents/ÜYE LİSTE ");
    EXPECT_TRUE(text.startsWith(prefix)) << text.toStdString();
    EXPECT_EQ(Workbook(text.mid(text.indexOf(": ") + 2)).tab(), "ÜYE LİSTE");
    EXPECT_FALSE(QFile::exists(offered));
    EXPECT_EQ(messages.boxes.back().title, "Korvane");
    EXPECT_EQ(messages.boxes.back().icon, Messages::Icon::Information);

    // A write that fails says why.
    QString error;
    EXPECT_FALSE(grid.writeExel(dir.filePath("no/such/folder/x.xlsx"), "", "", "", "", &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
