#pragma once

#include <QString>
#include <QtGlobal>

namespace printing {

// The process-wide printer settings record: a printing screen fills its
// defaults, the printer setup screen edits it, and the output control reads
// (and in graphic mode rewrites) the line count. Everything starts zero,
// empty or false; only the setup screen ever shows those values.
struct PrinterSettings {
    QString title;             // heading text of the report
    bool printTitle = false;   // "Başlık Yazılsın"
    bool printDate = false;    // "Tarih Yazılsın"
    bool printPageNo = false;  // "Sayfa No Yazılsın"
    bool printCompany = false; // "Şirket Adı Yazılsın"
    quint8 orientation = 0;    // 1 "Dikey", 2 "Yatay"
    quint8 lineCount = 0;      // lines per page ("Satır Sayısı")
    quint8 copies = 0;         // "Kopya Sayısı"
    bool confirmed = false;    // the user pressed "&Tamam"
    bool dotMatrix = false;    // "Dot Matrix (Dos Mod)" rather than "Grafik (Windows Mod)"

    // A report's defaults before the setup screen: its title, every heading
    // item on, portrait, one copy, the line count and the output path.
    void presetReport(const QString &reportTitle, quint8 lines, bool dotMatrixOutput) {
        title = reportTitle;
        printTitle = printDate = printPageNo = printCompany = true;
        orientation = 1;
        lineCount = lines;
        copies = 1;
        dotMatrix = dotMatrixOutput;
    }

    // The mode a printing screen passes to OpenPrinter.
    quint8 mode() const { return dotMatrix ? 2 : 1; }
};

} // namespace printing
