#include "paint/FigureGeometry.h"

namespace pel {

QPolygon figurePoints(Figure figure, FigureOffset o)
{
    const int H = o.h, V = o.v, S = o.s;
    switch (figure) {
    case Figure::Star:
        return QPolygon({{60 + H, 15 - S + V},
                         {47 - S + H, 45 - S + V},
                         {20 - S + H, 45 - S + V},
                         {44 - S + H, 62 + V},
                         {35 - S + H, 90 + S + V},
                         {60 + H, 72 + S + V},
                         {85 + S + H, 90 + S + V},
                         {75 + S + H, 62 + V},
                         {100 + S + H, 45 - S + V},
                         {73 + S + H, 45 - S + V},
                         {60 + H, 15 - S + V}});
    case Figure::Rhombus:
        return QPolygon({{10 + H, 10 + V}, {60 + H, 10 + V}, {85 + H, 60 + V}, {35 + H, 60 + V}, {10 + H, 10 + V}});
    case Figure::Pentagon:
        return QPolygon({{58 + H, 20 - S + V},
                         {93 + S + H, 46 - S + V},
                         {84 + S + H, 85 + S + V},
                         {37 - S + H, 85 + S + V},
                         {25 - S + H, 46 - S + V},
                         {58 + H, 20 - S + V}});
    case Figure::VerticalRhombus:
        return QPolygon({{50 + H, 10 - S + V},
                         {75 + S + H, 60 + V},
                         {50 + H, 110 + S + V},
                         {25 - S + H, 60 + V},
                         {50 + H, 10 - S + V}});
    case Figure::Triangle:
        return QPolygon({{40 + H, -S + V}, {-S + H, 80 + S + V}, {80 + S + H, 80 + S + V}, {40 + H, -S + V}});
    }
    return {};
}

} // namespace pel
