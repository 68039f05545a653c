#include "platform/ClickLabel.h"

#include <QMouseEvent>

void ClickTracker::press(const QMouseEvent& event)
{
    pressed_ = event.button() == Qt::LeftButton;
}

bool ClickTracker::release(const QMouseEvent& event, const QRect& area)
{
    const bool click = pressed_ && event.button() == Qt::LeftButton && area.contains(event.position().toPoint());
    pressed_ = false;
    return click;
}

ClickLabel::ClickLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    click_.press(*event);
    QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = click_.release(*event, rect());
    QLabel::mouseReleaseEvent(event);
    if (click)
        Q_EMIT clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    click_.cancel();
    // Not passed on: the base class would turn it into a second press.
    event->accept();
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}
