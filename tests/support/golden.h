#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

// Printed output kept as files beside the test that prints it, in its golden/
// folder. KOOP_GOLDEN_OUT=1 rewrites them from this run's output after a
// deliberate change of layout; review the difference before committing it.
namespace golden {

inline bool rewriting() {
    return qEnvironmentVariable("KOOP_GOLDEN_OUT") == u"1";
}

// `testFile` is the test's __FILE__.
inline QString path(const char *testFile, const QString &name) {
    return QFileInfo(QString::fromLocal8Bit(testFile)).absolutePath() + QStringLiteral("/golden/") +
           name;
}

// Control codes and the code page 857 bytes of a dot-matrix line, readable.
inline std::string shown(const QByteArray &line) {
    std::string out;
    for (const char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 32 && u < 127) {
            out += c;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", u);
            out += code;
        }
    }
    return out;
}

// Equal, or the first line that differs. Lines end in LF or CR LF.
inline testing::AssertionResult matches(const QByteArray &actual, const QString &file) {
    if (rewriting()) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(actual) != actual.size())
            return testing::AssertionFailure() << "cannot write " << file.toStdString();
        return testing::AssertionSuccess();
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return testing::AssertionFailure()
               << "no golden file " << file.toStdString() << " (KOOP_GOLDEN_OUT=1 writes it)";
    const QByteArray expected = in.readAll();
    if (actual == expected)
        return testing::AssertionSuccess();
    const QList<QByteArray> a = actual.split('\n'), e = expected.split('\n');
    qsizetype i = 0;
    while (i < a.size() && i < e.size() && a[i] == e[i])
        ++i;
    return testing::AssertionFailure()
           << QFileInfo(file).fileName().toStdString() << " differs at line " << i + 1
           << "\n  actual:   " << (i < a.size() ? shown(a[i]) : "(end)")
           << "\n  expected: " << (i < e.size() ? shown(e[i]) : "(end)");
}

} // namespace golden

// The output against golden/`name` beside the calling test source.
#define EXPECT_GOLDEN(actual, name)                                                                \
    EXPECT_TRUE(golden::matches((actual), golden::path(__FILE__, (name))))
