#include "screens/kit/screentheme.h"

#include "controls/xtext.h"
#include "gui/colours.h"
#include "gui/picture.h"
#include "screens/kit/buttonkeys.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>

namespace screenkit {

namespace {

void setFore(QWidget *w, const QColor &fore) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, fore);
    w->setPalette(p);
}

} // namespace

void applyScreenTheme(QWidget &screen, ScreenContext &s, const ThemeParts &parts) {
    buttonKeys(screen);
    const ColourTheme &theme = s.theme();
    screen.setAutoFillBackground(true);
    QPalette pal = screen.palette();
    pal.setColor(QPalette::Window, themeColour(theme, 40));
    screen.setPalette(pal);

    for (xtext *f : screen.findChildren<xtext *>())
        f->setColors(themeColour(theme, 4), themeColour(theme, 10), themeColour(theme, 3),
                     themeColour(theme, 9));
    for (QLabel *l : screen.findChildren<QLabel *>())
        if (l->buddy())
            setFore(l, themeColour(theme, 23));
    for (QCheckBox *c : screen.findChildren<QCheckBox *>())
        setFore(c, themeColour(theme, 23));
    for (QLabel *l : parts.captions) {
        l->setAutoFillBackground(true);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, themeColour(theme, 22));
        p.setColor(QPalette::Window, themeColour(theme, 41));
        l->setPalette(p);
    }

    if (!s.pictures())
        return;
    const auto picture = [&s](const QString &file) {
        return loadPicture(s.imageFile(file), s.messages());
    };
    if (!parts.background.isEmpty()) {
        const QPixmap back = picture(parts.background);
        if (!back.isNull()) {
            QPalette bp = screen.palette();
            bp.setBrush(QPalette::Window, QBrush(back));
            screen.setPalette(bp);
        }
    }
    for (const auto &[field, file] : parts.fieldPictures)
        field->setPicture(picture(file));
    for (const auto &[button, file] : parts.buttonIcons)
        button->setIcon(QIcon(picture(file)));
}

QHBoxLayout *buttonRow(std::initializer_list<QWidget *> buttons) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QWidget *b : buttons)
        row->addWidget(b);
    return row;
}

} // namespace screenkit
