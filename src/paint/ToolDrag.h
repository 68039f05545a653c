#pragma once
#include "paint/FigureGeometry.h"
#include "paint/PaintCanvas.h"
#include "paint/PaintTools.h"

#include <QPoint>
#include <QRect>
#include <functional>

namespace pel {

// The drawing tools' mouse protocol on a canvas. Only the left button
// counts. A press starts the drag at its point and asks for the undo
// snapshot; each move with the button held draws the next free-hand
// segment, or for any other tool erases the shape shown so far (drawn again
// in not-xor mode) and shows it at the new point; the release draws the
// final shape in copy mode over the last one shown.
class ToolDrag {
public:
    // What one mouse event did.
    struct Step {
        // Take the undo snapshot now: nothing has been drawn yet.
        bool takeSnapshot = false;
        // The part of the picture drawn on, to repaint.
        QRect changed;
    };

    // `ready` is asked before anything is done with the canvas: false (after
    // the caller told the user why) refuses the press, and the moves and
    // release of a refused press do nothing either. Without it the canvas
    // is always ready.
    explicit ToolDrag(PaintCanvas& canvas, std::function<bool()> ready = {});

    Step press(Qt::MouseButton button, QPoint at);
    Step move(Qt::MouseButtons buttons, QPoint at);
    Step release(Qt::MouseButton button, QPoint at);

    // Sets the pen mode, then performs the current tool from StartPoint to
    // `point`. Returns the changed rectangle.
    QRect ApplyTool(QPoint point, PenMode mode);

    quint8 ToolCode = kFreeHandTool;
    // Where the fixed-position figures stand.
    FigureOffset figureOffset;
    // Where the left button last went down, and the point of the shape shown.
    QPoint StartPoint;
    QPoint TrackPoint;

private:
    bool ready() const { return !ready_ || ready_(); }

    PaintCanvas& canvas_;
    std::function<bool()> ready_;
    bool refused_ = false;
};

} // namespace pel
