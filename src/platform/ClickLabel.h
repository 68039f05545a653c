#pragma once
#include <QLabel>

class QMouseEvent;

// Tells a click, a press and a release of the left button inside a widget,
// from other presses, for widgets that report clicks as buttons do.
class ClickTracker {
public:
    void press(const QMouseEvent& event);
    // True when this release ends a click inside `area`.
    bool release(const QMouseEvent& event, const QRect& area);
    void cancel() { pressed_ = false; }

private:
    bool pressed_ = false;
};

// A label that reports clicks like a button does: a press and a release of the
// left button inside it. The second click of a double-click is not a click of
// its own, so a double-click never inserts twice.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = QString(), QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    ClickTracker click_;
};
