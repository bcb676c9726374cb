// The office's own files in and out: CSV dialects, bad files refused whole
// with their line numbers, the round trip through koop-cli, and an opening
// balance as the statement shows it.
#include "data/prices.h"
#include "posting/fixture.h"
#include "screens/statement/statementaction.h"
#include "screens/transfer/tablefile.h"
#include "screens/transfer/transferaction.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <zip.h>

namespace {

using namespace Qt::StringLiterals;

// The rows as "line:cell|cell", one per row, then the fault if any.
QString shown(const tablefile::Table &t) {
    QStringList out{t.source};
    for (const auto &r : t.rows) {
        QStringList cells;
        for (const auto &c : r.cells)
            cells << c.text;
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
        // A stray byte in a UTF-8 file is that line's fault, not a code page.
        {"kod,isim1\n0001,Öz\n0002,B\xFFy\n", "CSV, UTF-8, ayraç ',' / 1:kod|isim1 / 2:0001|Öz / "
                                              "3:0002|B\uFFFDy !geçersiz UTF-8"},
        {"kod,isim1\n0001,\"Ali\n", "CSV, UTF-8, ayraç ',' / 1:kod|isim1 / 2:0001|Ali\n "
                                    "!kapanmamış tırnak"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(shown(tablefile::readCsv(c.bytes)), QString::fromUtf8(c.expected)) << c.expected;
}

// An .xlsx as other spreadsheets write it: the sheet asked for is the
// second, its target absolute; rich-text and inline strings, a cell without
// a reference, a number with binary noise, rows missing in between.
TEST(TableFile, ReadsXlsxAsSpreadsheetsWriteIt) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(u"a.xlsx"_s));
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    const auto add = [zip](const char *name, const QByteArray &xml) {
        ASSERT_EQ(zipOpenNewFileInZip(zip, name, nullptr, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        zipWriteInFileInZip(zip, xml.constData(), unsigned(xml.size()));
        zipCloseFileInZip(zip);
    };
    add("xl/workbook.xml",
        R"(<workbook xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<sheets><sheet name="Notlar" r:id="rId1"/><sheet name="Üyeler" r:id="rId2"/></sheets>)"
        R"(</workbook>)");
    add("xl/_rels/workbook.xml.rels",
        R"(<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/>)"
        R"(<Relationship Id="rId2" Target="/xl/worksheets/sheet2.xml"/></Relationships>)");
    add("xl/sharedStrings.xml", R"(<sst><si><t>kod</t></si><si><r><t>Adı </t></r>)"
                                R"(<r><t>Soyadı</t></r><rPh><t>x</t></rPh></si></sst>)");
    add("xl/worksheets/sheet1.xml", R"(<worksheet><sheetData><row r="1"><c r="A1" )"
                                    R"(t="inlineStr"><is><t>not</t></is></c></row></sheetData>)"
                                    R"(</worksheet>)");
    add("xl/worksheets/sheet2.xml",
        R"(<worksheet><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s">)"
        R"(<v>1</v></c><c t="inlineStr"><is><t>fiat1</t></is></c></row><row r="3"/>)"
        R"(<row r="4"><c r="A4" t="str"><v>0001</v></c><c r="C4"><v>120.49999999999999</v>)"
        R"(</c><c r="B4" t="inlineStr"><is><t>Ayşe &amp; Can</t></is></c></row></sheetData>)"
        R"(</worksheet>)");
    zipClose(zip, nullptr);

    QString error;
    const auto table = tablefile::read(dir.filePath(u"a.xlsx"_s), u"üyeler"_s, &error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_EQ(shown(*table), u"XLSX, sayfa 'Üyeler' / 1:kod|Adı Soyadı|fiat1 / "
                             "4:0001|Ayşe & Can|120.49999999999999"_s);
    EXPECT_TRUE(table->rows[1].cells[2].number);
    EXPECT_FALSE(tablefile::read(dir.filePath(u"a.xlsx"_s), u"Fiyatlar"_s, &error));
    EXPECT_EQ(error, u"'Fiyatlar' adlı sayfa yok. Sayfalar: Notlar, Üyeler"_s);
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
         "Kod;Adı Soyadı;Grup;asd\n0003;" + QByteArray(51, 'a') +
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
    EXPECT_EQ(rowsText.join(u"; "_s), u"0001|4|0|12505000|1|Devir|8; 0001|1|1|200000||Devir|8"_s);
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
         "XLSX dosyası açılamadı"},
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
