// The office's own files in and out: CSV dialects, spreadsheets as
// LibreOffice and openpyxl save them, bad files refused whole with their
// line numbers, the round trip through koop-cli, and an opening balance as
// the statement shows it.
#include "actions/integration/integrationaction.h"
#include "actions/statement/statementaction.h"
#include "actions/transfer/tablefile.h"
#include "actions/transfer/transferaction.h"
#include "data/prices.h"
#include "support/fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <zip.h>

namespace {

using namespace Qt::StringLiterals;

// The rows as "line:cell|cell", one per row, then the fault if any; a
// number as "#value", then ">shown" when the sheet shows it otherwise, and
// a cell without a value as "!fault".
QString shown(const tablefile::Table &t) {
    QStringList out{t.source};
    for (const auto &r : t.rows) {
        QStringList cells;
        for (const auto &c : r.cells)
            cells << (c.number ? u"#"_s : QString()) + c.text +
                         (c.shown.isEmpty() ? QString() : u'>' + c.shown) +
                         (c.fault.isEmpty() ? QString() : u'!' + c.fault);
        out << QString::number(r.line) + u':' + cells.join(u'|') +
                   (r.fault.isEmpty() ? QString() : u" !"_s + r.fault);
    }
    return out.join(u" / "_s);
}

TEST(TableFile, ReadsCsvAsOfficesWriteIt) {
    const struct {
        QByteArray bytes;
        const char *expected;
    } cases[] = {
        {"kod,isim1\n0001,Ayşe\n", "CSV, UTF-8, ayraç ',' / 1:kod|isim1 / 2:0001|Ayşe"},
        // Windows-1254 from an old program: Ş and ı are single bytes.
        {"kod;isim1\r\n0001;\xDE\x65n \xFD\x15\r\n\r\n",
         "CSV, Windows-1254, ayraç ';' / 1:kod|isim1 / 2:0001|Şen ı\x15"},
        {"\xEF\xBB\xBFkod\tadr1\n0002\t\"Gül Sok. 3\nD:4\"\n0003\t\"\"\"Çarşı\"\"\"\n",
         "CSV, UTF-8, ayraç sekme / 1:kod|adr1 / 2:0002|Gül Sok. 3\nD:4 / 4:0003|\"Çarşı\""},
        // A typographic apostrophe after Ş is DE 92, a UTF-8 character.
        {"kod;isim1\r\n0001;BAYKU\xDE\x92UN \xC7iftli\xF0i\r\n",
         "CSV, Windows-1254, ayraç ';' / 1:kod|isim1 / 2:0001|BAYKUŞ’UN Çiftliği"},
        // A stray byte in a file with a BOM is that line's fault; without
        // one the file is Windows-1254, and UTF-8 letters in it are refused.
        {"\xEF\xBB\xBFkod,isim1\n0001,Öz\n0002,B\xFFy\n",
         "CSV, UTF-8, ayraç ',' / 1:kod|isim1 / 2:0001|Öz / 3:0002|B\uFFFDy !geçersiz UTF-8"},
        {"kod,isim1\n0001,Öz\n0002,B\xFFy\n",
         "CSV, Windows-1254, ayraç ',' / 1:kod|isim1 / 2:0001|Ã–z !UTF-8 harfi var, ama dosyanın "
         "tamamı UTF-8 değil / 3:0002|Bÿy"},
        // A title line without separators does not decide them.
        {"Üye Listesi\nkod;isim1\n0001;Ali, Veli\n",
         "CSV, UTF-8, ayraç ';' / 1:Üye Listesi / 2:kod|isim1 / 3:0001|Ali, Veli"},
        {"kod,isim1\n0001,\"Ali\n", "CSV, UTF-8, ayraç ',' / 1:kod|isim1 / 2:0001|Ali\n "
                                    "!kapanmamış tırnak"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(shown(tablefile::readCsv(c.bytes)), QString::fromUtf8(c.expected)) << c.expected;
}

// A part of a spreadsheet's zip archive; `blankMiB` MiB of blanks follow
// its text.
struct Part {
    const char *name;
    QByteArray text;
    int blankMiB = 0;
};

void writeZip(const QString &path, const std::vector<Part> &parts) {
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    ASSERT_TRUE(zip);
    const QByteArray blanks(1024 * 1024, ' ');
    for (const Part &p : parts) {
        ASSERT_EQ(zipOpenNewFileInZip(zip, p.name, nullptr, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, Z_BEST_SPEED),
                  ZIP_OK);
        zipWriteInFileInZip(zip, p.text.constData(), unsigned(p.text.size()));
        for (int i = 0; i < p.blankMiB; ++i)
            zipWriteInFileInZip(zip, blanks.constData(), unsigned(blanks.size()));
        zipCloseFileInZip(zip);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

QByteArray zipped(const std::vector<Part> &parts) {
    QTemporaryDir dir;
    writeZip(dir.filePath(u"z"_s), parts);
    QFile f(dir.filePath(u"z"_s));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const Part Workbook{
    "xl/workbook.xml",
    R"(<workbook xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="Sayfa1" r:id="rId1"/><sheet name="Üyeler" r:id="rId2"/></sheets>)"
    R"(</workbook>)"};
const Part Relations{"xl/_rels/workbook.xml.rels",
                     R"(<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/>)"
                     R"(<Relationship Id="rId2" Target="/xl/worksheets/sheet2.xml"/>)"
                     R"(</Relationships>)"};
// Style 1 shows whole numbers in four digits, as a code column is kept.
const Part Styles{"xl/styles.xml",
                  R"(<styleSheet><numFmts><numFmt numFmtId="164" formatCode="0000"/></numFmts>)"
                  R"(<cellStyleXfs><xf numFmtId="164"/></cellStyleXfs><cellXfs><xf numFmtId="0"/>)"
                  R"(<xf numFmtId="164" applyNumberFormat="1"/></cellXfs></styleSheet>)"};

// A workbook of two sheets, "Sayfa1" and "Üyeler", of the given rows.
std::vector<Part> xlsx(const QByteArray &first, const QByteArray &second = {}) {
    const auto sheet = [](const QByteArray &rows) {
        return "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
    };
    return {Workbook,
            Relations,
            Styles,
            {"xl/worksheets/sheet1.xml", sheet(first)},
            {"xl/worksheets/sheet2.xml", sheet(second)}};
}

// As spreadsheets save them: the sheet asked for is the second, its target
// absolute; rich-text and inline strings, a cell without a reference, a
// number with binary noise, a code under a "0000" format, a formula saved
// without its value, rows missing or repeated, a merge's covered cell,
// notes; small files that unpack far beyond what a sheet may be.
TEST(TableFile, ReadsSpreadsheetsAsTheyAreSaved) {
    std::vector<Part> book = xlsx(
        R"(<row r="1"><c t="inlineStr"><is><t>not</t></is></c></row>)",
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c )"
        R"(t="inlineStr"><is><t>fiat1</t></is></c></row><row r="2"><c r="A2" s="1"><v>7</v></c>)"
        R"(<c r="B2"><f>A1*2</f></c><c><f>A1*3</f><v/></c></row><row r="3"/><row r="4">)"
        R"(<c r="A4" t="str"><v>0001</v></c><c r="C4"><v>120.49999999999999</v></c>)"
        R"(<c r="B4" t="inlineStr"><is><t>Ayşe &amp; Can</t></is></c></row>)");
    book.push_back({"xl/sharedStrings.xml",
                    R"(<sst><si><t>kod</t></si><si><r><t>Adı </t></r>)"
                    R"(<r><t>Soyadı</t></r><rPh><t>x</t></rPh></si></sst>)"});
    const QByteArray content =
        R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0")"
        R"( xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0")"
        R"( xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body>)"
        R"(<office:spreadsheet><table:table table:name="Notlar"><table:table-row>)"
        R"(<table:table-cell><text:p>not</text:p></table:table-cell></table:table-row>)"
        R"(</table:table><table:table table:name="Üyeler">)"
        R"(<table:table-column table:number-columns-repeated="4"/><table:table-header-rows>)"
        R"(<table:table-row><table:table-cell office:value-type="string"><text:p>kod</text:p>)"
        R"(</table:table-cell><table:table-cell><text:p>Adı<text:s text:c="2"/>Soyadı</text:p>)"
        R"(</table:table-cell><table:table-cell><text:p>fiat1</text:p><office:annotation>)"
        R"(<text:p>not</text:p></office:annotation></table:table-cell></table:table-row>)"
        R"(</table:table-header-rows><table:table-row table:number-rows-repeated="2">)"
        R"(<table:table-cell/></table:table-row><table:table-row><table:table-cell )"
        R"(office:value-type="float" office:value="1"><text:p>0001</text:p></table:table-cell>)"
        R"(<table:table-cell table:number-columns-spanned="2"><text:p>Ayşe</text:p><text:p>)"
        R"(&amp; Can</text:p></table:table-cell><table:covered-table-cell><text:p>gizli)"
        R"(</text:p></table:covered-table-cell><table:table-cell table:formula="of:=[.A1]*2"/>)"
        R"(</table:table-row><table:table-row table:number-rows-repeated="2"><table:table-cell )"
        R"(table:number-columns-repeated="2"><text:p>x</text:p></table:table-cell>)"
        R"(<table:table-cell office:value-type="float" office:value="120.5"><text:p>120,50)"
        R"(</text:p></table:table-cell></table:table-row><table:table-row )"
        R"(table:number-rows-repeated="1048570"><table:table-cell )"
        R"(table:number-columns-repeated="16384"/></table:table-row></table:table>)"
        R"(</office:spreadsheet></office:body></office:document-content>)";
    const Part mimetype{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"};
    // One row of 16,384 cells, repeated a million times.
    QByteArray repeats = content.left(content.indexOf("<table:table table:name"));
    repeats += R"(<table:table><table:table-row table:number-rows-repeated="1000000">)"
               R"(<table:table-cell table:number-columns-repeated="16384"><text:p>x</text:p>)"
               R"(</table:table-cell></table:table-row></table:table></office:spreadsheet>)"
               R"(</office:body></office:document-content>)";
    const auto formula = u"!formül; değeri kayıtlı değil — dosyayı kaydedip yeniden deneyin"_s;
    const struct {
        std::vector<Part> parts;
        QString sheet;
        QString expected; // the rows, or why the file is refused
    } cases[] = {
        {book, u"üyeler"_s,
         u"XLSX, sayfa 'Üyeler' / 1:kod|Adı Soyadı|fiat1 / 2:#7>0007|"_s + formula + u'|' +
             formula + u" / 4:0001|Ayşe & Can|#120.49999999999999"_s},
        {book, u"Fiyatlar"_s, u"'Fiyatlar' adlı sayfa yok. Sayfalar: Sayfa1, Üyeler"_s},
        {{mimetype, {"content.xml", content}},
         u"üyeler"_s,
         u"ODS, sayfa 'Üyeler' / 1:kod|Adı  Soyadı|fiat1 / 4:#1>0001|Ayşe\n& Can||"_s + formula +
             u" / 5:x|x|#120.5>120,50 / 6:x|x|#120.5>120,50"_s},
        {{mimetype, {"content.xml", content}},
         u"Fiyatlar"_s,
         u"'Fiyatlar' adlı sayfa yok. Sayfalar: Notlar, Üyeler"_s},
        {{Workbook, Relations, {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>", 136}},
         {},
         u"XLSX dosyasındaki 'xl/worksheets/sheet1.xml' açıldığında 128 MB'tan büyük; bu kadar "
         "büyük bir tablo okunmaz."_s},
        {{mimetype, {"content.xml", repeats}},
         {},
         u"ODS dosyasındaki 'content.xml' çok fazla hücre tutuyor (bellekte 256 MB'tan fazla); bu "
         "kadar büyük bir tablo okunmaz."_s},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        const QString path = dir.filePath(u"a"_s);
        QFile::remove(path);
        writeZip(path, c.parts);
        QString error;
        const auto table = tablefile::read(path, c.sheet, &error);
        EXPECT_EQ(table ? shown(*table) : error, c.expected);
    }
}

class Transfer : public SessionTest {
  protected:
    Transfer() {
        addCard(u"0001"_s, u"Ayşe Yılmaz"_s);
        addCard(u"0002"_s, u"Ali Kaya"_s);
        data::Settings settings;
        settings.ack = {u"Aidat"_s, u"Yakıt"_s, u"Su"_s, u"Otopark"_s, u"Demirbaş"_s};
        EXPECT_TRUE(data::storeSettings(session.ayar, settings));
    }
    QString file(const QString &name, const QByteArray &bytes = {}) {
        const QString path = QDir(company.folder()).filePath(name);
        if (!bytes.isEmpty()) {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        return path;
    }
    QByteArray contents(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Everything an import could touch, so that a refusal shows it wrote nothing.
    QString state() {
        return QStringList{value("SELECT count(*) FROM carkart").toString(),
                           value("SELECT count(*) FROM carhar").toString(),
                           value("SELECT sum(borc1) FROM carkart").toString(),
                           value("SELECT count(*) FROM fiat", "dalun.dat").toString()}
            .join(u',');
    }
    ProcessResult cli(const QStringList &args) { return runProgram(u"koop-cli"_s, args); }
};

TEST_F(Transfer, RefusesABadFileWholeWithEachBadLine) {
    addLedgerItem(u"0002"_s, today, today, 0, 4, "10", u"Aidat"_s, {}, u"1"_s);
    const QString before = state();
    const struct {
        transfer::Kind kind;
        QByteArray bytes;
        const char *faults;
    } cases[] = {
        {transfer::Kind::Members, "kod,isim1,renk\n0003,Can,mavi\n",
         "Satır 1: bilinmeyen sütun 'renk'"},
        {transfer::Kind::Members, "isim1\nCan\n", "Satır 1: 'kod' sütunu yok"},
        {transfer::Kind::Members,
         "\xEF\xBB\xBFKod;Adı Soyadı;Grup;asd\n0003;" + QByteArray(51, 'a') +
             ";A;0\n0004;Can;ÇOK UZUN GRUP;5\n;Boş;;\n0005;Ece;;\n0005;Ece;;\n0001;Var;;\n"
             "0006;B\xFFy;;\n",
         "Satır 2: 'isim1' 51 karakter; en çok 50 olabilir | Satır 3: 'grp' 13 karakter; en çok "
         "10 olabilir | Satır 3: 'asd' 0, 1 ya da 2 olmalı: '5' | Satır 4: kod boş | Satır 6: "
         "'0005' kodu dosyada iki kez var (ilki satır 5) | Satır 7: '0001' kodu kayıtlı | Satır 8: "
         "geçersiz UTF-8"},
        {transfer::Kind::Prices, "kod,fiat1,Su\n0001,12a,5\n0002,-3,1\n0009,1,1\n123456789,1,1\n",
         "Satır 2: 'fiat1' bir tutar değil: '12a' | Satır 3: 'fiat1' eksi olamaz: '-3' | Satır 4: "
         "'0009' kodlu cari kart yok | Satır 5: 'kod' 9 karakter; en çok 8 olabilir"},
        {transfer::Kind::Balances, "kod,bakiye1,Aidat\n0001,5,5\n",
         "Satır 1: 'bakiye1' sütunu iki kez var"},
        {transfer::Kind::Balances, "kod,Aidat,diger\n0001,1.2.3,\n0002,10,\n",
         "Satır 2: 'bakiye1' bir tutar değil: '1.2.3' | Satır 3: '0002' hesabında hareket var"},
        // Nothing in the column tells whether the comma groups thousands.
        {transfer::Kind::Prices, "kod;fiat1;fiat2\n0001;1,250;12.5\n0002;2;1,5\n",
         "Satır 2: 'fiat1' '1,250' iki türlü okunabilir: ondalık ayracı nokta ise 1250, virgül "
         "ise 1.25; hangisi olduğunu --decimal . ya da --decimal , söyler"},
        {transfer::Kind::Members, QByteArray("kod,isim1\n0003,A@li\n00@4,Can\n").replace('@', '\0'),
         "Satır 2: 'isim1' NUL karakteri içeriyor | Satır 3: 'kod' NUL karakteri içeriyor"},
        // A title above the headings is passed over; an unknown column is not.
        {transfer::Kind::Members, "Üye Listesi;;\nSıra No;kod;isim1\n1;0003;Can\n",
         "Satır 2: bilinmeyen sütun 'Sıra No'"},
        {transfer::Kind::Prices,
         zipped(xlsx(R"(<row r="1"><c t="inlineStr"><is><t>kod</t></is></c><c t="inlineStr">)"
                     R"(<is><t>fiat1</t></is></c></row><row r="2"><c t="inlineStr"><is><t>0001)"
                     R"(</t></is></c><c r="B2"><f>A1*2</f></c></row>)")),
         "Satır 2: 'fiat1' formül; değeri kayıtlı değil — dosyayı kaydedip yeniden deneyin"},
    };
    for (const auto &c : cases) {
        const auto report = transfer::importFile(
            session, {.kind = c.kind, .path = file(u"bad.csv"_s, c.bytes), .date = today});
        ASSERT_TRUE(report) << c.faults;
        EXPECT_EQ(report->faults.join(u" | "_s), QString::fromUtf8(c.faults));
        EXPECT_FALSE(report->written);
        EXPECT_EQ(state(), before) << c.faults;
    }
}

// Each amount as its column shows it to be written, a code as the sheet
// shows it, the headings below a title, the columns not read named first.
TEST_F(Transfer, DryRunShowsEachLineAsRead) {
    const struct {
        transfer::Kind kind;
        QByteArray bytes;
        QChar decimal;
        const char *expected;
    } cases[] = {
        {transfer::Kind::Prices,
         "kod;fiat1;fiat2\n0001;1.250;12,5\n0002;1.250,50;3\n",
         {},
         "CSV, UTF-8, ayraç ';' | Satır 2: 0001 eklenecek: Aidat 1250, Yakıt 12.5 | Satır 3: 0002 "
         "eklenecek: Aidat 1250.5, Yakıt 3"},
        {transfer::Kind::Prices, "kod;fiat1\n0001;1.250\n", u'.',
         "CSV, UTF-8, ayraç ';' | Satır 2: 0001 eklenecek: Aidat 1.25"},
        {transfer::Kind::Members,
         zipped(xlsx(R"(<row r="1"><c t="inlineStr"><is><t>kod</t></is></c></row><row r="2">)"
                     R"(<c s="1"><v>3</v></c></row>)")),
         {},
         "XLSX, sayfa 'Sayfa1' | Satır 2: 0003 eklenecek"},
    };
    for (const auto &c : cases) {
        const auto report = transfer::importFile(
            session,
            {.kind = c.kind, .path = file(u"a"_s, c.bytes), .decimal = c.decimal, .dryRun = true});
        ASSERT_TRUE(report) << c.expected;
        EXPECT_EQ((QStringList{report->source} + report->faults + report->plan).join(u" | "_s),
                  QString::fromUtf8(c.expected));
    }
    const auto dry = cli({u"import"_s, company.folder(), u"prices"_s,
                          file(u"f.csv"_s, "Fiyatlar;;;\nSıra No;Kod;Aidat;Not\n1;0002;1.250;x\n"),
                          u"--dry-run"_s, u"--decimal"_s, u","_s, u"--ignore-column"_s,
                          u"sıra no"_s, u"--ignore-unknown-columns"_s});
    EXPECT_EQ(dry.out, u"Okunan: CSV, UTF-8, ayraç ';'; başlıklar 2. satırda; okunmayan sütunlar: "
                       "Sıra No, Not\nSatır 3: 0002 eklenecek: Aidat 1250\nDeneme: 1 eklenecek, 0 "
                       "güncellenecek, 0 atlanacak; hiçbir kayıt yazılmadı.\n"_s);
}

TEST_F(Transfer, ExportImportExportGivesTheSameFiles) {
    addCard(u"0003"_s, u"Şule \"Kısa\", Öztürk"_s, {}, 2);
    ASSERT_TRUE(data::storePrices(session.fiat, u"0001"_s,
                                  {Money::fromWhole(850), *Money::parse("120.5"), Money(),
                                   *Money::parse("0.0001"), Money()}));
    addLedgerItem(u"0001"_s, today, today, 0, 4, "850", u"Aidat"_s, {}, u"1"_s);
    addLedgerItem(u"0001"_s, today, today, 1, 1, "900.25", u"Tahsilat"_s);
    addLedgerItem(u"0002"_s, today, today, 1, 1, "30", u"Su"_s, {}, u"03"_s);
    const QString dir = company.folder();
    for (const char *format : {"csv", "xlsx"}) {
        for (const char *kind : {"members", "prices", "balances"}) {
            const QString k = QString::fromLatin1(kind), f = QString::fromLatin1(format);
            const QString first = file(k + u"1."_s + f), second = file(k + u"2."_s + f);
            ASSERT_EQ(cli({u"export"_s, dir, k, u"--format"_s, f, u"--out"_s, first}).exitCode, 0);
            if (k == u"balances") {
                // Balances go back in over an empty ledger.
                QSqlDatabase db = company.connect(u"clear"_s, u"xdata.dat"_s);
                QSqlQuery(db).exec(u"DELETE FROM carhar"_s);
                QSqlQuery(db).exec(u"UPDATE carkart SET borc1 = 0, alacak1 = 0"_s);
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(u"clear"_s);
            }
            const QStringList how = k == u"balances"
                                        ? QStringList{u"--date"_s, u"15.03.2026"_s}
                                        : QStringList{u"--on-duplicate"_s, u"update"_s};
            EXPECT_EQ(cli(QStringList{u"import"_s, dir, k, first} + how).exitCode, 0)
                << kind << format;
            ASSERT_EQ(cli({u"export"_s, dir, k, u"--format"_s, f, u"--out"_s, second}).exitCode, 0);
            EXPECT_EQ(contents(first), contents(second)) << kind << format;
        }
    }
    EXPECT_EQ(contents(file(u"balances1.csv"_s)),
              "kod,bakiye1,bakiye2,bakiye3,bakiye4,bakiye5,diger\n0001,850,,,,,-900.25\n"
              "0002,,,-30,,,\n");
    EXPECT_EQ(contents(file(u"members1.csv"_s)).split('\n').at(3),
              "0003,\"Şule \"\"Kısa\"\", Öztürk\",,,,,,,,2,");

    // A spreadsheet shows the screens' headings, each with its field name as
    // its note, and amounts with two decimals.
    QString error;
    const auto prices = tablefile::read(file(u"prices1.xlsx"_s), {}, &error);
    ASSERT_TRUE(prices) << error.toStdString();
    QStringList headings;
    for (const tablefile::Cell &c : prices->rows.front().cells)
        headings << c.text;
    EXPECT_EQ(headings.join(u'|'), u"Kod|Aidat|Yakıt|Su|Otopark|Demirbaş"_s);
    const auto part = [&](const char *name) {
        QProcess unzip;
        unzip.start(u"unzip"_s, {u"-p"_s, file(u"prices1.xlsx"_s), QString::fromLatin1(name)});
        unzip.waitForFinished();
        return unzip.readAllStandardOutput();
    };
    EXPECT_TRUE(part("xl/comments1.xml").contains("fiat5"));
    EXPECT_TRUE(part("xl/styles.xml").contains("#,##0.00"));
}

TEST_F(Transfer, OpeningBalanceIsInTheStatementAtOnce) {
    const QString path = file(u"devir.csv"_s, "Kod;Aidat;Su;Diğer\n0001;1.250,50;;-20\n0002;;;\n");
    const auto dry = cli({u"import"_s, company.folder(), u"balances"_s, path, u"--dry-run"_s,
                          u"--date"_s, u"01.01.2026"_s});
    EXPECT_EQ(dry.exitCode, 0);
    EXPECT_EQ(dry.out, u"Okunan: CSV, UTF-8, ayraç ';'\n"
                       "Satır 2: 0001 devir: Aidat borç 1250.5, diğer alacak 20\n"
                       "Satır 3: 0002 bakiyesi sıfır, atlanacak\n"
                       "Deneme: 1 eklenecek, 0 güncellenecek, 1 atlanacak; hiçbir kayıt "
                       "yazılmadı.\n"_s);
    EXPECT_EQ(count("carhar"), 0);

    QString progress;
    const auto report =
        transfer::importFile(session, {.kind = transfer::Kind::Balances,
                                       .path = path,
                                       .date = QDate(2026, 1, 1),
                                       .progress = [&progress](int done, int count) {
                                           progress +=
                                               QStringLiteral(" %1/%2").arg(done).arg(count);
                                       }});
    ASSERT_TRUE(report && report->written);
    EXPECT_EQ(progress, u" 0/1 1/1"_s);
    EXPECT_EQ(report->ledgerRows, 2);
    QStringList rowsText;
    for (const auto &r : rows("SELECT kod, islem, ba, tutar, kod1, ack, refer FROM carhar "
                              "ORDER BY id"))
        rowsText << joined(r).left(joined(r).lastIndexOf(u'|')) + u'|' +
                        QString::number(r.value(6).toString().size());
    EXPECT_EQ(rowsText.join(u"; "_s), u"0001|2|0|12505000|1|Devir|8; 0001|2|1|200000||Devir|8"_s);
    EXPECT_EQ(joined(rows("SELECT borc1, alacak1 FROM carkart WHERE kod = '0001'").front()),
              u"12505000|200000"_s);

    const auto st = statement::compute(session, u"0001"_s, QDate(2026, 1, 31), 0, 0);
    ASSERT_TRUE(st);
    EXPECT_EQ(st->rows.front().ack, u"Devir"_s);
    EXPECT_EQ(st->rows.back().kalan, *Money::parse("1230.5"));
    const auto list = cli({u"general-list"_s, company.folder(), u"--date"_s, u"31.01.2026"_s,
                           u"--format"_s, u"csv"_s});
    EXPECT_TRUE(list.out.contains(u"\n0001,Ayşe Yılmaz,1251,20,0,1231\n"_s))
        << list.out.toStdString();
    // The suite has its own opening balances: neither the month's debts nor
    // the cash collections hand these over.
    EXPECT_EQ(integration::postMonthlyDebts(session, u"2026"_s, 1, u"600"_s, u"Aidat"_s), 0);
    EXPECT_EQ(integration::postCollections(session, u"01.01.2026"_s, u"31.01.2026"_s, u"100"_s,
                                           u"Kasa"_s),
              0);
    EXPECT_EQ(count("ent"), 0);
}

// The samples the README brings in, as an office starts with them.
TEST_F(Transfer, TheShippedSamplesComeInWhole) {
    const struct {
        transfer::Kind kind;
        const char *file;
        int added, updated;
    } samples[] = {{transfer::Kind::Members, "ornek-uyeler.csv", 2, 2},
                   {transfer::Kind::Prices, "ornek-fiyatlar.csv", 4, 0},
                   {transfer::Kind::Balances, "ornek-devir.csv", 3, 0}};
    for (const auto &sample : samples) {
        const auto report = transfer::importFile(
            session, {.kind = sample.kind,
                      .path = QStringLiteral(KOOP_SOURCE_DIR "/docs/") + sample.file,
                      .onDuplicate = transfer::OnDuplicate::Update,
                      .date = QDate(2027, 1, 1)});
        ASSERT_TRUE(report) << sample.file;
        EXPECT_TRUE(report->written) << report->faults.join(u'\n').toStdString();
        EXPECT_EQ(report->added, sample.added) << sample.file;
        EXPECT_EQ(report->updated, sample.updated) << sample.file;
    }
}

TEST_F(Transfer, CommandLineRefusals) {
    const QString dir = company.folder(), csv = file(u"m.csv"_s, "kod\n0009\n");
    const struct {
        QStringList args;
        int exit;
        const char *says;
    } cases[] = {
        {{u"import"_s, dir, u"cards"_s, csv}, 2, "Kullanım"},
        {{u"import"_s, dir, u"balances"_s, csv}, 2, "Kullanım"},
        {{u"import"_s, dir, u"balances"_s, csv, u"--date"_s, u"01.01.2026"_s, u"--on-duplicate"_s,
          u"update"_s},
         2,
         "güncellenemez"},
        {{u"import"_s, dir, u"members"_s, csv, u"--sheet"_s, u"Üyeler"_s}, 1, "yalnız XLSX"},
        {{u"import"_s, dir, u"members"_s, file(u"yok.csv"_s)}, 1, "Dosya açılamadı"},
        {{u"import"_s, dir, u"members"_s, file(u"x.xlsx"_s, "PK\x03\x04garbage")},
         1,
         "XLSX ya da ODS dosyası açılamadı"},
        {{u"import"_s, dir, u"prices"_s, csv, u"--decimal"_s, u";"_s}, 2, "--decimal , ya da ."},
        {{u"export"_s, dir, u"members"_s}, 2, "Kullanım"},
        {{u"export"_s, dir, u"members"_s, u"--format"_s, u"ods"_s, u"--out"_s, csv}, 2, "csv"},
    };
    for (const auto &c : cases) {
        const auto r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.messages.join(u'\n').contains(QString::fromUtf8(c.says)))
            << r.messages.join(u'\n').toStdString();
    }
    EXPECT_EQ(count("carkart"), 2);
}

} // namespace
