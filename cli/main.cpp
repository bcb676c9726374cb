// koop-cli: the program's actions without a window, for scripts and tests.
#include "cli/collect.h"
#include "cli/company.h"
#include "cli/initcompany.h"
#include "cli/printtest.h"
#include "screens/statement/statementaction.h"
#include "startup/base/daynumber.h"
#include "startup/companyfolder.h"
#include "startup/unitofwork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

void usage() {
    std::fputs("Kullanım:\n"
               "  koop-cli init KLASÖR [--demo] [--seed N]\n"
               "  koop-cli init --server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] KLASÖR "
               "[--demo]\n"
               "  koop-cli refcode KLASÖR [--count N] [--first C]\n"
               "  koop-cli statement KLASÖR KOD --date GG.AA.YYYY [--format text|csv|json]\n"
               "  koop-cli print-test KLASÖR [--mode 1|2] [--out DOSYA]\n"
               "  koop-cli collect KLASÖR KOD TUTAR [--aciklama METİN] [--pdf DOSYA]\n"
               "  koop-cli backup KLASÖR YEDEK_KLASÖRÜ\n"
               "  koop-cli copy-to-server KLASÖR SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI]\n",
               stderr);
}

int runInit(const QStringList &args, Messages &messages) {
    cli::InitOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--demo") {
            options.demo = true;
        } else if (a == u"--server") {
            options.server = cli::parseServer(args.value(i + 1));
            if (!options.server) {
                messages.warning(
                    QStringLiteral("--server SUNUCU[:PORT]/VERİTABANI[?user=KULLANICI] ister."));
                return 2;
            }
            ++i;
        } else if (a == u"--seed") {
            qint64 seed = 0;
            if (i + 1 >= args.size() || !cli::parseNumber(args[i + 1], 0, 0xffffffffLL, &seed)) {
                messages.warning(QStringLiteral("--seed bir sayı ister."));
                return 2;
            }
            options.seed = static_cast<uint32_t>(seed);
            ++i;
        } else if (a.startsWith(u"--") || !options.folder.isEmpty()) {
            messages.warning(QStringLiteral("Bilinmeyen seçenek: ") + a);
            return 2;
        } else {
            options.folder = a;
        }
    }
    if (options.folder.isEmpty()) {
        usage();
        return 2;
    }
    return cli::initCompany(options, messages);
}

// New reference codes, one a line, each drawn in an action of its own as a
// screen draws it.
int runRefcode(const QStringList &args, Messages &messages) {
    QString folder;
    qint64 count = 1, first = 1;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const QString value = args.value(i + 1);
        if (a == u"--count") {
            if (!cli::parseNumber(value, 1, 1000000, &count)) {
                messages.warning(QStringLiteral("--count 1 ile 1000000 arasında bir sayı ister."));
                return 2;
            }
            ++i;
        } else if (a == u"--first") {
            if (!cli::parseNumber(value, 0, 255, &first)) {
                messages.warning(QStringLiteral("--first 0 ile 255 arasında bir sayı ister."));
                return 2;
            }
            ++i;
        } else if (a.startsWith(u"--") || !folder.isEmpty()) {
            messages.warning(QStringLiteral("Bilinmeyen seçenek: ") + a);
            return 2;
        } else {
            folder = a;
        }
    }
    Session session(messages);
    if (!startup::openCompanyFolder(session, folder))
        return 1;
    QByteArray out;
    for (qint64 n = 0; n < count; ++n) {
        const QString code = drawReference(session, static_cast<int>(first));
        if (code.isEmpty())
            return 1;
        out += code.toUtf8() + '\n';
        if (out.size() > 65536) {
            std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
            out.clear();
        }
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}

