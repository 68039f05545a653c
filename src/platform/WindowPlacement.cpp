#include "platform/WindowPlacement.h"

#include "platform/RegistryKey.h"

#include <QGuiApplication>
#include <QScreen>

namespace pel {

namespace {
constexpr int kMinimumWidth = 120;
constexpr int kMinimumHeight = 80;
constexpr int kLargestFontPoints = 400;
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
    const QString locate = QStringLiteral("Locate");
    const int top = key.readInteger(locate, QStringLiteral("Top"), 10);
    const int left = key.readInteger(locate, QStringLiteral("left"), 10);
    const int height = key.readInteger(locate, QStringLiteral("Height"), defaultSize.height());
    const int width = key.readInteger(locate, QStringLiteral("Width"), defaultSize.width());
    WindowPlacement placement;
    placement.bounds = fitToScreens(QRect(left, top, width, height));
    switch (key.readInteger(locate, QStringLiteral("State"), 0)) {
    case 1: placement.state = Qt::WindowMinimized; break;
    case 2: placement.state = Qt::WindowMaximized; break;
    default: break;
    }
    return placement;
}

int boundedFontPoints(int points)
{
    return qBound(1, points, kLargestFontPoints);
}

} // namespace pel
