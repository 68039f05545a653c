#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QWidget;

namespace pel {

// Hints are "short|long": the short part is the tool tip, the long part goes
// to the window's status bar. A hint without a bar serves for both.
QString hintShortPart(const QString& hint);
QString hintLongPart(const QString& hint);

void setHint(QWidget* widget, const QString& hint);
void setHint(QAction* action, const QString& hint);
QString hintOf(const QObject* object);
// The long hint the program showed last, in any window (a window that opens
// shows it as the hint of the command that opened it).
QString applicationHint();

// Shows the long hint of the control under the mouse in a status line. A
// control without a hint of its own uses its nearest parent's, up to the
// window's own hint.
class HintTracker : public QObject {
public:
    HintTracker(QWidget* window, std::function<void(const QString&)> show);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void(const QString&)> show_;
};

} // namespace pel
