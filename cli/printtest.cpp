#include "cli/printtest.h"

#include "cli/company.h"
#include "printing/sampleprint.h"
#include "startup/companyfolder.h"
#include "startup/session.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>

int runPrintTest(const QStringList &args, Messages &messages) {
    QString folder, out;
    qint64 mode = 1;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--mode") {
            if (i + 1 >= args.size() || !cli::parseNumber(args[i + 1], 1, 2, &mode)) {
                messages.warning(QStringLiteral("--mode 1 ya da 2 ister."));
                return 2;
            }
            ++i;
        } else if (a == u"--out") {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                messages.warning(QStringLiteral("--out bir dosya adı ister."));
                return 2;
            }
            out = args[++i];
        } else if (a.startsWith(u"--") || !folder.isEmpty()) {
            messages.warning(QStringLiteral("Bilinmeyen seçenek: ") + a);
            return 2;
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty()) {
        std::fputs("Kullanım:\n  koop-cli print-test KLASÖR [--mode 1|2] [--out DOSYA]\n", stderr);
        return 2;
    }
    if (mode == 1 && !qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        messages.warning(QStringLiteral("Grafik yazdırma için pencere sistemi gerekli."));
        return 1;
    }
    Session session(messages);
    if (!startup::openCompanyFolder(session, folder))
        return 1;

    printing::PrintContext context(session);
    context.settings.dotMatrix = mode == 2;
    context.settings.lineCount = 66;
    context.settings.copies = 1;
    context.settings.orientation = 1;
    if (mode == 1)
        context.pdfFile = out;
    else
        context.dotMatrixCopy = out;

    printing::SampleSummary summary;
    if (!printing::printSample(context, session.company, session.today(), &summary)) {
        messages.warning(QStringLiteral("Yazıcı açılamadı."));
        return 1;
    }
    const QByteArray line =
        QStringLiteral("%1 sayfa, %2 satır\n").arg(summary.pages).arg(summary.rows).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    return 0;
}

namespace cli {

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], "print-test") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace cli
