#pragma once

class QWidget;
class xtext;
class ScreenContext;

namespace screenkit {

// A member code field: as long as a card's code, with the picture button
// and F2 opening the lookup window over `screen`; the chosen code goes into
// the field.
void codeField(xtext &field, ScreenContext &context, QWidget &screen);

} // namespace screenkit
