#pragma once
#include <QFont>
#include <QString>

namespace pel {

// The family every window asks for; installFontSubstitutions maps it to an
// installed Japanese font.
inline QString japaneseFamily() { return QStringLiteral("ＭＳ Ｐゴシック"); }

// japaneseFamily() at a size in pixels, as the windows were laid out.
QFont japaneseFont(int pixels, bool bold = false);

// A size in pixels on a device of `dpi` dots per inch, in points.
inline double pixelsToPoints(int pixels, int dpi) { return pixels * 72.0 / dpi; }
// A font's size in whole points, whether it was given in points or pixels.
inline int fontPoints(const QFont& font, int dpi)
{
    return font.pointSize() > 0 ? font.pointSize() : qRound(pixelsToPoints(font.pixelSize(), dpi));
}

// Maps the Windows Japanese font names the program asks for ("ＭＳ Ｐゴシック",
// "ＭＳ ゴシック", ...) to Japanese fonts installed here.
void installFontSubstitutions();

} // namespace pel
