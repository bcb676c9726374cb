#include "screens/kit/codefield.h"

#include "controls/pencere.h"
#include "controls/xtext.h"

namespace screenkit {

namespace {
constexpr int CodeLength = 15; // as the card holds it
}

void codeField(xtext &field, ScreenContext &context, QWidget &screen) {
    field.xTextBicim(xtext::Metin, CodeLength, Qt::AlignLeft, 0, 0, 0);
    field.setButton(true);
    const auto lookup = [&context, &field, &screen] {
        pencere::chooseInto(context, field, &screen);
    };
    QObject::connect(&field, &xtext::ButtonClick, &screen, lookup);
    QObject::connect(&field, &xtext::KeyDown, &screen, [lookup](int key, bool) {
        if (key == Qt::Key_F2)
            lookup();
    });
}

} // namespace screenkit
