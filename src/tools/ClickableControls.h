#pragma once
#include <QLabel>
#include <QLineEdit>

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
    bool pressed_ = false;
};

// A one-line field that also reports clicks; the caret is placed as usual.
class ClickEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ClickEdit(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};
