#include "platform/Hints.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QWidget>

namespace pel {

static const char* const kHintProperty = "pelHint";

QString hintShortPart(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString hintLongPart(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void setHint(QWidget* widget, const QString& hint)
{
    widget->setProperty(kHintProperty, hint);
    widget->setToolTip(hintShortPart(hint));
    widget->setStatusTip(QString());
}

void setHint(QAction* action, const QString& hint)
{
    action->setProperty(kHintProperty, hint);
    action->setToolTip(hintShortPart(hint));
    action->setStatusTip(hintLongPart(hint));
}

QString hintOf(const QObject* object)
{
    return object ? object->property(kHintProperty).toString() : QString();
}

HintTracker::HintTracker(QWidget* window, std::function<void(const QString&)> show)
    : QObject(window), window_(window), show_(std::move(show))
{
    qApp->installEventFilter(this);
}

namespace {
QString& lastApplicationHint()
{
    static QString hint;
    return hint;
}
} // namespace

QString applicationHint()
{
    return lastApplicationHint();
}

bool HintTracker::eventFilter(QObject* watched, QEvent* event)
{
    // Menu entries report their hints as status tips, wherever they are.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            lastApplicationHint() = tip;
        return false;
    }
    if (event->type() != QEvent::Enter || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_)
        return false;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        QString hint = hintOf(w);
        if (hint.isEmpty())
            if (auto* button = qobject_cast<QToolButton*>(w); button && button->defaultAction())
                hint = hintOf(button->defaultAction());
        if (!hint.isEmpty()) {
            lastApplicationHint() = hintLongPart(hint);
            show_(hintLongPart(hint));
            break;
        }
        if (w == window_)
            break;
    }
    return false;
}

} // namespace pel
