#pragma once

#include "base/messages.h"
#include "data/database.h"
#include "data/xbase.h"

#include <QDate>
#include <QString>
#include <functional>

// One open company: its two databases and their tables, its money settings
// and the clerk's messages. This is all an action sees of the process; what
// the desktop adds (the theme, the pictures, the screen key) is the
// session's.
struct Company {
    explicit Company(Messages &m) : messages(m) {}
    Company(const Company &) = delete;
    Company &operator=(const Company &) = delete;

    Messages &messages;

    QString prgPath;   // the program's folder
    QString imagePath; // its pictures, under prgPath
    QString dataPath;
    QString company; // the folder under dataPath

    qint16 tlonda = 0; // decimals of an amount
    QString tlnick;
    QString krnick;

    data::Database koop; // dalun.dat
    data::Database data; // xdata.dat

    data::TableCursor carkart, carhar, stkkart, stkhar, ftu, ent, kasa, genel; // data
    data::TableCursor fiat, ayar;                                              // koop

    // The system date; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The last reference code drawn by this process.
    QString lastReference;
    // An action that writes is under way; actions do not nest.
    bool writing = false;

    // DataPath + company folder + "/" + name; the old suite's backslashes
    // become the platform's separators.
    QString companyFile(const QString &name) const;
    // PrgPath + imagepath + name.
    QString imageFile(const QString &name) const;
};

// Folder text as the suite stores it ("C:\Koop\", "image\soft\") made usable here.
QString toLocalSeparators(const QString &path);
