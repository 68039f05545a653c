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
} // namespace

QRect fitToScreens(const QRect& bounds)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->virtualGeometry() : QRect(0, 0, 1024, 768);
    const int width = qBound(qMin(kMinimumWidth, desktop.width()), bounds.width(), desktop.width());
    const int height = qBound(qMin(kMinimumHeight, desktop.height()), bounds.height(), desktop.height());
    const int left = qBound(desktop.left(), bounds.left(), desktop.left() + desktop.width() - width);
    const int top = qBound(desktop.top(), bounds.top(), desktop.top() + desktop.height() - height);
    return {left, top, width, height};
}

WindowPlacement readWindowPlacement(const RegistryKey& key, QSize defaultSize)
{
    const int top = key.readInteger(kLocate, kTop, 10);
    const int left = key.readInteger(kLocate, kLeft, 10);
    const int height = key.readInteger(kLocate, kHeight, defaultSize.height());
    const int width = key.readInteger(kLocate, kWidth, defaultSize.width());
    WindowPlacement placement;
    placement.bounds = fitToScreens(QRect(left, top, width, height));
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
