#include "gui/desktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace desktop {

std::unique_ptr<QCoreApplication> makePaintingApplication(int &argc, char **argv) {
    return std::make_unique<QApplication>(argc, argv);
}

bool installTurkishTranslations(QCoreApplication &app) {
    auto *translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void addMissingFonts() {
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive))
        return;
    // Liberation Sans keeps Arial's widths, which are Tahoma's or a hair
    // narrower, and draws every Turkish letter well.
    if (families.contains(QStringLiteral("Liberation Sans")))
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
}

} // namespace desktop
