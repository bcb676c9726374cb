// Writes the program's own artwork beside the executables at build time:
// the colour theme renk.dat (and, as screens need them, their pictures).
#include "startup/theme.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fputs("usage: makeassets IMAGE_FOLDER\n", stderr);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path()))
        return 1;
    QFile theme(dir.filePath(QStringLiteral("renk.dat")));
    if (!theme.open(QIODevice::WriteOnly) ||
        theme.write(ColourTheme::builtIn().toRecord()) != ColourTheme::RecordSize)
        return 1;
    return 0;
}
