#include "cli/initcompany.h"

#include "cli/demo.h"
#include "data/koopschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace cli {

namespace {

const char *const CompanyFiles[] = {"xdata.dat", "dalun.dat", "korvane.dat"};

} // namespace

int initCompany(const InitOptions &options, Messages &messages) {
    const QFileInfo target(options.folder);
    const QString name = target.fileName();
    if (options.folder.trimmed().isEmpty() || name.isEmpty()) {
        messages.warning(QStringLiteral("Şirket klasörü belirtilmedi."));
        return 1;
    }
    // The suite starts us with "folder key" on one line, split at the first blank.
    if (name.contains(u' ')) {
        messages.warning(QStringLiteral("Şirket klasörünün adında boşluk olamaz:\n") + name);
        return 1;
    }
    for (const char *file : CompanyFiles) {
        if (QFileInfo::exists(QDir(target.filePath()).filePath(QString::fromLatin1(file)))) {
            messages.warning(QStringLiteral("Bu klasörde zaten bir şirket var, dokunulmadı:\n") +
                             target.filePath());
            return 1;
        }
    }
    if (target.exists() && !target.isDir()) {
        messages.warning(QStringLiteral("Şirket klasörü bir dosyanın adı:\n") + target.filePath());
        return 1;
    }
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent)) {
        messages.warning(QStringLiteral("Klasör yaratılamadı:\n") + parent);
        return 1;
    }

    // Built beside the target and moved in whole, so a failure leaves nothing.
    QTemporaryDir work(QDir(parent).filePath(QStringLiteral(".koop-init-XXXXXX")));
    if (!work.isValid()) {
        messages.warning(QStringLiteral("Klasöre yazılamıyor:\n") + parent);
        return 1;
    }
    QString error;
    if (!data::createSuiteDatabase(work.filePath(QStringLiteral("xdata.dat")), &error)) {
        messages.warning(QStringLiteral("Şirket dosyası yaratılamadı:\n") + error);
        return 1;
    }
    if (!data::createKoopDatabase(work.filePath(QStringLiteral("dalun.dat")), messages))
        return 1;
    QFile korvane(work.filePath(QStringLiteral("korvane.dat")));
    if (!korvane.open(QIODevice::WriteOnly)) {
        messages.warning(QStringLiteral("korvane.dat yaratılamadı."));
        return 1;
    }
    korvane.close();

    DemoSummary summary;
    if (options.demo && !fillDemoCompany(work.path(), options.seed, messages, &summary))
        return 1;

    if (!QDir().mkpath(target.absoluteFilePath())) {
        messages.warning(QStringLiteral("Klasör yaratılamadı:\n") + target.absoluteFilePath());
        return 1;
    }
    const QDir dest(target.absoluteFilePath());
    // Everything the company was built with moves in: the databases, the
    // settings file and, for the demo, the cash box's day file.
    const QStringList files = QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &f : files) {
        if (QFileInfo::exists(dest.filePath(f))) {
            messages.warning(QStringLiteral("Bu klasörde zaten bir şirket var, dokunulmadı:\n") +
                             target.filePath());
            return 1;
        }
    }
    QStringList moved;
    for (const QString &f : files) {
        if (!QFile::rename(work.filePath(f), dest.filePath(f))) {
            for (const QString &m : moved)
                QFile::rename(dest.filePath(m), work.filePath(m));
            messages.warning(QStringLiteral("Şirket dosyaları yerine taşınamadı:\n") + dest.path());
            return 1;
        }
        moved << f;
    }
    std::printf("%s\n", (QStringLiteral("Şirket yaratıldı: ") + dest.path()).toUtf8().constData());
    if (options.demo)
        std::printf("%s\n", summary.text().toUtf8().constData());
    return 0;
}

} // namespace cli
