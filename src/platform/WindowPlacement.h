#pragma once
#include <QRect>
#include <Qt>

namespace pel {

class RegistryKey;

// A window's stored "Locate" values: bounds and state (0 normal,
// 1 minimised, 2 maximised).
struct WindowPlacement {
    QRect bounds;
    Qt::WindowStates state = Qt::WindowNoState;
};

// Reads "Locate"/"Top", "left", "Height", "Width" and "State" with their
// defaults (top 10, left 10, the given size, state 0). Whatever is stored,
// the bounds come back inside what the screens can show, so a damaged value
// can neither hide the window nor make it allocate gigabytes.
WindowPlacement readWindowPlacement(const RegistryKey& key, QSize defaultSize);
// Writes the same values: the bounds and the state's number.
void writeWindowPlacement(RegistryKey& key, const WindowPlacement& placement);

// `bounds` moved and shrunk to lie on the screens (the virtual desktop).
QRect fitToScreens(const QRect& bounds);

// A font size in points that the editor can lay out.
int boundedFontPoints(int points);

} // namespace pel
