#pragma once

#include "base/messages.h"
#include "controls/dclist.h"

#include <QApplication>
#include <QBrush>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <utility>

// A window with a field that holds the focus first, so the grid starts
// passive, and the grid under it; keys go where a clerk's would, to the open
// editor or else to the grid.
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
    QWidget *target() const {
        return grid->editor() ? static_cast<QWidget *>(grid->editor()) : grid;
    }
    // Backspace written as \b.
    void type(const QString &keys) {
        for (QChar c : keys) {
            if (c == u'\b')
                key(Qt::Key_Backspace);
            else
                QTest::keyClick(target(), c.toLatin1());
        }
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(target(), k, m);
    }
    QString editorText() const { return grid->editor() ? grid->editor()->text() : QString(); }
    QStringList boxes() const {
        QStringList out;
        for (const auto &b : messages.boxes)
            out << b.title + u'|' + LogMessages::iconName(b.icon) + u'|' + b.text;
        return out;
    }
    // Rows of an A column "ad" and an N column "tutar".
    void fill(const QStringList &names, const QList<double> &amounts = {}) {
        if (grid->ColumnCount() == 0) {
            grid->Add("A", "ad", "Ad", 150, 30);
            grid->Add("N", "tutar", "Tutar", 100, 1e9, 0, 2, 3);
        }
        for (qsizetype i = 0; i < names.size(); ++i) {
            const int row = grid->CreateNewCaption();
            grid->setCaption(row, 0, names[i]);
            if (i < amounts.size())
                grid->setCaption(row, 1, amounts[i]);
        }
    }
    QStringList column(int col) const {
        QStringList out;
        for (int r = 0; r < grid->ListCount(); ++r)
            out << grid->tableModel()->index(r, col).data().toString();
        return out;
    }
    QString shown(int row, int col) const {
        QApplication::processEvents();
        return grid->model()->index(row, col).data().toString();
    }
    QColor background(int row) const {
        return grid->model()->index(row, 0).data(Qt::BackgroundRole).value<QBrush>().color();
    }
    // `rows` empty rows, browse mode on `row`, then edit mode.
    void editRow(int rows = 1, int row = 0) {
        for (int i = 0; i < rows; ++i)
            grid->CreateNewCaption();
        grid->ChngMode(1, row);
        grid->ChngMode(2, row);
    }
};

// Every event of the grid as one line, in the order raised.
struct EventLog {
    QObject context;
    QStringList lines;
    explicit EventLog(dclist *g) {
        auto add = [this](const QString &line) { lines << line; };
        QObject::connect(g, &dclist::SatirChange, &context,
                         [=](int row) { add(QStringLiteral("SatirChange %1").arg(row)); });
        QObject::connect(g, &dclist::MouseDown, &context, [=](int b, int col, int row) {
            add(QStringLiteral("MouseDown %1 %2 %3").arg(b).arg(col).arg(row));
        });
        QObject::connect(g, &dclist::AlanChanged, &context,
                         [=](int col) { add(QStringLiteral("AlanChanged %1").arg(col)); });
        QObject::connect(g, &dclist::KeyDown, &context, [=](int key, int shift, int row) {
            add(QStringLiteral("KeyDown %1 %2 %3").arg(key).arg(shift).arg(row));
        });
        QObject::connect(g, &dclist::UpdateData, &context,
                         [=](int row) { add(QStringLiteral("UpdateData %1").arg(row)); });
        QObject::connect(g, &dclist::OperasyonDelete, &context,
                         [=](int row) { add(QStringLiteral("OperasyonDelete %1").arg(row)); });
        QObject::connect(g, &dclist::OnKosulVar, &context,
                         [=](int col, const QString &key, const QString &text) {
                             add(QStringLiteral("OnKosulVar %1 %2 %3").arg(col).arg(key, text));
                         });
        QObject::connect(g, &dclist::ChangeEditMode, &context, [=](bool on) {
            add(QStringLiteral("ChangeEditMode %1").arg(on ? "true" : "false"));
        });
        QObject::connect(g, &dclist::isLocked, &context,
                         [=](int row) { add(QStringLiteral("isLocked %1").arg(row)); });
    }
    QStringList take() { return std::exchange(lines, {}); }
};
