#pragma once
#include "paint/PaintCanvas.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace pel {

// Fills the area of pixels that have the colour of `start` and are joined
// to it (4-connected) with `brush`, in pen mode `mode`. The area is found
// before anything is painted, so a fill colour equal to the area's colour
// ends at once, and the work list lives on the heap, so large areas do not
// overflow the stack. `image` must be 32-bit RGB. Returns the bounding
// rectangle of the area (empty when `start` is outside the image).
QRect floodFill(QImage& image, QPoint start, const BrushState& brush, PenMode mode);

} // namespace pel
