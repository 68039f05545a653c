#include "platform/WindowPlacement.h"

#include "platform/RegistryKey.h"

#include <QGuiApplication>
#include <QScreen>

namespace pel {

namespace {
constexpr int kMinimumWidth = 120;
constexpr int kMinimumHeight = 80;
constexpr int kLargestFontPoints = 400;

// The stored names, spelled as the settings of every earlier version spell
// them: "left" is in lower case. Never rename one.
const QString kLocate = QStringLiteral("Locate");
const QString kTop = QStringLiteral("Top");
const QString kLeft = QStringLiteral("left");
const QString kHeight = QStringLiteral("Height");
const QString kWidth = QStringLiteral("Width");
const QString kState = QStringLiteral("State");

// Stored numbers are fitted before they make a QRect: a width near INT_MAX
// would overflow the rectangle's right edge.
QRect fit(qint64 left, qint64 top, qint64 width, qint64 height)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
    const auto bound = [](qint64 low, qint64 value, qint64 high) { return qMax(low, qMin(value, high)); };
    const qint64 w = bound(qMin(kMinimumWidth, desktop.width()), width, desktop.width());
    const qint64 h = bound(qMin(kMinimumHeight, desktop.height()), height, desktop.height());
    const qint64 l = bound(desktop.left(), left, qint64(desktop.left()) + desktop.width() - w);
    const qint64 t = bound(desktop.top(), top, qint64(desktop.top()) + desktop.height() - h);
    return {int(l), int(t), int(w), int(h)};
}

} // namespace

QRect fitToScreens(const QRect& bounds)
{
    return fit(bounds.left(), bounds.top(), bounds.width(), bounds.height());
}

WindowPlacement readWindowPlacement(const RegistryKey& key, QSize defaultSize)
{
    const int top = key.readInteger(kLocate, kTop, 10);
    const int left = key.readInteger(kLocate, kLeft, 10);
    const int height = key.readInteger(kLocate, kHeight, defaultSize.height());
    const int width = key.readInteger(kLocate, kWidth, defaultSize.width());
    WindowPlacement placement;
    placement.bounds = fit(left, top, width, height);
    switch (key.readInteger(kLocate, kState, 0)) {
    case 1: placement.state = Qt::WindowMinimized; break;
    case 2: placement.state = Qt::WindowMaximized; break;
    default: break;
    }
    return placement;
}

void writeWindowPlacement(RegistryKey& key, const WindowPlacement& placement)
{
    key.writeInteger(kLocate, kTop, placement.bounds.top());
    key.writeInteger(kLocate, kLeft, placement.bounds.left());
    key.writeInteger(kLocate, kHeight, placement.bounds.height());
    key.writeInteger(kLocate, kWidth, placement.bounds.width());
    const Qt::WindowStates state = placement.state;
    key.writeInteger(kLocate, kState, state & Qt::WindowMinimized ? 1 : state & Qt::WindowMaximized ? 2 : 0);
}

int boundedFontPoints(int points)
{
    return qBound(1, points, kLargestFontPoints);
}

} // namespace pel
