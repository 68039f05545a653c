#pragma once
#include <QColor>
#include <QString>
#include <span>

// The colour-name labels of the colour window: what each shows, the colour
// it is drawn in, its hint and the HTML colour code it inserts. The codes are
// fixed texts; several deliberately differ from the drawing colour.
struct ColorCodeLabel {
    const char16_t* name;      // object name
    const char16_t* caption;
    QRgb drawnIn;              // ignored when drawnInWindowText
    bool drawnInWindowText;
    int pixelSize;
    const char16_t* hint;      // "short|long"
    const char16_t* code;
};

std::span<const ColorCodeLabel> colorCodeLabels();

// A channel value 0–255 as at least two upper-case hex digits: 10 → "0A".
QString channelHex(int value);
// The background the three scroll bars mix.
QColor mixedColor(int red, int green, int blue);
