#include "gui/qtmessages.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(Messages::Icon icon) {
    switch (icon) {
    case Messages::Icon::Warning:
        return QMessageBox::Warning;
    case Messages::Icon::Question:
        return QMessageBox::Question;
    case Messages::Icon::Information:
        return QMessageBox::Information;
    case Messages::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtMessages::show(Icon icon, const QString &title, const QString &text) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok);
    box.exec();
}

bool QtMessages::ask(Icon icon, const QString &title, const QString &text, bool defaultYes) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No);
    // Qt's Turkish texts are "&Evet" and "&Hayır": E and H, the keys the clerk knows.
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtMessages::askRetry(const QString &title, const QString &text) {
    QMessageBox box(QMessageBox::Question, title, text);
    QPushButton *again = box.addButton(QStringLiteral("&Tekrar Dene"), QMessageBox::AcceptRole);
    QPushButton *stop = box.addButton(QStringLiteral("&Vazgeç"), QMessageBox::RejectRole);
    box.setDefaultButton(again);
    box.setEscapeButton(stop);
    box.exec();
    return box.clickedButton() == again;
}

std::unique_ptr<Messages> makeMessages() {
    if (messagesLogRequested())
        return LogMessages::fromEnvironment();
    return std::make_unique<QtMessages>();
}
