#pragma once
#include "paint/FigureGeometry.h"
#include "paint/PaintCanvas.h"

#include <QIcon>
#include <QPoint>
#include <QRect>
#include <optional>
#include <span>

namespace pel {

// What a tool code draws.
enum class ToolAction {
    Nothing,
    Line,           // from the press point to the mouse point
    FreeHand,       // from the pen position to the mouse point
    Rectangle,      // press point and mouse point are the corners
    Ellipse,        // inscribed in that rectangle
    RoundRect,      // corners rounded by half the drag size
    FigureOutline,  // fixed-position figure, open line through its points
    FigureFilled,   // fixed-position figure as a polygon
    Fill,           // flood fill at the press point
};

// One row of the tool table. The styles "after" are set once the shape is
// drawn, so they govern the next call; a fill sets its brush style before.
struct ToolRow {
    int code;
    ToolAction action;
    Figure figure = Figure::Star;
    std::optional<PenStyle> penAfter;
    std::optional<BrushStyle> brushAfter;
    std::optional<BrushStyle> fillBrush;
};

inline constexpr int kToolCount = 29;
inline constexpr int kFreeHandTool = 7;

std::span<const ToolRow> toolTable();
// The row of `code`; null for codes above the table (they draw nothing).
const ToolRow* toolRow(int code);

// Performs tool `code` on `canvas`: sets the pen mode, draws, then leaves
// the table's styles. Returns the changed rectangle of the picture.
QRect applyTool(PaintCanvas& canvas, int code, QPoint start, QPoint point, PenMode mode,
                FigureOffset figureOffset);

// What selecting a tool does besides setting the tool code.
enum class SelectEffect {
    None,
    PenStyle,     // the pen takes `penStyle` now
    BrushColour,  // the brush takes the background colour
    FillColours,  // drawing colour := pen colour, pen := drawing colour, brush := background colour
};

// A grouped tool button of the tool bar or an entry of the style menus.
struct ToolChoice {
    const char* name;     // object name
    const char* caption;  // menu entries only
    const char* hint;     // "tool tip|status text"
    int icon;             // index into the paint icons (-1: none)
    int code;
    SelectEffect effect;
    PenStyle penStyle = PenStyle::Solid;
};

// The grouped check buttons, in tool bar order.
std::span<const ToolChoice> toolButtonChoices();
std::span<const ToolChoice> penStyleChoices();
std::span<const ToolChoice> brushStyleChoices();

// The paint form's image list: 33 drawn 16 x 16 icons.
inline constexpr int kPaintIconCount = 33;
QIcon paintIcon(int index);

} // namespace pel
