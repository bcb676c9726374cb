// koop-cli: the program's actions without a window, for scripts and tests.
#include "actions/collection/collectionaction.h"
#include "actions/company/newcompany.h"
#include "actions/statement/statementaction.h"
#include "base/daynumber.h"
#include "cli/attendance.h"
#include "cli/backup.h"
#include "cli/bulkdebt.h"
#include "cli/check.h"
#include "cli/collect.h"
#include "cli/command.h"
#include "cli/company.h"
#include "cli/generallist.h"
#include "cli/headcollect.h"
#include "cli/integrate.h"
#include "cli/labels.h"
#include "cli/member.h"
#include "cli/monthlydebt.h"
#include "cli/printtest.h"
#include "cli/reports.h"
#include "cli/settings.h"
#include "cli/transfer.h"
#include "cli/voids.h"
#include "core/companyfolder.h"
#include "core/unitofwork.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

using cli::Call;

int runInit(const Call &call) {
    newcompany::Options options;
    options.folder = call.arguments[0];
    options.demo = call.isSet(QStringLiteral("demo"));
    options.seed = static_cast<uint32_t>(call.value(QStringLiteral("seed")).toLongLong());
    if (call.isSet(QStringLiteral("server")))
        options.server = newcompany::parseServer(call.value(QStringLiteral("server")));
    // The demo names its own cooperative and money; a company of the
    // office's own starts with kuruş.
    if (!options.demo)
        options.setup = newcompany::officeDefaults();
    for (const char *key : {"unvan", "tlonda", "tlnick", "krnick"})
        if (call.isSet(QString::fromLatin1(key)))
            options.setup.emplace_back(QString::fromLatin1(key),
                                       call.value(QString::fromLatin1(key)));
    const auto told = newcompany::create(options, call.messages);
    if (!told)
        return cli::ExitFailed;
    cli::printOut(*told + u'\n');
    return cli::ExitOk;
}

// New reference codes, one a line, each drawn in an action of its own as a
// screen draws it.
int runRefcode(const Call &call) {
    const qint64 count = call.value(QStringLiteral("count")).toLongLong();
    const int first = call.value(QStringLiteral("first")).toInt();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    QByteArray out;
    for (qint64 n = 0; n < count; ++n) {
        const QString code = drawReference(session, first);
        if (code.isEmpty()) {
            // The codes drawn before are stored: they are printed all the same.
            std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
            return cli::ExitFailed;
        }
        out += code.toUtf8() + '\n';
        if (out.size() > 65536) {
            std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
            out.clear();
        }
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return cli::ExitOk;
}

// A member's statement at a base date, as the statement screen computes it.
int runStatement(const Call &call) {
    const QString dateText = call.value(QStringLiteral("date"));
    if (dateText.isEmpty())
        return call.wrongCommandLine();
    Session session(call.messages);
    if (!startup::openCompanyFolder(session, call.arguments[0]))
        return cli::ExitFailed;
    const QString kod = call.arguments[1];
    const auto member = data::readMember(session.carkart, kod);
    if (!member) {
        call.messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod);
        return cli::ExitFailed;
    }
    const QDate baseDate = parseTrDate(dateText);
    const double faiz = statement::deskSettings(session).faiz;
    const auto st = statement::compute(session, kod, baseDate, faiz, member->asd);
    if (!st)
        return cli::ExitFailed;
    const QString format = call.value(QStringLiteral("format"));
    QString out;
    if (format == u"csv")
        out = statement::asCsv(*st, session.tlonda);
    else if (format == u"json")
        out = statement::asJson(*st, kod, baseDate, session.tlonda);
    else
        out = statement::asText(*st, *member, baseDate, session.tlonda);
    cli::printOut(out);
    return cli::ExitOk;
}

int runCopyToServer(const Call &call) {
    const auto server = newcompany::parseServer(call.arguments[1]);
    if (!server)
        return call.wrongCommandLine();
    const auto told = newcompany::copyToServer(call.arguments[0], *server, call.messages);
    if (!told)
        return cli::ExitFailed;
    cli::printOut(*told + u'\n');
    return cli::ExitOk;
}

bool isSeed(const QString &v) {
    return cli::wholeNumber(v, 0, 0xffffffffLL).has_value();
}
bool isServer(const QString &v) {
    return newcompany::parseServer(v).has_value();
}
bool isCount(const QString &v) {
    return cli::wholeNumber(v, 1, 1000000).has_value();
}
bool isFirst(const QString &v) {
    return cli::wholeNumber(v, 0, 255).has_value();
}
bool isFormat(const QString &v) {
    return v == u"text" || v == u"csv" || v == u"json";
}
bool isDecimals(const QString &v) {
    return v.size() == 1 && cli::wholeNumber(v, 0, 4).has_value();
}
bool isTextOrJson(const QString &v) {
    return v == u"text" || v == u"json";
}
bool isDate(const QString &v) {
    return parseTrDate(v).isValid();
}
bool isSetting(const QString &v) {
    return v.indexOf(u'=') > 0;
}
bool isMode(const QString &v) {
    return cli::wholeNumber(v, 1, 2).has_value();
}
bool isMonth(const QString &v) {
    return cli::wholeNumber(v, 1, 12).has_value();
}
bool isFileName(const QString &v) {
    return !v.isEmpty();
}
bool isYear(const QString &v) {
    return cli::wholeNumber(v, 1900, 9999).has_value();
}
bool isMonths(const QString &v) {
    return cli::wholeNumber(v, 1, 600).has_value();
}
bool isCodeRange(const QString &v) {
    return cli::twoEnds(v).has_value();
}
bool isPeriod(const QString &v) {
    return v.size() <= 20;
}

