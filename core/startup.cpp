#include "core/startup.h"

#include "core/unitofwork.h"

#include "base/inifile.h"
#include "base/wholefile.h"
#include "data/koopdata.h"
#include "data/koopschema.h"

#include <QDir>
#include <QFileInfo>

namespace startup {

namespace {

QString withTrailingSeparator(const QString &folder, QChar separator) {
    if (folder.endsWith(u'\\') || folder.endsWith(u'/'))
        return folder;
    return folder + separator;
}

struct SharedTable {
    data::TableCursor Session::*cursor;
    bool koop;
    const char *table;
    const char16_t *failure;
};

const SharedTable SharedTables[] = {
    {&Session::carkart, false, "carkart", u"Cari Kartlar Record set Açılamadı."},
    {&Session::carhar, false, "carhar", u"Cari Hareket Record set Açılamadı."},
    {&Session::stkkart, false, "stkkart", u"Stok Kartları Record set Açılamadı."},
    {&Session::stkhar, false, "stkhar", u"Stok Hareketleri Record set Açılamadı."},
    {&Session::ftu, false, "ftu", u"Fatura Bilgileri Record set Açılamadı."},
    {&Session::ent, false, "ent", u"Entegrasyon Bilgileri Record set Açılamadı."},
    {&Session::kasa, false, "kasa", u"Kasa Bilgileri Record set Açılamadı."},
    {&Session::genel, false, "genel", u"Genel Bilgiler Record set Açılamadı."},
    {&Session::fiat, true, "fiat", u"Fiyatlar Bilgiler Record set Açılamadı."},
    {&Session::ayar, true, "ayar", u"Ayarlar Record set Açılamadı."},
};

bool fatal(Session &s, const QString &text) {
    s.messages.warning(text);
    return false;
}

} // namespace

QString joinArguments(const QStringList &arguments) {
    return arguments.join(u' ');
}

CommandLine splitCommandLine(const QString &line) {
    const qsizetype blank = line.indexOf(u' ');
    if (blank < 0)
        return {line.trimmed(), QString()};
    return {line.left(blank).trimmed(), line.mid(blank + 1).trimmed().toUpper()};
}

void readPaths(Session &s, Registry &registry, const QString &programDir) {
    s.prgPath = registry.readText(QStringLiteral("PrgPath"));
    s.dataPath = registry.readText(QStringLiteral("DataPath"));
    if (s.prgPath.isEmpty()) {
        s.prgPath = withTrailingSeparator(programDir, u'/');
        s.dataPath = withTrailingSeparator(s.prgPath + QStringLiteral("Data"), u'/');
        const bool written = registry.writeText(QStringLiteral("PrgPath"), s.prgPath) &&
                             registry.writeText(QStringLiteral("DataPath"), s.dataPath);
        if (!written)
            s.messages.warning(QStringLiteral("Program yolları kaydedilemedi:\n") +
                               registry.location() +
                               QStringLiteral("\nVarsayılan yollarla devam ediliyor."));
    }
}

bool open(Session &s, Registry &registry, const QString &commandLine, const QString &programDir) {
    s.pictures = true;
    readPaths(s, registry, programDir);

    const CommandLine line = splitCommandLine(commandLine);
    s.company = line.company;
    s.key = line.key;
    // A company is a folder under DataPath: "../x" or "/x" would make its
    // files somewhere nobody backs up.
    const QString folder = QDir::cleanPath(toLocalSeparators(s.company));
    if (!s.company.isEmpty() && (QDir::isAbsolutePath(folder) || folder == u".." ||
                                 folder.startsWith(QLatin1String("../"))))
        return fatal(s, QStringLiteral("Şirket klasörü veri klasörünün (DataPath) dışında:\n") +
                            s.company);

    s.imagePath = ini::readValue(QStringLiteral("gorunum"), QStringLiteral("imagepath"),
                                 QStringLiteral("image\\soft\\"),
                                 s.companyFile(QStringLiteral("korvane.dat")));

    return openCompany(s);
}

static bool openServerCompany(Session &s, const data::ServerAddress &server) {
    // The program's own schema and its tables are made when missing, as
    // dalun.dat is; the suite's must be there.
    if (!s.koop.openServer(server, server.koopSchema, true))
        return fatal(s, QStringLiteral("Veritabanı sunucusuna bağlanılamadı: ") + server.display() +
                            u'\n' + s.koop.lastError());
    if (!s.koop.hasTable(QStringLiteral("ayar")) && !data::createKoopTables(s.koop, s.messages))
        return false;
    if (!s.data.openServer(server, server.dataSchema, false))
        return fatal(s, QStringLiteral("Şirket Dosyaları Bulunamadı."));
    return true;
}

bool openCompany(Session &s) {
    // What the desk makes in the company's folder (journals, day files, the
    // engine's own files) is the office's alone.
    (void)wholefile::useOfficeMask(QFileInfo(s.companyFile(QStringLiteral("korvane.dat"))).path());
    if (const auto server = data::readServerAddress(s.companyFile(QStringLiteral("korvane.dat")))) {
        if (!openServerCompany(s, *server))
            return false;
    } else {
        // A file that is there but does not open is never made anew; the
        // start-up's message says why too (damaged, no permission, a full
        // disk).
        const auto why = [](const data::Database &db, const QString &file) {
            const QString text = data::failureText(db.failure());
            return QStringLiteral("\n") + file + QStringLiteral(" açılamadı: ") +
                   (text.isEmpty() ? db.lastError() : text);
        };
        const QString koopFile = s.companyFile(QStringLiteral("dalun.dat"));
        if (!data::DbOpen(s.koop, koopFile)) {
            if (QFileInfo::exists(koopFile))
                return fatal(s, koopFile + QStringLiteral("\nSql Dosyası Yaratılamadı.") +
                                    why(s.koop, koopFile));
            if (!data::createKoopDatabase(koopFile, s.messages) || !data::DbOpen(s.koop, koopFile))
                return false;
        }
        const QString dataFile = s.companyFile(QStringLiteral("xdata.dat"));
        if (!s.data.open(dataFile, {QStringLiteral("carkart"), QStringLiteral("carhar"),
                                    QStringLiteral("kasa"), QStringLiteral("ent"),
                                    QStringLiteral("genel")})) {
            QString text = QStringLiteral("Şirket Dosyaları Bulunamadı.");
            if (QFileInfo::exists(dataFile))
                text += why(s.data, dataFile);
            return fatal(s, text);
        }
    }

    for (const SharedTable &t : SharedTables) {
        data::Database &db = t.koop ? s.koop : s.data;
        if (!data::RsOpen(db, s.*(t.cursor), QString::fromLatin1(t.table)))
            return fatal(s, QString::fromUtf16(t.failure));
    }

    s.tlonda = static_cast<qint16>(data::namedNumber(s.genel, QStringLiteral("tlonda")));
    s.tlnick = data::namedText(s.genel, QStringLiteral("tlnick"));
    s.krnick = data::namedText(s.genel, QStringLiteral("krnick"));

    if (!s.theme.load(s.imageFile(QStringLiteral("renk.dat"))))
        s.theme = ColourTheme::builtIn();
    // A desk stopped between a collection and its day total: mended now. One
    // that cannot be mended has said so; the company still opens.
    (void)settleDayTotals(s);
    return true;
}

} // namespace startup
