#pragma once
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

namespace pel {

// A colour as stored in settings and as the commands pass it around:
// 0x00BBGGRR, red in the low byte. Values with the top bit set name a
// system colour (the window text colour, the window background, ...).
using ColorValue = std::uint32_t;

inline constexpr ColorValue clBlack = 0x000000;
inline constexpr ColorValue clWhite = 0xFFFFFF;
inline constexpr ColorValue clWindowText = 0x80000008;

// "clBlack", "$00FF8000", "255", "-16777208" → value; nullopt when the text
// is neither a colour name nor a number.
std::optional<ColorValue> colorFromString(const QString& text);
// A name of the colour table where the value has one, "$" + eight upper-case
// hex digits otherwise.
QString colorToString(ColorValue value);

QColor toQColor(ColorValue value);
ColorValue fromQColor(const QColor& colour);

} // namespace pel
