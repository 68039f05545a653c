#pragma once
#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class QAbstractScrollArea;
class QEvent;

namespace pel {

// While it lives (a large file going into the editor), no input reaches a
// command: keys (shortcuts included) and input-method text are kept and
// handed on, in order, to the controls they were meant for when it ends;
// clicks, drops and context menus are dropped. What changes nothing goes
// through at once: the window manager's close request, drawing, the pointer
// moving, and the wheel and scroll bars of `scrollable`, so the part already
// in can be read.
class InputHold : public QObject {
public:
    explicit InputHold(QAbstractScrollArea* scrollable);
    ~InputHold() override;

    // Forgets the kept input (the window is closing).
    void discard() { kept_.clear(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool scrolls(QObject* watched, QEvent* event) const;

    QPointer<QAbstractScrollArea> scrollable_;
    struct Kept {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::vector<Kept> kept_;
};

} // namespace pel
