#pragma once

class QWidget;

namespace pel {

// The window a modal box or dialog belongs to. A hidden window (the main
// window while the paint form is up) cannot own what it asks: the box would
// open under the stay-on-top form and the program would look frozen. Then
// the application's active modal window owns it instead.
QWidget* modalOwner(QWidget* requested);

// Makes `dialog` open above `owner`: a child window of it, and on top of the
// other windows too when the owner is. Call before showing it.
void keepAboveOwner(QWidget* dialog, QWidget* owner);

} // namespace pel
