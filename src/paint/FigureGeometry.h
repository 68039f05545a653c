#pragma once
#include <QPolygon>

namespace pel {

// The fixed-position figures. They are drawn at fixed picture coordinates,
// moved by H and V and deformed by S (the image-move dialog's values).
enum class Figure { Star, Rhombus, Pentagon, VerticalRhombus, Triangle };

struct FigureOffset {
    int h = 0;  // horizontal move, negative to the left
    int v = 0;  // vertical move, negative upwards
    int s = 0;  // size change: moves some vertices outwards
};

// The vertices in drawing order; the last repeats the first, so an open
// line through them closes the outline.
QPolygon figurePoints(Figure figure, FigureOffset offset);

} // namespace pel
