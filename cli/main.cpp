// koop-cli: the program's actions without a window, for scripts and tests.
#include "cli/initcompany.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void usage() {
    std::fputs("Kullanım:\n"
               "  koop-cli init KLASÖR [--demo] [--seed N]\n",
               stderr);
}

bool parseCount(const QString &text, uint32_t *out) {
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok);
    if (!ok || v > 0xffffffffULL)
        return false;
    *out = static_cast<uint32_t>(v);
    return true;
}

int runInit(const QStringList &args, Messages &messages) {
    cli::InitOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == u"--demo") {
            options.demo = true;
        } else if (a == u"--seed") {
            if (i + 1 >= args.size() || !parseCount(args[i + 1], &options.seed)) {
                messages.warning(QStringLiteral("--seed bir sayı ister."));
                return 2;
            }
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

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    LogMessages messages = std::move(*LogMessages::fromEnvironment());
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == u"init")
        return runInit(args, messages);
    messages.warning(QStringLiteral("Bilinmeyen komut: ") + command);
    usage();
    return 2;
}