QCommandLineOption option(const char *name, const char *description,
                          const char *valueName = nullptr, const QString &defaultValue = {}) {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                              QString::fromUtf8(valueName), defaultValue);
}

const cli::Argument Folder{QStringLiteral("KLASÖR"), QStringLiteral("şirket klasörü")};
const cli::Argument Code{QStringLiteral("KOD"), QStringLiteral("üye kodu")};
const cli::Option GroupOption{option("group", "üye grubu (verilmezse bütün kartlar)", "G")};
const cli::Option DateOption{option("date", "tahsilat tarihi (gerekli)", "GG.AA.YYYY"), isDate,
                             QStringLiteral("--date GG.AA.YYYY biçiminde bir tarih ister.")};

const cli::Option ModeOption{
    option("mode", "1 grafik (PDF), 2 nokta vuruşlu yazıcı dosyası", "1|2", "2"), isMode,
    QStringLiteral("--mode 1 ya da 2 ister.")};
const cli::Option OutOption{option("out", "çıktı dosyası (gerekli)", "DOSYA"), isFileName,
                            QStringLiteral("--out bir dosya adı ister.")};

// The order is the one usage lists them in.
const std::vector<cli::Command> &commands() {
    static const std::vector<cli::Command> table{
        {QStringLiteral("init"),
         {QStringLiteral("init KLASÖR [--unvan METİN] [--tlonda N] [--tlnick TL --krnick Kr]"),
          QStringLiteral("init KLASÖR --demo [--seed N]"),
          QStringLiteral(
              "init --server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] KLASÖR [--demo]")},
         QStringLiteral("Yeni bir şirket klasörü yaratır; var olan bir şirkete dokunmaz. "
                        "Örnek şirket olmadıkça tutarlar iki ondalıklı (TL, Kr) başlar."),
         {{option("unvan", "kooperatifin adı (en çok 60 karakter)", "METİN")},
          {option("tlonda", "tutarların ondalık sayısı, 0 ile 4 arası (verilmezse 2)", "N"),
           isDecimals, QStringLiteral("--tlonda 0 ile 4 arasında bir sayı ister.")},
          {option("tlnick", "para biriminin adı, yazıyla tutarın sonunda (verilmezse TL)", "AD")},
          {option("krnick", "kuruşun adı (verilmezse Kr)", "AD")},
          {option("demo", "örnek bir kooperatifle doldurur")},
          {option("seed", "örnek verinin tohumu; aynı tohum aynı şirketi verir", "N", "1"), isSeed,
           QStringLiteral("--seed bir sayı ister.")},
          {option("server",
                  "tabloları PostgreSQL sunucusunda yaratır: "
                  "SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI][&xdata=ŞEMA&dalun=ŞEMA]",
                  "ADRES"),
           isServer, QStringLiteral("--server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] ister.")}},
         {{QStringLiteral("KLASÖR"), QStringLiteral("yaratılacak şirket klasörü")}},
         false,
         runInit},
        {QStringLiteral("refcode"),
         {QStringLiteral("refcode KLASÖR [--count N] [--first C]")},
         QStringLiteral(
             "Yeni referans kodları çeker, her satıra bir kod; her kod ayrı bir işlemde."),
         {{option("count", "çekilecek kod sayısı, 1 ile 1000000 arası", "N", "1"), isCount,
           QStringLiteral("--count 1 ile 1000000 arasında bir sayı ister.")},
          {option("first", "kodun ilk karakterinin kodu, 0 ile 255 arası", "C", "1"), isFirst,
           QStringLiteral("--first 0 ile 255 arasında bir sayı ister.")}},
         {Folder},
         false,
         runRefcode},
        {QStringLiteral("statement"),
         {QStringLiteral("statement KLASÖR KOD --date GG.AA.YYYY [--format text|csv|json]")},
         QStringLiteral("Üyenin o tarihteki hesap ekstresini gecikme zammıyla yazar."),
         {{option("date", "ekstrenin tarihi (gerekli)", "GG.AA.YYYY")},
          {option("format", "çıktı biçimi: text, csv ya da json", "BİÇİM", "text"), isFormat,
           QStringLiteral("--format text, csv ya da json ister.")}},
         {Folder, Code},
         false,
         runStatement},
        {QStringLiteral("general-list"),
         {QStringLiteral("general-list KLASÖR --date GG.AA.YYYY [--from K1] [--to K2] [--aging] "
                         "[--format text|csv|json|xlsx] [--out DOSYA] "
                         "[--print DOSYA [--mode 1|2] [--rules]]")},
         QStringLiteral("Kod aralığındaki bütün kartların o tarihteki borcunu, ödediğini, "
                        "gecikme zammını ve kalanını genel toplamlarıyla yazar; istenirse "
                        "\"ÜYE GENEL BORÇ ALACAK LİSTESİ\" olarak da yazdırır. Kod verilmezse "
                        "bütün kartlar."),
         {{option("date", "baz tarih (gerekli)", "GG.AA.YYYY")},
          {option("from", "ilk cari kodu", "K1")},
          {option("to", "son cari kodu", "K2")},
          {option("aging", "açık anaparayı vadesi geçeli 0-30, 31-90, 91-180, 181-365 ve 365 "
                           "günden çok olarak beş yaşa böler (JSON'da yas1 … yas5)")},
          {option("format", "çıktı biçimi: text, csv, json ya da xlsx (xlsx --out ister)", "BİÇİM",
                  "text"),
           isListFormat, QStringLiteral("--format text, csv, json ya da xlsx ister.")},
          {option("out", "listeyi standart çıktı yerine bu dosyaya yazar", "DOSYA"), isFileName,
           QStringLiteral("--out bir dosya adı ister.")},
          {option("print",
                  "listeyi yazdırır: 1'de bu PDF dosyasına, 2'de yazıcı dosyasının kopyası olarak",
                  "DOSYA"),
           isFileName, QStringLiteral("--print bir dosya adı ister.")},
          {option("mode", "1 grafik, 2 nokta vuruşlu yazıcı (varsayılan 2)", "1|2"), isMode,
           QStringLiteral("--mode 1 ya da 2 ister.")},
          {option("rules", "yazdırılan satırların altına çizgi çeker")}},
         {Folder},
         true,
         runGeneralList},
        {QStringLiteral("statements"),
         {QStringLiteral("statements KLASÖR --date GG.AA.YYYY [--codes K1-K2] [--group G] "
                         "[--min-balance TUTAR] --out DOSYA.pdf|KLASÖR")},
         QStringLiteral("Seçilen üyelerin (tür 0) o tarihteki ekstrelerini \"ÜYE HESAP ÖZETİ\" "
                        "olarak bütün satırlarıyla yazar: --out .pdf ile bitiyorsa tek PDF'e, "
                        "her üye yeni sayfada; bitmiyorsa o klasöre her üyeye bir PDF (KOD.pdf)."),
         {{option("date", "ekstre tarihi (gerekli)", "GG.AA.YYYY")},
          {option("codes", "kod aralığı (verilmezse bütün üyeler)", "K1-K2"), isCodeRange,
           QStringLiteral("--codes K1-K2 biçiminde bir kod aralığı ister.")},
          GroupOption,
          {option("min-balance", "yalnız borcu bu tutardan çok olanlar", "TUTAR")},
          {option("out", "PDF dosyası ya da klasör (gerekli)", "DOSYA"), isFileName,
           QStringLiteral("--out bir dosya ya da klasör adı ister.")}},
         {Folder},
         true,
         runStatements},
        {QStringLiteral("arrears"),
         {QStringLiteral("arrears KLASÖR --date GG.AA.YYYY [--months N] [--min TUTAR] "
                         "[--format text|csv|json] [--out DOSYA] [--letters DOSYA.pdf] "
                         "[--print DOSYA [--mode 1|2]]")},
         QStringLiteral("İhtar listesi: açık anaparası N aydan eski olan ya da borcu TUTAR'dan "
                        "çok olan üyeleri (tür 0) borçlarının yaşlarıyla yazar (ikisi de "
                        "verilirse birine uyan; hiçbiri verilmezse 3 ay). --letters her üyeye "
                        "şirket klasöründeki ihtar.txt şablonuyla bir mektup yazar."),
         {{option("date", "baz tarih (gerekli)", "GG.AA.YYYY")},
          {option("months", "bu kadar aydan eski açık borcu olanlar", "N"), isMonths,
           QStringLiteral("--months 1 ile 600 arasında bir sayı ister.")},
          {option("min", "borcu bu tutardan çok olanlar", "TUTAR")},
          {option("format", "çıktı biçimi: text, csv ya da json", "BİÇİM", "text"), isFormat,
           QStringLiteral("--format text, csv ya da json ister.")},
          {option("out", "listeyi standart çıktı yerine bu dosyaya yazar", "DOSYA"), isFileName,
           QStringLiteral("--out bir dosya adı ister.")},
          {option("letters", "ihtar mektuplarını bu PDF dosyasına yazar", "DOSYA"), isFileName,
           QStringLiteral("--letters bir dosya adı ister.")},
          {option("print",
                  "listeyi yazdırır: 1'de bu PDF dosyasına, 2'de yazıcı dosyasının kopyası olarak",
                  "DOSYA"),
           isFileName, QStringLiteral("--print bir dosya adı ister.")},
          {option("mode", "1 grafik, 2 nokta vuruşlu yazıcı (varsayılan 1)", "1|2"), isMode,
           QStringLiteral("--mode 1 ya da 2 ister.")}},
         {Folder},
         true,
         runArrears},
        {QStringLiteral("dashboard"),
         {QStringLiteral("dashboard KLASÖR --year YYYY [--month AY] [--out DOSYA.pdf|DOSYA.png] "
                         "[--format text|json]")},
         QStringLiteral("Bir yılın genel durumu: ay ay tahakkuk ve tahsilat, tahsilat oranı, "
                        "gecikmiş borcun yaşları, en çok borçlu on üye ve bir ayın kasa gün "
                        "toplamları. --out grafikleri PNG ya da PDF olarak yazar."),
         {{option("year", "yıl (gerekli)", "YYYY"), isYear,
           QStringLiteral("--year 1900 ile 9999 arasında bir yıl ister.")},
          {option("month", "kasa grafiğinin ayı (verilmezse baz tarihin ayı)", "AY"), isMonth,
           QStringLiteral("--month 1 ile 12 arasında bir ay ister.")},
          {option("out", "grafiklerin dosyası: .pdf ya da .png", "DOSYA"), isFileName,
           QStringLiteral("--out bir dosya adı ister.")},
          {option("format", "rakamların biçimi: text ya da json", "BİÇİM", "text"), isTextOrJson,
           QStringLiteral("--format text ya da json ister.")}},
         {Folder},
         true,
         runDashboard},
        {QStringLiteral("print-test"),
         {QStringLiteral("print-test KLASÖR [--mode 1|2] [--out DOSYA]")},
         QStringLiteral("Yazıcı denetiminden iki sayfalık örnek bir rapor yazdırır."),
         {{option("mode", "1 grafik (yazıcı ya da PDF), 2 nokta vuruşlu yazıcı dosyası", "1|2",
                  "1"),
           isMode, QStringLiteral("--mode 1 ya da 2 ister.")},
          {option("out", "çıktı dosyası: 1'de PDF, 2'de yazıcı dosyasının kopyası", "DOSYA"),
           isFileName, QStringLiteral("--out bir dosya adı ister.")}},
         {Folder},
         true,
         runPrintTest},
        {QStringLiteral("collect"),
         {QStringLiteral("collect KLASÖR KOD TUTAR [--aciklama METİN] [--pdf DOSYA]")},
         QStringLiteral("Kasa tahsilatını masanın \" Tamam\" düğmesi gibi, soru sormadan alır; "
                        "makbuz numarasını ve referans kodunu yazar."),
         {{option("aciklama", "tahsilatın açıklaması, en çok 35 karakter", "METİN",
                  collection::defaultDescription())},
          {option("pdf", "makbuzu bu PDF dosyasına yazar", "DOSYA")}},
         {Folder,
          Code,
          {QStringLiteral("TUTAR"), QStringLiteral("tahsil edilen tutar, nokta ile")}},
         true,
         runCollect},
        {QStringLiteral("void"),
         {QStringLiteral("void KLASÖR MAKBUZNO --reason METİN [--date GG.AA.YYYY] [--kod KOD]")},
         QStringLiteral("Makbuzu ters kayıtla iptal eder: tahsilatın cari, kasa ve entegrasyon "
                        "kayıtlarını geri alır, gün toplamını düşer ve iptali listeye yazar; "
                        "iptalin referans kodunu yazar."),
         {{option("reason", "iptal nedeni (gerekli), en çok 60 karakter", "METİN")},
          {option("date", "iptalin tarihi (verilmezse bugün)", "GG.AA.YYYY"), isDate,
           QStringLiteral("--date GG.AA.YYYY biçiminde bir tarih ister.")},
          {option("kod", "aynı numaralı birden çok tahsilat varsa üye kodu", "KOD")}},
         {Folder, {QStringLiteral("MAKBUZNO"), QStringLiteral("iptal edilecek makbuzun numarası")}},
         false,
         runVoid},
        {QStringLiteral("voids"),
         {QStringLiteral(
             "voids KLASÖR [--from GG.AA.YYYY] [--to GG.AA.YYYY] [--format text|csv|json] "
             "[--print DOSYA [--mode 1|2]]")},
         QStringLiteral("İptal edilen makbuzları numarası, tarihleri, üyesi, tutarı ve iptal "
                        "nedeniyle yazar."),
         {{option("from", "bu tarihten başlayarak iptal edilenler", "GG.AA.YYYY"), isDate,
           QStringLiteral("--from GG.AA.YYYY biçiminde bir tarih ister.")},
          {option("to", "bu tarihe kadar iptal edilenler", "GG.AA.YYYY"), isDate,
           QStringLiteral("--to GG.AA.YYYY biçiminde bir tarih ister.")},
          {option("format", "çıktı biçimi: text, csv ya da json", "BİÇİM", "text"), isFormat,
           QStringLiteral("--format text, csv ya da json ister.")},
          {option("print",
                  "listeyi yazdırır: 1'de bu PDF dosyasına, 2'de yazıcı dosyasının kopyası olarak",
                  "DOSYA"),
           isFileName, QStringLiteral("--print bir dosya adı ister.")},
          {option("mode", "1 grafik (varsayılan), 2 nokta vuruşlu yazıcı", "1|2"), isMode,
           QStringLiteral("--mode 1 ya da 2 ister.")}},
         {Folder},
         true,
         runVoids},
        {QStringLiteral("head-balances"),
         {QStringLiteral("head-balances KLASÖR KOD --date GG.AA.YYYY [--format text|json]")},
         QStringLiteral("Üyenin beş aidat kalemindeki borcunu tarihin ayının sonuna kadar yazar."),
         {DateOption,
          {option("format", "çıktı biçimi: text ya da json", "BİÇİM", "text"), isTextOrJson,
           QStringLiteral("--format text ya da json ister.")}},
         {Folder, Code},
         false,
         runHeadBalances},
        {QStringLiteral("collect-heads"),
         {QStringLiteral(
             "collect-heads KLASÖR KOD --date GG.AA.YYYY --amounts T1,T2,T3,T4,T5 [--pdf DOSYA]")},
         QStringLiteral("Aidat kalemlerine bölünmüş tahsilatı ekranın \"Tamam\" düğmesi gibi, "
                        "onaylanmış sayıp alır; makbuz numarasını yazar."),
         {DateOption,
          {option("amounts", "beş kalemin tutarları, virgülle, nokta ile (gerekli)",
                  "T1,T2,T3,T4,T5")},
          {option("pdf", "makbuzu bu PDF dosyasına yazar", "DOSYA")}},
         {Folder, Code},
         true,
         runCollectHeads},
        {QStringLiteral("settings"),
         {QStringLiteral("settings KLASÖR [--format text|json]"),
          QStringLiteral("settings KLASÖR --set ANAHTAR=DEĞER [--set ANAHTAR=DEĞER ...]")},
         QStringLiteral("Yönetim ayarlarını yazar; --set ile ekranın sınırlarıyla kaydeder."),
         {{option("format", "çıktı biçimi: text ya da json", "BİÇİM", "text"), isTextOrJson,
           QStringLiteral("--format text ya da json ister.")},
          {option("set",
                  "bir ayarı değiştirir: ack1..ack5, muh1..muh5, faiz, tolerans, fisno; "
                  "birden çok kez verilebilir",
                  "ANAHTAR=DEĞER"),
           isSetting, QStringLiteral("--set ANAHTAR=DEĞER ister.")}},
         {Folder},
         false,
         runSettings},
        {QStringLiteral("member"),
         {QStringLiteral("member KLASÖR show|delete KOD [--format text|json]"),
          QStringLiteral("member KLASÖR add|edit KOD [--isim1 METİN] [--grp G] [--asd 0|1|2] ... "
                         "[--kod YENİ_KOD]")},
         QStringLiteral("Bir üye kartını gösterir, ekler, değiştirir ya da siler, \"Üye "
                        "Kartları\" ekranının kurallarıyla: her kart alanı kendi adıyla bir "
                        "seçenek; edit yalnız verilen alanları değiştirir. Kod tektir; hareketi "
                        "olan kartın kodu değişmez, kart silinmez."),
         memberOptions(),
         {Folder, {QStringLiteral("İŞLEM"), QStringLiteral("add, edit, show ya da delete")}, Code},
         false,
         runMember},
        {QStringLiteral("company"),
         {QStringLiteral("company KLASÖR [--format text|json]"),
          QStringLiteral("company KLASÖR --set ANAHTAR=DEĞER [--set ANAHTAR=DEĞER ...]")},
         QStringLiteral("Şirket bilgilerini yazar: ünvan, tutarların ondalık sayısı, para "
                        "birimi ve kuruşun adı, makbuzun üç başlık satırı; --set ile "
                        "değiştirir."),
         {{option("format", "çıktı biçimi: text ya da json", "BİÇİM", "text"), isTextOrJson,
           QStringLiteral("--format text ya da json ister.")},
          {option("set",
                  "bir bilgiyi değiştirir: unvan, tlonda, tlnick, krnick, baslik1, baslik2, "
                  "baslik3; birden çok kez verilebilir",
                  "ANAHTAR=DEĞER"),
           isSetting, QStringLiteral("--set ANAHTAR=DEĞER ister.")}},
         {Folder},
         false,
         runCompany},
        {QStringLiteral("integrate"),
         {QStringLiteral("integrate KLASÖR debts --year YYYY --month A [--account KOD] "
                         "[--description METİN] [--again]"),
          QStringLiteral("integrate KLASÖR collections --from GG.AA.YYYY --to GG.AA.YYYY "
                         "[--account KOD] [--description METİN] [--again]"),
          QStringLiteral("integrate KLASÖR surcharge --from GG.AA.YYYY --to GG.AA.YYYY "
                         "[--account KOD] [--description METİN] [--again]")},
         QStringLiteral("Ayın aidat borçlarını, tarih aralığının kasa tahsilatlarını ya da ödenen "
                        "gecikme zammını muhasebe entegrasyonuna yazar; yazılan satır sayısını "
                        "yazar. Verilmeyen hesap kodu ve açıklama dalun.ayr dosyasından alınır."),
         {{option("year", "borçlandırma dönemi yılı", "YYYY")},
          {option("month", "borçlandırma dönemi ayı, 1 ile 12 arası", "A"), isMonth,
           QStringLiteral("--month 1 ile 12 arasında bir sayı ister.")},
          {option("from", "başlangıç tarihi", "GG.AA.YYYY")},
          {option("to", "bitiş tarihi; faizde hesabın yapıldığı tarih", "GG.AA.YYYY")},
          {option("account", "karşı muavin hesap kodu", "KOD")},
          {option("description", "entegrasyon açıklaması", "METİN")},
          {option("again", "daha önce entegre edilmiş bir dönemi yeniden yazar")}},
         {Folder,
          {QStringLiteral("İŞLEM"),
           QStringLiteral("debts (aylık borçlar), collections (kasa tahsilatları) ya da "
                          "surcharge (ödenen gecikme zammı)")}},
         false,
         runIntegrate},
        {QStringLiteral("bulk-debt"),
         {QStringLiteral("bulk-debt KLASÖR --year YYYY --months A1-A2 [--codes K1-K2] "
                         "--amounts T1,T2,T3,T4,T5 [--progress] [--again]")},
         QStringLiteral("Kod aralığındaki üyelere (tür 0) yılın ay aralığının her ayı için beş "
                        "aidat kaleminin tutarlarını borç yazar, muhasebe kodu olanlara "
                        "entegrasyon satırlarını da; yazılan borç ve entegrasyon satırı sayısını "
                        "yazar. Kod verilmezse bütün kartlar."),
         {{option("year", "dönem yılı", "YYYY")},
          {option("months", "ilk ve son ay, 1 ile 12 arası", "A1-A2"), isMonthRange,
           QStringLiteral("--months 1 ile 12 arasında iki ay ister, örneğin 3-5.")},
          {option("codes", "ilk ve son üye kodu", "K1-K2")},
          {option("amounts", "beş kalemin tutarları, virgülle; boş ya da 0 olan kalem yazılmaz",
                  "T1,T2,T3,T4,T5")},
          {option("progress", "ilerlemeyi uçbirim olmasa da standart hataya satır satır yazar")},
          {option("again", "bu borçları zaten olan üyelere yeniden yazar")}},
         {Folder},
         false,
         runBulkDebt},
        {QStringLiteral("prices"),
         {QStringLiteral("prices KLASÖR [--group G] [--format text|csv|json]")},
         QStringLiteral("Grubun (verilmezse bütün kartların) beş aidat kalemindeki aylık "
                        "fiyatlarını aylık borçlandırma ekranının listesi gibi yazar."),
         {GroupOption,
          {option("format", "çıktı biçimi: text, csv ya da json", "BİÇİM", "text"), isFormat,
           QStringLiteral("--format text, csv ya da json ister.")}},
         {Folder},
         false,
         runPrices},
        {QStringLiteral("set-prices"),
         {QStringLiteral("set-prices KLASÖR KOD F1 F2 F3 F4 F5")},
         QStringLiteral("Üyenin beş aylık fiyatını ekranın listesi gibi kaydeder."),
         {},
         {Folder,
          Code,
          {QStringLiteral("F1"), QStringLiteral("birinci kalemin fiyatı, nokta ile")},
          {QStringLiteral("F2"), QStringLiteral("ikinci kalemin fiyatı")},
          {QStringLiteral("F3"), QStringLiteral("üçüncü kalemin fiyatı")},
          {QStringLiteral("F4"), QStringLiteral("dördüncü kalemin fiyatı")},
          {QStringLiteral("F5"), QStringLiteral("beşinci kalemin fiyatı")}},
         false,
         runSetPrices},
        {QStringLiteral("monthly-debt"),
         {QStringLiteral("monthly-debt KLASÖR --date GG.AA.YYYY [--group G] [--again]")},
         QStringLiteral("Grubun üyelerine 0'dan büyük her fiyatı o tarihte borç yazar, ekranın "
                        "\" Kaydet \" düğmesi gibi; yazılan borç satırı sayısını yazar. O tarihte "
                        "bu borçları olan üye varsa --again olmadan yazmaz."),
         {{option("date", "borçlandırma tarihi (gerekli)", "GG.AA.YYYY")},
          GroupOption,
          {option("again", "o tarihte bu borçları zaten olan üyelere yeniden yazar")}},
         {Folder},
         false,
         runMonthlyDebt},
        {QStringLiteral("vouchers"),
         {QStringLiteral("vouchers KLASÖR --date GG.AA.YYYY [--group G] [--no N] "
                         "[--period METİN] [--row R | --from-row R] [--mode 1|2] --out DOSYA")},
         QStringLiteral("Borç dekontlarını yazıcı ayarı sormadan yazdırır: 1'de PDF, 2'de nokta "
                        "vuruşlu yazıcı dosyası; yazdırılan dekont sayısını yazar."),
         {{option("date", "dekontların tarihi (gerekli)", "GG.AA.YYYY")},
          GroupOption,
          {option("no", "ilk dekontun numarası (varsayılan ayarlardaki fiş no)", "N"),
           isVoucherNumber, QStringLiteral("--no 0 ile 99999999 arasında bir sayı ister.")},
          {option("period", "dönem metni, en çok 20 karakter (varsayılan: tarihin ayı)", "METİN"),
           isPeriod, QStringLiteral("--period en çok 20 karakter ister.")},
          {option("row", "yalnız bu satırın dekontu (satırlar 1'den sayılır)", "R"), isRowNumber,
           QStringLiteral("--row 1 ya da daha büyük bir satır numarası ister.")},
          {option("from-row", "bu satırdan sona kadar", "R"), isRowNumber,
           QStringLiteral("--from-row 1 ya da daha büyük bir satır numarası ister.")},
          ModeOption,
          OutOption},
         {Folder},
         true,
         runVouchers},
        {QStringLiteral("attendance"),
         {QStringLiteral("attendance KLASÖR [--from K1] [--to K2] [--order code|name] "
                         "[--grouped] [--marks] [--mode 1|2] --out DOSYA")},
         QStringLiteral("Kod aralığındaki üyelerin (tür 0) genel kurul hazirun cetvelini yazıcı "
                        "ayarı sormadan yazdırır: 1'de PDF, 2'de nokta vuruşlu yazıcı dosyası; "
                        "üye ve sayfa sayısını yazar."),
         {{option("from", "ilk üye kodu (varsayılan en küçük kod)", "K1")},
          {option("to", "son üye kodu (varsayılan en büyük kod)", "K2")},
          {option("order", "sıra: code (koda göre) ya da name (ada göre)", "SIRA", "code"),
           isListOrder, QStringLiteral("--order code ya da name ister.")},
          {option("grouped", "hazirun.ini gruplarının her birini yeni sayfada bitirir")},
          {option("marks", "imzanın önüne Asaleten ve Vekaleten kutuları koyar")},
          ModeOption,
          OutOption},
         {Folder},
         true,
         runAttendance},
        {QStringLiteral("labels"),
         {QStringLiteral("labels KLASÖR [--codes K1-K2] [--groups G1-G2] [--types T1-T2] "
                         "[--special O1-O2] [--status A,S,D] --out DOSYA"),
          QStringLiteral("labels KLASÖR --test --out DOSYA")},
         QStringLiteral("Seçilen kartların adres etiketlerini ikişer ikişer nokta vuruşlu yazıcı "
                        "dosyasına yazar, ekranın \" Yazıcı 'ya Gönder \" düğmesi gibi; yazılan "
                        "etiket sayısını yazar. --test yalnız hizalama cetvelini yazar."),
         {{option("codes", "ilk ve son üye kodu (varsayılan en küçük ve en büyük kod)", "K1-K2"),
           isRange, QStringLiteral("--codes K1-K2 ister.")},
          {option("groups", "ilk ve son grup (varsayılan boş-zzzz)", "G1-G2"), isRange,
           QStringLiteral("--groups G1-G2 ister.")},
          {option("types", "ilk ve son tip (varsayılan boş-zzzz)", "T1-T2"), isRange,
           QStringLiteral("--types T1-T2 ister.")},
          {option("special", "ilk ve son özel kod (varsayılan boş-zzzz)", "O1-O2"), isRange,
           QStringLiteral("--special O1-O2 ister.")},
          {option("status", "kart türleri: A (üye), S (satıcı), D (diğer), virgülle", "A,S,D", "A"),
           isStatusList, QStringLiteral("--status A, S ya da D ister, örneğin A,S.")},
          {option("test", "etiketler yerine hizalama cetvelini yazar")},
          {option("out", "nokta vuruşlu yazıcı dosyası (gerekli)", "DOSYA"), isFileName,
           QStringLiteral("--out bir dosya adı ister.")}},
         {Folder},
         true,
         runLabels},
        {QStringLiteral("import"),
         {QStringLiteral("import KLASÖR members|prices|balances DOSYA "
                         "[--on-duplicate stop|skip|update] [--dry-run] [--sheet SAYFA] "
                         "[--date GG.AA.YYYY] [--decimal ,|.] [--ignore-column BAŞLIK ...] "
                         "[--ignore-unknown-columns]")},
         QStringLiteral("Üye kartlarını, aidat fiyatlarını ya da açılış bakiyelerini bir CSV "
                        "(virgül, noktalı virgül ya da sekme ayraçlı; UTF-8 ya da Windows-1254), "
                        "XLSX ya da ODS dosyasından alır. Sütun başlıkları, bilinen bir sütun adı "
                        "taşıyan ilk satırdadır; üstündeki satırlar (bir tablo adı gibi) okunmaz. "
                        "Hatalı bir satır varsa hepsini satır numarasıyla yazar ve hiçbir şey "
                        "yazmaz; aktarım tek bir işlemdir."),
         {{option("on-duplicate",
                  "kayıtlı bir kod: stop aktarımı durdurur, skip satırı atlar, update kaydı "
                  "dosyadaki sütunlarla günceller (bakiyelerde olmaz)",
                  "stop|skip|update", "stop"),
           isOnDuplicate, QStringLiteral("--on-duplicate stop, skip ya da update ister.")},
          {option("dry-run", "hiçbir şey yazmaz; her satırda ne olacağını yazar")},
          {option("sheet", "XLSX ya da ODS dosyasının sayfası (varsayılan ilk sayfa)", "SAYFA"),
           isFileName, QStringLiteral("--sheet bir sayfa adı ister.")},
          {option("date", "açılış bakiyelerinin tarihi (bakiyelerde gerekli)", "GG.AA.YYYY"),
           isDate, QStringLiteral("--date GG.AA.YYYY biçiminde bir tarih ister.")},
          {option("decimal",
                  "tutarların ondalık ayracı; verilmezse her sütunun kendi tutarları gösterir "
                  "(\"1.250,50\" noktanın binlik olduğunu), iki türlü okunabilen \"1.250\" "
                  "gibi bir tutar ise reddedilir",
                  ",|."),
           isDecimalMark, QStringLiteral("--decimal , ya da . ister.")},
          {option("ignore-column", "bu başlıklı sütunu okumaz; birden çok kez verilebilir",
                  "BAŞLIK"),
           isHeadingName, QStringLiteral("--ignore-column bir sütun başlığı ister.")},
          {option("ignore-unknown-columns",
                  "bilinmeyen başlıklı sütunları okumaz (verilmezse dosya reddedilir); okunmayan "
                  "sütunlar çıktının ilk satırında yazılır")}},
         {Folder,
          {QStringLiteral("TÜR"), QStringLiteral("members, prices ya da balances")},
          {QStringLiteral("DOSYA"), QStringLiteral("okunacak CSV, XLSX ya da ODS dosyası")}},
         false,
         runImport},
        {QStringLiteral("export"),
         {QStringLiteral("export KLASÖR members|prices|balances [--format csv|xlsx] --out DOSYA")},
         QStringLiteral("Üye kartlarını, aidat fiyatlarını ya da her üyenin aidat başlıklarına "
                        "göre bakiyesini import'un aldığı sütunlarla bir dosyaya yazar."),
         {{option("format", "dosya biçimi: csv ya da xlsx", "BİÇİM", "csv"), isTransferFormat,
           QStringLiteral("--format csv ya da xlsx ister.")},
          OutOption},
         {Folder, {QStringLiteral("TÜR"), QStringLiteral("members, prices ya da balances")}},
         false,
         runExport},
        {QStringLiteral("backup"),
         {QStringLiteral("backup KLASÖR YEDEK_KLASÖRÜ")},
         QStringLiteral(
             "Çalışan bir şirketin bütün dosyalarını tek bir anın kopyası olarak yeni bir "
             "klasöre yedekler: iki veritabanı, korvane.dat, dalun.ayr, hazirun.ini, kasa gün "
             "dosyaları (kasaN.dat) ve bekleyen gün toplamları (kasaN.dat.bekleyen). Her kopya "
             "denetlenir; en son yedek.txt'ye her dosyanın adı, boyu ve SHA-256 toplamı yazılır. "
             "Yedek yanında \"YEDEK_KLASÖRÜ.tamamlanmamis-...\" adlı bir klasörde hazırlanır ve "
             "ancak bitince YEDEK_KLASÖRÜ adını alır; yarıda kalan bir yedek o adı almaz. "
             "Dosyaları yalnız sahibi okur; şirket klasörü bir grupla paylaşılıyorsa (setgid) o "
             "grup da. Sunucudaki bir şirketin tabloları pg_dump ile sunucu.dump dosyasına "
             "alınır; pg_dump yoksa elle: pg_dump -h SUNUCU -p PORT -U KULLANICI -Fc -n xdata -n "
             "dalun -f sunucu.dump VERİTABANI, ve klasördeki dosyalar yanına kopyalanır."),
         {},
         {Folder,
          {QStringLiteral("YEDEK_KLASÖRÜ"),
           QStringLiteral("yaratılacak yedek klasörü (yoksa ya da boşsa)")}},
         false,
         runBackup},
        {QStringLiteral("restore"),
         {QStringLiteral("restore YEDEK_KLASÖRÜ KLASÖR "
                         "[--server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI]]")},
         QStringLiteral(
             "backup'ın aldığı bir yedeği yeni bir şirket klasörüne bütün olarak geri yükler. "
             "Önce denetler: yedek.txt'deki her dosya yerinde, boyu ve SHA-256 toplamı tutuyor, "
             "yanında listede olmayan dosya yok, iki veritabanı sağlam (integrity_check). Bir "
             "sorun varsa dosyasını ve sorunu yazar, hiçbir şey yüklemez. Var olan bir klasörün "
             "üzerine yazmaz. Klasör yanında hazırlanır ve bitince KLASÖR adını alır. "
             "Sunucudaki bir şirketin yedeği --server ile verilen veritabanına pg_restore ile "
             "yüklenir (yedekteki şemalar orada olmamalı); elle: pg_restore -h SUNUCU -U "
             "KULLANICI -d VERİTABANI --no-owner --no-acl --single-transaction --exit-on-error "
             "YEDEK_KLASÖRÜ/sunucu.dump, sonra öteki dosyalar klasöre kopyalanır ve korvane.dat'ın "
             "[sunucu] bölümüne yeni sunucu yazılır."),
         {{option("server",
                  "sunucudaki bir şirketin yedeğini bu veritabanına yükler: "
                  "SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI]",
                  "ADRES"),
           isServer, QStringLiteral("--server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] ister.")}},
         {{QStringLiteral("YEDEK_KLASÖRÜ"), QStringLiteral("backup'ın yarattığı yedek klasörü")},
          {QStringLiteral("KLASÖR"), QStringLiteral("yaratılacak şirket klasörü")}},
         false,
         runRestore},
        {QStringLiteral("check"),
         {QStringLiteral("check KLASÖR [--repair]")},
         QStringLiteral("Şirketi denetler: iki veritabanının bütünlüğü, kartların borç ve alacak "
                        "toplamları ile hareketleri, kasa gün toplamları ile tahsilatlar, "
                        "referans sayaçları ve makbuz numaraları. Her sorun bir satır; sorun "
                        "yoksa \"Sorun yok.\" ve 0 ile, varsa 1 ile biter."),
         {{option("repair",
                  "satırlardan çıkarılabileni düzeltir: kart toplamları, yarım kalmış gün "
                  "toplamları, makbuz sayacı")}},
         {Folder},
         false,
         runCheck},
        {QStringLiteral("copy-to-server"),
         {QStringLiteral("copy-to-server KLASÖR SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI]")},
         QStringLiteral("SQLite şirketini satır satır PostgreSQL sunucusuna taşır."),
         {},
         {Folder,
          {QStringLiteral("SUNUCU"),
           QStringLiteral("SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI][&xdata=ŞEMA&dalun=ŞEMA]")}},
         false,
         runCopyToServer},
    };
    return table;
}

} // namespace

int main(int argc, char *argv[]) {
    return cli::runCommandLine(commands(), argc, argv);
}
