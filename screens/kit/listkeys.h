#pragma once

#include <functional>
#include <vector>

class QWidget;

namespace screenkit {

// The keys of a drop-down list, an option or a check box among a screen's
// fields: Enter moves on to `next`, as it does in an input field, and Esc
// closes the screen. Any other key is offered to `other` first, which says
// whether it took it.
void listKeys(QWidget &list, QWidget &next, std::function<bool(int key)> other = {});

// Calls `entered` whenever the focus comes into `area` (or a widget inside
// it) from another field of the same window; not when the window itself
// comes back from a message box or a dialog.
void whenEntered(QWidget &area, std::function<void()> entered);

// Tab, and Enter in the input fields, go through `widgets` in this order.
void tabOrder(const std::vector<QWidget *> &widgets);

} // namespace screenkit
