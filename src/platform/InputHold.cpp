#include "platform/InputHold.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace pel {

InputHold::InputHold(QAbstractScrollArea* scrollable) : scrollable_(scrollable)
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
    for (Kept& kept : kept_) {
        if (kept.receiver)
            QCoreApplication::postEvent(kept.receiver, kept.event.release());
    }
}

bool InputHold::scrolls(QObject* watched, QEvent* event) const
{
    if (!scrollable_ || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    for (QScrollBar* bar : {scrollable_->verticalScrollBar(), scrollable_->horizontalScrollBar()}) {
        if (widget == bar || bar->isAncestorOf(widget))
            return true;
    }
    // The wheel scrolls; with Ctrl it would change the font.
    return event->type() == QEvent::Wheel && scrollable_->isAncestorOf(widget)
           && !(static_cast<QWheelEvent*>(event)->modifiers() & Qt::ControlModifier);
}

bool InputHold::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken as the control's own key, so no shortcut runs a command; the
        // key itself follows and is kept.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
        kept_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        // A window passes the pointer on to the control under it, where it
        // is judged.
        return watched->isWidgetType() && !scrolls(watched, event);
    case QEvent::MouseMove:
        return watched->isWidgetType() && static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton
               && !scrolls(watched, event);
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

} // namespace pel
