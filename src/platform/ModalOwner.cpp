#include "platform/ModalOwner.h"

#include <QApplication>
#include <QWidget>

namespace pel {

QWidget* modalOwner(QWidget* requested)
{
    QWidget* window = requested ? requested->window() : nullptr;
    if (window && window->isVisible())
        return requested;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible())
        return modal;
    return requested;
}

void keepAboveOwner(QWidget* dialog, QWidget* owner)
{
    if (!dialog || !owner)
        return;
    QWidget* const ownerWindow = owner->window();
    if (dialog->parentWidget() != ownerWindow && dialog != ownerWindow)
        dialog->setParent(ownerWindow, dialog->windowFlags());
    const bool onTop = ownerWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    if (dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop)
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
}

} // namespace pel
