#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <vector>

namespace pel {

// How wide each character is drawn, for laying lines out without shaping
// them: the view's font draws a line unshaped and without kerning, so a
// line is as wide as its characters' advances added up.
class CharWidths {
public:
    virtual ~CharWidths() = default;
    // Not for the tab, which reaches to the next tab stop.
    virtual qreal advance(char32_t c) const = 0;
    virtual qreal tabStop() const = 0;
    // The advance of `c` standing `x` from the start of its line.
    qreal advanceAt(char32_t c, qreal x) const;
};

// The widths of a font's characters, each measured once.
class FontWidths final : public CharWidths {
public:
    // `device` (a printer) when the text is not drawn on the screen.
    FontWidths(const QFont& font, qreal tabStop, const QPaintDevice* device = nullptr);
    void setFont(const QFont& font, qreal tabStop);
    qreal advance(char32_t c) const override;
    qreal tabStop() const override { return tabStop_; }

private:
    qreal measure(char32_t c) const;

    QFontMetricsF metrics_;
    qreal tabStop_;
    mutable std::vector<float> basic_;   // the Basic Multilingual Plane; < 0 until measured
    mutable QHash<char32_t, float> others_;
};

// The character that stands for a byte that is no character; drawn as a
// box with the byte, in the room of an ideographic space.
inline constexpr char16_t kStandInChar = 0xFFFC;
inline constexpr char16_t kStandInRoom = 0x3000;

} // namespace pel
