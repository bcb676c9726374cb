// A developer's gallery of the screen controls: one grid with every column
// type, one input field of each kind and the lookup window on a company, to
// try them by hand from the keyboard. Usage: controls-gallery COMPANY_FOLDER
#include "controls/dclist.h"
#include "controls/pencere.h"
#include "controls/xtext.h"
#include "core/companyfolder.h"
#include "gui/qtmessages.h"
#include "gui/screencontext.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvane"));
    const std::unique_ptr<Messages> messages = makeMessages();
    Session session(*messages);
    ScreenContext desk(session);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        messages->warning(QStringLiteral("Kullanım: controls-gallery ŞİRKET_KLASÖRÜ"));
        return 2;
    }
    if (!startup::openCompanyFolder(session, args[1]))
        return 1;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Denetim Galerisi"));
    auto *grid = new dclist(session.messages, &window);
    grid->Add(QStringLiteral("A"), QStringLiteral("metin"), QStringLiteral("Metin (A)"), 120, 20);
    grid->Add(QStringLiteral("N"), QStringLiteral("sayi"), QStringLiteral("Sayı (N)"), 100,
              999999999, 0, 2, 3);
    grid->Add(QStringLiteral("T"), QStringLiteral("tarih"), QStringLiteral("Tarih (T)"), 90, 10, 3);
    grid->Add(QStringLiteral("S"), QStringLiteral("harf"), QStringLiteral("Harf (S)"), 60, 1);
    grid->Add(QStringLiteral("M"), QStringLiteral("bilgi"), QStringLiteral("Bilgi (M)"), 100, 20);
    grid->Add(QStringLiteral("B"), QStringLiteral("toplam"), QStringLiteral("Toplam (B)"), 100,
              999999999, 0, 2, 3);
    grid->Add(QStringLiteral("V"), QStringLiteral("var"), QStringLiteral("Var/Yok (V)"), 80, 5);
    grid->Add(QStringLiteral("E"), QStringLiteral("evet"), QStringLiteral("Evet/Hayır (E)"), 90, 5);
    const char *const names[] = {"Çiğdem Güneş", "Ömer Işık", "Şule Ağaoğlu", "İsmail Ünlü"};
    for (int i = 0; i < 4; ++i) {
        const int row = grid->CreateNewCaption();
        const QVariant cells[] = {QString::fromUtf8(names[i]),
                                  1250.5 * (i + 1),
                                  QStringLiteral("1%1.0%2.2026").arg(i).arg(i + 1),
                                  QStringLiteral("ABCD").mid(i, 1),
                                  QStringLiteral("salt okunur"),
                                  100.25 * i,
                                  i % 2 ? QStringLiteral("True") : QStringLiteral("False"),
                                  i % 2 ? QStringLiteral("False") : QStringLiteral("True")};
        for (int c = 0; c < 8; ++c)
            grid->setCaption(row, c, cells[c]);
    }
    grid->setEditable(true);
    grid->setSort(true);
    grid->setMinimumSize(760, 200);
    grid->reyaz();

    auto *text = new xtext(&window);
    text->xTextBicim(xtext::Metin, 30, Qt::AlignLeft, 0, 0, 0);
    auto *number = new xtext(&window);
    number->xTextBicim(xtext::Sayi, 999999999999.0, Qt::AlignRight, 0, 2, 3);
    auto *date = new xtext(&window);
    date->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    auto *code = new xtext(&window);
    code->xTextBicim(xtext::Metin, 15, Qt::AlignLeft, 0, 0, 0);
    code->setButton(true);
    // F2 or the picture button opens the lookup window, as the screens do.
    const auto lookup = [&desk, code, &window] { (void)pencere::chooseInto(desk, *code, &window); };
    QObject::connect(code, &xtext::ButtonClick, &window, lookup);
    QObject::connect(code, &xtext::KeyDown, &window, [lookup](int key, bool) {
        if (key == Qt::Key_F2)
            lookup();
    });

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Metin"), text);
    form->addRow(QStringLiteral("Sayı"), number);
    form->addRow(QStringLiteral("Tarih"), date);
    form->addRow(QStringLiteral("Cari Kodu (F2)"), code);
    auto *layout = new QVBoxLayout(&window);
    layout->addLayout(form);
    layout->addWidget(grid, 1);
    layout->addWidget(new QLabel(
        QStringLiteral("Enter/↓ sonraki alan, ↑ önceki; tabloda Ctrl+E Excel'e aktarır."),
        &window));
    window.show();
    text->setFocus();
    return QApplication::exec();
}
