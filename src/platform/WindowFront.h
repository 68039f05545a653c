#pragma once

class QWidget;

namespace pel {

// Brings `window` to the front with the keyboard, through the window
// manager, also when one of its own tool windows has the focus.
void bringForward(QWidget* window);

} // namespace pel
