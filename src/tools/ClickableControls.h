#pragma once
#include "platform/ClickLabel.h"

#include <QLineEdit>

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
    ClickTracker click_;
};
