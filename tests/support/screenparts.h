#pragma once

#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

// A screen's widget by its object name, the one way tests reach into a
// screen. A missing one fails the test at once.
template <class W> W *part(const QWidget &screen, const char *name) {
    W *w = screen.findChild<W *>(QString::fromLatin1(name));
    if (!w) {
        ADD_FAILURE() << "no widget named " << name;
        std::abort();
    }
    return w;
}
