#pragma once
// Small helpers shared by the paint form's three dialogs.
#include <QString>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace pel {

class UpDown;

// The common look: dialog border without close box or system menu, on top,
// "ＭＳ Ｐゴシック" 12 pixels high, a fixed client size.
void setupPaintDialog(QDialog* dialog, int clientWidth, int clientHeight);

QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);
// An edit box at (left, top) with its up-down control right of it.
QLineEdit* addNumberBox(QWidget* parent, const char* editName, const char* upDownName, int left, int top,
                        int width, int minimum, int maximum, int start, UpDown** upDown);
QPushButton* addButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                       int height);

} // namespace pel
