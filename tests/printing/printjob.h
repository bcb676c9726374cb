#pragma once

#include "core/session.h"
#include "printing/prnx.h"
#include "support/qtprint.h"

#include <QFile>
#include <QTemporaryDir>

inline QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A desk's print job whose dot-matrix copy and PDF go to a folder of its own.
struct PrintJob {
    PrintJob() : session(messages), context(session), printer(context) {
        context.dotMatrixCopy = dir.filePath(QStringLiteral("job.txt"));
        context.pdfFile = dir.filePath(QStringLiteral("job.pdf"));
    }
    QByteArray bytes() const { return readAll(context.dotMatrixCopy); }

    QTemporaryDir dir;
    RecordingMessages messages;
    Session session;
    printing::PrintContext context;
    prnx printer;
};
