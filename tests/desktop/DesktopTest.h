#pragma once
// Helpers for tests that run the real windows on an X server with a window
// manager (see run-under-x.sh): input as a user gives it, and checks of what
// a user sees. Every wait is on a condition.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

namespace pel::desktop {

constexpr int kWait = 5000;

inline bool onX() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Runs an X tool on our display; returns its standard output.
inline QString x11(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kWait) || process.exitCode() != 0)
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(arguments.join(u' ')),
                 process.readAllStandardError().constData());
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}
inline QString xdotool(const QStringList& arguments) { return x11(QStringLiteral("xdotool"), arguments); }

inline QString windowId(const QWidget* window) { return QString::number(window->window()->winId()); }

// The window the window manager calls active, as an X id.
inline WId activeWindowId()
{
    return xdotool({QStringLiteral("getactivewindow")}).toULongLong();
}

// Client windows bottom to top, as the window manager stacks them.
inline QList<WId> stacking()
{
    const QString out = x11(QStringLiteral("xprop"),
                            {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    QList<WId> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = hex.globalMatch(out); it.hasNext();)
        ids << it.next().captured().toULongLong(nullptr, 16);
    return ids;
}

inline bool isActive(const QWidget* window)
{
    return activeWindowId() == window->window()->winId() && window->window()->isActiveWindow();
}

// True when no other visible window of ours is stacked above `window` over
// any part of it.
inline bool isUncovered(const QWidget* window)
{
    const QList<WId> order = stacking();
    const qsizetype at = order.indexOf(window->winId());
    if (at < 0)
        return false;
    const QRect frame = window->frameGeometry();
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible() || !other->testAttribute(Qt::WA_WState_Created))
            continue;
        if (order.indexOf(other->winId()) > at && other->frameGeometry().intersects(frame))
            return false;
    }
    return true;
}

// Keys as a user types them: to whatever control has the focus. A
// character beyond ASCII comes as a key with that text, as a keyboard
// with the input method off sends it.
inline void typeToFocus(const QString& text)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "no control has the focus");
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClicks(focus, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
inline void keyToFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "no control has the focus");
    QTest::keyClick(focus, key, modifiers);
}

// A key combination through the X server ("alt+h", "Return"), to the
// active window.
inline void xKey(const QString& keys)
{
    xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}

// True when a click at the control's centre reaches the control: it is
// shown, inside its window, and nothing lies over its centre.
inline bool isClickable(const QWidget* control)
{
    if (!control->isVisible())
        return false;
    const QPoint centre = control->mapToGlobal(control->rect().center());
    const QWidget* hit = QApplication::widgetAt(centre);
    return hit && (hit == control || control->isAncestorOf(hit));
}

// Clicks the control at its centre through the X server, as a user would.
// The point is given in the window's own coordinates: the window manager may
// still be placing a window that was just shown, and a screen position taken
// from our side would then hit whatever lies there (another button).
inline void click(const QWidget* control)
{
    QVERIFY2(isClickable(control), qPrintable(control->objectName() + QStringLiteral(" is not clickable")));
    const QPoint centre = control->mapTo(control->window(), control->rect().center());
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), windowId(control),
             QString::number(centre.x()), QString::number(centre.y()), QStringLiteral("click"), QStringLiteral("1")});
}

// Asks the window manager to close the window, as its close box does
// (openbox binds Alt+F4 to its close action).
inline void closeThroughWindowManager(const QWidget* window)
{
    xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), windowId(window)});
    xKey(QStringLiteral("alt+F4"));
}

inline QString nameOf(const QWidget* widget)
{
    QString name = widget->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(widget->metaObject()->className());
    if (auto* label = qobject_cast<const QLabel*>(widget))
        name += QStringLiteral(" \"") + label->text() + u'"';
    else if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        name += QStringLiteral(" \"") + button->text() + u'"';
    return name;
}

// Content of a scroller lies partly outside it by design.
inline bool isScrolled(const QWidget* widget)
{
    for (const QWidget* up = widget->parentWidget(); up && !up->isWindow(); up = up->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(up)
            || QByteArray(up->metaObject()->className()).endsWith("PageScroller"))
            return true;
    return false;
}

// Shown controls that stick out of the window, and tool bars that hide
// some of their buttons behind the overflow button.
inline QStringList controlsOutside(const QWidget* window)
{
    QStringList faults;
    const QRect inside = window->rect();
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisible() || child->isWindow() || child->window() != window || isScrolled(child))
            continue;
        const QRect place(child->mapTo(window, QPoint(0, 0)), child->size());
        // A bare container shows nothing itself; its controls are checked.
        const bool container = child->metaObject() == &QWidget::staticMetaObject;
        if (!container && !inside.contains(place))
            faults << nameOf(child) + QStringLiteral(" outside");
        if (auto* bar = qobject_cast<const QToolBar*>(child)) {
            auto* overflow = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
            if (overflow && overflow->isVisible())
                faults << nameOf(child) + QStringLiteral(" overflows");
        }
    }
    return faults;
}

// Shown labels and buttons whose text does not fit their size.
inline QStringList clippedTexts(const QWidget* window)
{
    QStringList faults;
    for (const QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisible() || child->window() != window)
            continue;
        auto* label = qobject_cast<const QLabel*>(child);
        auto* button = qobject_cast<const QAbstractButton*>(child);
        if ((!label && !button) || (label && label->text().isEmpty()) || (button && button->text().isEmpty()))
            continue;
        QSize need = child->sizeHint();
        if (label && label->wordWrap())
            need = QSize(0, label->heightForWidth(label->width()));
        // A button's size hint holds the style's minimum button size; what
        // must fit is its caption.
        if (button) {
            QString caption = button->text();
            caption.remove(QLatin1Char('&'));
            const QFontMetrics metrics(button->font());
            need = QSize(metrics.horizontalAdvance(caption) + 4, metrics.height());
        }
        if (need.width() > child->width() || need.height() > child->height())
            faults << QStringLiteral("%1 needs %2x%3, has %4x%5")
                          .arg(nameOf(child)).arg(need.width()).arg(need.height())
                          .arg(child->width()).arg(child->height());
    }
    return faults;
}

// Notes that `menu` popped up and closes it again: a menu opened by a
// button runs a loop of its own, which would hold the test. Given `key`,
// presses that key in the menu instead, once.
struct MenuWatch {
    QTimer timer;
    bool popped = false;
    explicit MenuWatch(QMenu* menu, const QString& key = {})
    {
        QObject::connect(&timer, &QTimer::timeout, menu, [this, menu, key] {
            if (!menu->isVisible() || (popped && !key.isEmpty()))
                return;
            popped = true;
            if (key.isEmpty())
                menu->close();
            else
                xKey(key);
        });
        timer.start(20);
    }
};

// Fails the test with every fault listed.
#define PEL_VERIFY_NONE(faults)                                                         \
    do {                                                                                \
        const QStringList found_ = (faults);                                           \
        QVERIFY2(found_.isEmpty(), qPrintable(found_.join(QLatin1Char('\n'))));        \
    } while (false)

// The window shows, mapped and framed by the window manager, and is active.
inline bool showAndActivate(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window, kWait);
}

} // namespace pel::desktop
