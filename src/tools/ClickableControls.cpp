#include "tools/ClickableControls.h"

#include <QMouseEvent>

ClickEdit::ClickEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void ClickEdit::mousePressEvent(QMouseEvent* event)
{
    click_.press(*event);
    QLineEdit::mousePressEvent(event);
}

void ClickEdit::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = click_.release(*event, rect());
    QLineEdit::mouseReleaseEvent(event);
    if (click)
        Q_EMIT clicked();
}

void ClickEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    click_.cancel();
    QLineEdit::mouseDoubleClickEvent(event);
}
