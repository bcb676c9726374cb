#pragma once

#include "base/messages.h"
#include "base/money.h"
#include "core/theme.h"
#include "data/database.h"
#include "data/xbase.h"

#include <QDate>
#include <QString>
#include <functional>

class UnitOfWork;

// The process-wide state: filled once at start-up, read by every screen.
// Owned by main (or a test) and passed by reference; nothing is global.
struct Session {
    explicit Session(Messages &m) : messages(m) {}
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    Messages &messages;

    bool pictures = true;
    QString prgPath;
    QString dataPath;
    QString company;
    QString key;
    QString imagePath;

    qint16 tlonda = 0;
    QString tlnick;
    QString krnick;

    data::Database koop; // dalun.dat
    data::Database data; // xdata.dat

    data::TableCursor carkart, carhar, stkkart, stkhar, ftu, ent, kasa, genel; // data
    data::TableCursor fiat, ayar;                                              // koop

    ColourTheme theme;

    // The system date; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The last reference code drawn by this process.
    QString lastReference;
    // The writing action under way, if any.
    UnitOfWork *work = nullptr;

    // DataPath + company folder + "/" + name; the old suite's backslashes
    // become the platform's separators.
    QString companyFile(const QString &name) const;
    // PrgPath + imagepath + name.
    QString imageFile(const QString &name) const;
};

// Folder text as the suite stores it ("C:\Koop\", "image\soft\") made usable here.
QString toLocalSeparators(const QString &path);
