#include "paint/PaintTools.h"

#include "platform/GlyphIcons.h"

#include <array>

namespace pel {

namespace {

using A = ToolAction;
using P = PenStyle;
using B = BrushStyle;
using F = Figure;
constexpr std::nullopt_t keep = std::nullopt;

const std::array<ToolRow, kToolCount> kTools{{
    {0, A::Line, F::Star, P::Solid, keep, keep},
    {1, A::Rectangle, F::Star, P::Solid, B::Clear, keep},
    {2, A::Rectangle, F::Star, keep, keep, keep},
    {3, A::Ellipse, F::Star, P::Solid, B::Clear, keep},
    {4, A::Ellipse, F::Star, keep, keep, keep},
    {5, A::RoundRect, F::Star, P::Solid, B::Clear, keep},
    {6, A::RoundRect, F::Star, keep, keep, keep},
    {7, A::FreeHand, F::Star, P::Solid, keep, keep},
    {8, A::Nothing, F::Star, keep, keep, keep},
    {9, A::FigureOutline, F::Star, P::Solid, B::Clear, keep},
    {10, A::Fill, F::Star, keep, B::Solid, B::Solid},
    {11, A::FigureOutline, F::Rhombus, P::Solid, B::Clear, keep},
    {12, A::Line, F::Star, P::Dot, B::Clear, keep},
    {13, A::FigureOutline, F::Pentagon, P::Solid, B::Clear, keep},
    {14, A::FigureOutline, F::VerticalRhombus, P::Solid, B::Clear, keep},
    {15, A::FigureFilled, F::Star, P::Solid, B::Solid, keep},
    {16, A::FigureOutline, F::Triangle, keep, B::Clear, keep},
    {17, A::FigureFilled, F::Triangle, keep, B::Solid, keep},
    {18, A::FigureFilled, F::Pentagon, P::Solid, B::Solid, keep},
    {19, A::FigureFilled, F::VerticalRhombus, P::Solid, B::Solid, keep},
    {20, A::Line, F::Star, P::Dash, B::Clear, keep},
    {21, A::Line, F::Star, P::DashDot, B::Clear, keep},
    {22, A::Line, F::Star, P::DashDotDot, B::Clear, keep},
    {23, A::Fill, F::Star, keep, B::BDiagonal, B::BDiagonal},
    {24, A::Fill, F::Star, keep, B::FDiagonal, B::FDiagonal},
    {25, A::Fill, F::Star, keep, B::Cross, B::Cross},
    {26, A::Fill, F::Star, keep, B::DiagCross, B::DiagCross},
    {27, A::Fill, F::Star, keep, B::Horizontal, B::Horizontal},
    {28, A::Fill, F::Star, keep, B::Vertical, B::Vertical},
}};

using E = SelectEffect;

const ToolChoice kToolButtons[] = {
    {"ToolButton1", "", "フリー|フリーハンド", 7, 7, E::None},
    {"ToolButton2", "", "直線|直線を描く", 0, 0, E::None},
    {"ToolButton18", "", "点線|点線をひきます。ペンの太さは「０か１」までです。", 17, 12, E::PenStyle, P::Dot},
    {"ToolButton3", "", "四角|長方形を描く", 1, 1, E::None},
    {"ToolButton4", "", "円|円を描く", 2, 3, E::None},
    {"ToolButton5", "", "角丸四角|角の丸い長方形を描く", 3, 5, E::None},
    {"ToolButton10", "", "星型(定位置図形)|小さい星柄を絵画します", 26, 9, E::None},
    {"ToolButton17", "", "菱型(定位置図形)|菱形を絵画します。", 16, 11, E::None},
    {"ToolButton26", "", "縦菱形(定位置図形)|縦型の菱形を絵画します", 20, 14, E::None},
    {"ToolButton19", "", "五角形(定位置図形)|五角形を絵画します。", 18, 13, E::None},
    {"ToolButton28", "", "三角形(定位置図形)|正三角形を絵画します", 22, 16, E::None},
    {"ToolButton27", "", "色つき星型(定位置図形)|色つき星柄を背景色で塗つぶします", 27, 15, E::BrushColour},
    {"ToolButton33", "", "色つき縦菱形(定位置図形)|色つき縦菱形を背景色で塗り潰します", 28, 19, E::BrushColour},
    {"ToolButton32", "", "色つき五角形(定位置図形)|背景色で五角形を塗り潰します", 25, 18, E::BrushColour},
    {"ToolButton29", "", "色つき三角(定位置図形)|背景色で正三角形を塗り潰します", 23, 17, E::BrushColour},
    {"ToolButton8", "", "色つき四角|四角に色を選択して塗りつぶす", 10, 2, E::BrushColour},
    {"ToolButton12", "", "色つき円|円に色を選択して塗りつぶす", 11, 4, E::BrushColour},
    {"ToolButton13", "", "色つき角丸四角|角丸四角に色を選択して塗りつぶす", 12, 6, E::BrushColour},
    {"ToolButton6", "", "塗りつぶす|背景色を選択して塗りつぶす", 13, 10, E::FillColours},
};

const ToolChoice kPenStyles[] = {
    {"N21", "実線", "実線", -1, 0, E::PenStyle, P::Solid},
    {"N20", "破線", "破線を絵画します", -1, 20, E::PenStyle, P::Dash},
    {"N19", "点線　", "点線　", -1, 12, E::PenStyle, P::Dot},
    {"N16", "一点鎖線", "一点鎖線", -1, 21, E::PenStyle, P::DashDot},
    {"N15", "二点鎖線", "二点鎖線", -1, 22, E::PenStyle, P::DashDotDot},
};

const ToolChoice kBrushStyles[] = {
    {"Brush1", "右綾線", "右上がりの綾の線で塗り潰す", -1, 23, E::FillColours},
    {"Brush2", "左綾線", "左上がりの綾の線で塗り潰す", -1, 24, E::FillColours},
    {"Brush3", "格子", "格子柄で塗り潰す", -1, 25, E::FillColours},
    {"Brush4", "ダイアゴナル", "ダイアゴナルで塗り潰す", -1, 26, E::FillColours},
    {"Brush5", "横段", "横縞柄で塗り潰す", -1, 27, E::FillColours},
    {"Brush6", "縦縞", "縦縞で塗り潰す", -1, 28, E::FillColours},
    {"N24", "塗りつぶし", "塗りつぶし", -1, 10, E::FillColours},
};

} // namespace

std::span<const ToolRow> toolTable()
{
    return kTools;
}

const ToolRow* toolRow(int code)
{
    if (code < 0 || code >= kToolCount)
        return nullptr;
    return &kTools[static_cast<size_t>(code)];
}

std::span<const ToolChoice> toolButtonChoices() { return kToolButtons; }
std::span<const ToolChoice> penStyleChoices() { return kPenStyles; }
std::span<const ToolChoice> brushStyleChoices() { return kBrushStyles; }

QRect applyTool(PaintCanvas& canvas, int code, QPoint start, QPoint point, PenMode mode,
                FigureOffset figureOffset)
{
    canvas.pen().mode = mode;
    const ToolRow* row = toolRow(code);
    if (!row)
        return {};

    QRect changed;
    switch (row->action) {
    case ToolAction::Nothing:
        break;
    case ToolAction::Line:
        canvas.moveTo(start);
        changed = canvas.lineTo(point);
        break;
    case ToolAction::FreeHand:
        changed = canvas.lineTo(point);
        break;
    case ToolAction::Rectangle:
        changed = canvas.rectangle(start, point);
        break;
    case ToolAction::Ellipse:
        changed = canvas.ellipse(start, point);
        break;
    case ToolAction::RoundRect:
        // Integer division truncates toward zero, as the corner sizes must.
        changed = canvas.roundRect(start, point, (start.x() - point.x()) / 2, (start.y() - point.y()) / 2);
        break;
    case ToolAction::FigureOutline:
        changed = canvas.polyline(figurePoints(row->figure, figureOffset));
        break;
    case ToolAction::FigureFilled:
        changed = canvas.polygon(figurePoints(row->figure, figureOffset));
        break;
    case ToolAction::Fill:
        canvas.brush().style = *row->fillBrush;
        changed = canvas.floodFill(start);
        break;
    }
    if (row->penAfter)
        canvas.pen().style = *row->penAfter;
    if (row->brushAfter)
        canvas.brush().style = *row->brushAfter;
    return changed;
}

QIcon paintIcon(int index)
{
    struct Glyph {
        const char* label;
        QRgb tile;
    };
    static const Glyph kGlyphs[kPaintIconCount] = {
        {"／", 0x607080}, {"□", 0x607080}, {"○", 0x607080}, {"角", 0x607080}, {"選", 0x808080},
        {"消", 0xA04040}, {"移", 0x808080}, {"筆", 0x406080}, {"設", 0x408040}, {"戻", 0xA06020},
        {"■", 0x2060A0}, {"●", 0x2060A0}, {"角", 0x2060A0}, {"塗", 0x2060A0}, {"拡", 0x808080},
        {"縮", 0x808080}, {"◇", 0x607080}, {"点", 0x607080}, {"五", 0x607080}, {"鎖", 0x808080},
        {"菱", 0x607080}, {"破", 0x808080}, {"△", 0x607080}, {"▲", 0x2060A0}, {"移", 0x806020},
        {"五", 0x2060A0}, {"☆", 0x607080}, {"★", 0x2060A0}, {"◆", 0x2060A0}, {"字", 0x408040},
        {"印", 0x404040}, {"覧", 0x404040}, {"機", 0x404040},
    };
    if (index < 0 || index >= kPaintIconCount)
        return {};
    const Glyph& glyph = kGlyphs[index];
    return glyphIcon(QString::fromUtf8(glyph.label), QColor::fromRgb(glyph.tile));
}

} // namespace pel
