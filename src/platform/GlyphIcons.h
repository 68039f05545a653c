#pragma once
#include <QColor>
#include <QIcon>
#include <QString>

namespace pel {

// A small drawn icon: a coloured tile with up to three characters on it, or
// one of the shapes ☆★○●◇◆△▲□■／ drawn as a figure. Used where the desktop
// theme has no fitting picture, so no button is blank. The label is fitted
// inside the tile at every size, never cut off.
QIcon glyphIcon(const QString& label, const QColor& tile, int size = 16);

// The theme's icon for the first of `themeNames` (comma-separated
// freedesktop names, the preferred one first) that the theme has, the glyph
// otherwise.
QIcon themeOrGlyph(const char* themeNames, const QString& label, const QColor& tile);

// Makes an installed icon theme the fallback for names the desktop's own
// theme lacks (and the theme itself where the desktop names none).
void installIconTheme();

// The icon theme the program falls back on.
QString fallbackIconTheme();

} // namespace pel
