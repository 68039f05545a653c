#pragma once
#include <QColor>
#include <QIcon>
#include <QString>

namespace pel {

// A small drawn icon: a coloured tile with up to three characters on it.
// Used where the desktop theme has no fitting picture, so no button is blank.
QIcon glyphIcon(const QString& label, const QColor& tile, int size = 16);

// The theme's icon `themeName` when it has one, the glyph otherwise.
QIcon themeOrGlyph(const char* themeName, const QString& label, const QColor& tile);

} // namespace pel