// A member's statement at a base date, as the statement screen computes it.
int runStatement(const QStringList &args, Messages &messages) {
    QStringList positional;
    QString dateText, format = QStringLiteral("text");
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--date" && i + 1 < args.size()) {
            dateText = args[++i];
        } else if (a == u"--format" && i + 1 < args.size()) {
            format = args[++i];
        } else if (a.startsWith(u"--")) {
            messages.warning(QStringLiteral("Bilinmeyen seçenek: ") + a);
            return 2;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2 || dateText.isEmpty() ||
        !QStringList{"text", "csv", "json"}.contains(format)) {
        usage();
        return 2;
    }
    Session session(messages);
    if (!startup::openCompanyFolder(session, positional[0]))
        return 1;
    const QString kod = positional[1];
    const auto member = data::readMember(session.carkart, kod);
    if (!member) {
        messages.warning(QStringLiteral("Bu kodla bir üye kartı yok: ") + kod);
        return 1;
    }
    const QDate baseDate = parseTrDate(dateText);
    const double faiz = statement::deskSettings(session).faiz;
    const auto st = statement::compute(session, kod, baseDate, faiz, member->asd);
    if (!st)
        return 1;
    QString out;
    if (format == u"csv")
        out = statement::asCsv(*st, session.tlonda);
    else if (format == u"json")
        out = statement::asJson(*st, kod, baseDate, session.tlonda);
    else
        out = statement::asText(*st, *member, baseDate, session.tlonda);
    const QByteArray bytes = out.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return 0;
}

// A copy of a working company's two databases and its korvane.dat into a
// new folder, each database in one consistent step and checked.
int runBackup(const QStringList &args, Messages &messages) {
    if (args.size() != 2 || args[0].startsWith(u"--") || args[1].startsWith(u"--")) {
        usage();
        return 2;
    }
    const QDir company(args[0]);
    const QString korvane = company.filePath(QStringLiteral("korvane.dat"));
    if (const auto server = data::readServerAddress(korvane)) {
        messages.warning(QStringLiteral("Bu şirketin verileri sunucuda: ") + server->display() +
                         QStringLiteral("\nYedeği sunucuda pg_dump ile alınır."));
        return 1;
    }
    const QDir target(args[1]);
    if (target.exists() && !target.isEmpty()) {
        messages.warning(QStringLiteral("Yedek klasörü boş değil:\n") + target.path());
        return 1;
    }
    if (!QDir().mkpath(target.path())) {
        messages.warning(QStringLiteral("Klasör yaratılamadı:\n") + target.path());
        return 1;
    }
    for (const char *file : {"xdata.dat", "dalun.dat"}) {
        const QString name = QString::fromLatin1(file);
        data::Database db;
        if (!db.open(company.filePath(name)) || !db.backupTo(target.filePath(name))) {
            messages.warning(QStringLiteral("Yedek alınamadı: ") + company.filePath(name) + u'\n' +
                             db.lastError());
            for (const char *made : {"xdata.dat", "dalun.dat"})
                QFile::remove(target.filePath(QString::fromLatin1(made)));
            return 1;
        }
    }
    if (QFile::exists(korvane))
        QFile::copy(korvane, target.filePath(QStringLiteral("korvane.dat")));
    std::printf("%s\n", (QStringLiteral("Yedek alındı: ") + target.path()).toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char *argv[]) {
    auto app = cli::makeCollectApplication(argc, argv);
    if (!app)
        app = cli::makeApplication(argc, argv);
    LogMessages messages = std::move(*LogMessages::fromEnvironment());
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == u"init")
        return runInit(args, messages);
    if (command == u"refcode")
        return runRefcode(args, messages);
    if (command == u"statement")
        return runStatement(args, messages);
    if (command == u"print-test")
        return runPrintTest(args, messages);
    if (command == u"collect")
        return runCollect(args, messages);
    if (command == u"backup")
        return runBackup(args, messages);
    if (command == u"copy-to-server") {
        const auto server = cli::parseServer(args.value(1));
        if (args.size() != 2 || !server) {
            usage();
            return 2;
        }
        return cli::copyToServer(args[0], *server, messages);
    }
    messages.warning(QStringLiteral("Bilinmeyen komut: ") + command);
    usage();
    return 2;
}
