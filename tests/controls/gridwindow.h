#pragma once

#include "controls/dclist.h"
#include "startup/base/messages.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

// A window with a field that holds the focus first, so the grid starts
// passive, and the grid under it.
struct GridWindow {
    RecordingMessages messages;
    QWidget window;
    QLineEdit *other = new QLineEdit(&window);
    dclist *grid = new dclist(messages, &window);
    GridWindow() {
        auto *l = new QVBoxLayout(&window);
        l->addWidget(other);
        l->addWidget(grid);
        window.resize(700, 400);
        window.show();
        other->setFocus();
        QApplication::processEvents();
    }
};
