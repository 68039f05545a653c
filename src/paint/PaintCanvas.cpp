#include "paint/PaintCanvas.h"
#include "paint/FloodFill.h"

#include <QPainter>

namespace pel {

namespace {

// Shapes are first drawn into a mask in these two colours, then the mask is
// applied in the pen mode. That way every pixel is painted exactly once per
// call (outline over interior), which keeps not-xor drawing reversible, and
// hatches leave their gaps alone.
constexpr QRgb kPenMark = 0xFFFF0000u;
constexpr QRgb kBrushMark = 0xFF0000FFu;

Qt::PenStyle qtPenStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Solid: return Qt::SolidLine;
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::Clear: return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QPen markPen(const PenState& pen)
{
    if (pen.style == PenStyle::Clear)
        return Qt::NoPen;
    const int width = qMax(1, pen.width);
    QPen result{QColor::fromRgb(kPenMark)};
    result.setWidth(width);
    if (width == 1) {
        // Styled lines only at width 1. A thin line covers both its end
        // points, whichever way it runs, so figure corners are never lost.
        result.setCosmetic(true);
        result.setStyle(qtPenStyle(pen.style));
        result.setCapStyle(Qt::SquareCap);
        result.setJoinStyle(Qt::MiterJoin);
    } else {
        result.setStyle(Qt::SolidLine);
        result.setCapStyle(Qt::RoundCap);
        result.setJoinStyle(Qt::RoundJoin);
    }
    return result;
}

// The pixels from one corner to the other, both included, in any order.
// (QRect::normalized() would shift swapped corners by one.)
QRect spanOf(QPoint a, QPoint b)
{
    return QRect(QPoint(qMin(a.x(), b.x()), qMin(a.y(), b.y())), QPoint(qMax(a.x(), b.x()), qMax(a.y(), b.y())));
}

// The rectangle whose outline runs through both corners.
QRect outlineRect(QPoint a, QPoint b)
{
    const QRect r = spanOf(a, b);
    return QRect(r.left(), r.top(), r.right() - r.left(), r.bottom() - r.top());
}

// One line per segment: Qt's thin polylines leave out some corner pixels.
void drawSegments(QPainter& painter, const QPolygon& points)
{
    if (painter.pen().style() == Qt::NoPen)
        return;
    for (int i = 0; i + 1 < points.size(); ++i)
        painter.drawLine(points[i], points[i + 1]);
}

} // namespace

QFont DrawingState::defaultFont()
{
    QFont font;
    font.setPixelSize(11);
    return font;
}

PaintCanvas::PaintCanvas() : image_(whiteBitmap(128, 128)) {}

QImage PaintCanvas::whiteBitmap(int width, int height)
{
    QImage image(qMax(0, width), qMax(0, height), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void PaintCanvas::replace(const QImage& image)
{
    played_ = QImage();
    image_ = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    content_ = Content::Bitmap;
    renderer_ = {};
    state_ = DrawingState{};
}

void PaintCanvas::replaceWithWhite(int width, int height)
{
    replace(whiteBitmap(width, height));
}

void PaintCanvas::replaceShowOnly(const QImage& image, Renderer renderer)
{
    played_ = QImage();
    image_ = image;
    content_ = Content::ShowOnly;
    renderer_ = std::move(renderer);
    state_ = DrawingState{};
}

void PaintCanvas::clear()
{
    played_ = QImage();
    image_ = QImage();
    content_ = Content::None;
    renderer_ = {};
    state_ = DrawingState{};
}

void PaintCanvas::assignContent(const QImage& image)
{
    played_ = QImage();
    image_ = image.convertToFormat(QImage::Format_RGB32);
}

QImage PaintCanvas::rendered(QSize size) const
{
    if (!renderer_)
        return image_.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    // A metafile is played once per size: a repaint at the same size (a
    // window moved over it, a scroll) shows what was played last time.
    if (played_.isNull() || played_.size() != size)
        played_ = renderer_(size);
    return played_;
}

QRect PaintCanvas::moveTo(QPoint p)
{
    state_.penPos = p;
    return {};
}

template <typename Draw>
static QRect paintMasked(QImage& image, const DrawingState& state, QRect bounds, bool filled, Draw draw)
{
    const int margin = qMax(1, state.pen.width) + 2;
    const QRect area = bounds.adjusted(-margin, -margin, margin, margin) & image.rect();
    if (area.isEmpty())
        return {};
    const bool fill = filled && state.brush.style != BrushStyle::Clear;
    const QPen pen = markPen(state.pen);
    if (!fill && pen.style() == Qt::NoPen)
        return {};

    QImage mask(area.size(), QImage::Format_RGB32);
    mask.fill(0u);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(-area.topLeft());
        painter.setPen(pen);
        painter.setBrush(fill ? QBrush(QColor::fromRgb(kBrushMark)) : QBrush(Qt::NoBrush));
        draw(painter);
    }

    const QRgb penColour = state.pen.color.rgb();
    const QRgb brushColour = state.brush.color.rgb();
    const PenMode mode = state.pen.mode;
    QRect changed;
    for (int y = 0; y < area.height(); ++y) {
        const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(area.top() + y)) + area.left();
        int first = -1, last = -1;
        for (int x = 0; x < area.width(); ++x) {
            const QRgb mark = m[x];
            if (mark & 0x00FF0000u) {
                d[x] = combinePixel(d[x], penColour, mode);
            } else if ((mark & 0x000000FFu) && brushPaints(state.brush.style, area.left() + x, area.top() + y)) {
                d[x] = combinePixel(d[x], brushColour, mode);
            } else {
                continue;
            }
            if (first < 0)
                first = x;
            last = x;
        }
        if (first >= 0)
            changed |= QRect(area.left() + first, area.top() + y, last - first + 1, 1);
    }
    return changed;
}

QRect PaintCanvas::lineTo(QPoint p)
{
    const QPoint from = state_.penPos;
    state_.penPos = p;
    return paintMasked(image_, state_, spanOf(from, p), false,
                       [&](QPainter& painter) { painter.drawLine(from, p); });
}

QRect PaintCanvas::rectangle(QPoint a, QPoint b)
{
    const QRect r = outlineRect(a, b);
    return paintMasked(image_, state_, spanOf(a, b), true, [&](QPainter& painter) { painter.drawRect(r); });
}

QRect PaintCanvas::ellipse(QPoint a, QPoint b)
{
    const QRect r = outlineRect(a, b);
    return paintMasked(image_, state_, spanOf(a, b), true, [&](QPainter& painter) { painter.drawEllipse(r); });
}

QRect PaintCanvas::roundRect(QPoint a, QPoint b, int cornerWidth, int cornerHeight)
{
    const QRect r = outlineRect(a, b);
    // The corner sizes are ellipse diameters; their sign plays no part.
    const qreal rx = qAbs(cornerWidth) / 2.0;
    const qreal ry = qAbs(cornerHeight) / 2.0;
    return paintMasked(image_, state_, spanOf(a, b), true, [&](QPainter& painter) {
        if (rx > 0 && ry > 0)
            painter.drawRoundedRect(r, rx, ry, Qt::AbsoluteSize);
        else
            painter.drawRect(r);
    });
}

QRect PaintCanvas::polyline(const QPolygon& points)
{
    if (points.size() < 2)
        return {};
    return paintMasked(image_, state_, points.boundingRect(), false,
                       [&](QPainter& painter) { drawSegments(painter, points); });
}

QRect PaintCanvas::polygon(const QPolygon& points)
{
    if (points.size() < 2)
        return {};
    return paintMasked(image_, state_, points.boundingRect(), true, [&](QPainter& painter) {
        const QPen pen = painter.pen();
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(points, Qt::OddEvenFill);
        painter.setPen(pen);
        drawSegments(painter, points);
        if (points.first() != points.last())
            painter.drawLine(points.last(), points.first());
    });
}

QRect PaintCanvas::floodFill(QPoint start)
{
    return pel::floodFill(image_, start, state_.brush, state_.pen.mode);
}

QRect PaintCanvas::textOut(QPoint topLeft, const QString& text)
{
    if (text.isEmpty() || image_.isNull())
        return {};
    QPainter painter(&image_);
    painter.setFont(state_.font);
    const QRect bounds = painter.boundingRect(QRect(topLeft, QSize(1 << 20, 1 << 20)),
                                              Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    if (state_.brush.style == BrushStyle::Solid)
        painter.fillRect(bounds, state_.brush.color);
    painter.setPen(state_.fontColor);
    painter.drawText(bounds, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    return bounds & image_.rect();
}

QRect PaintCanvas::copyRect(const QRect& dest, const QImage& from, const QRect& source)
{
    if (image_.isNull() || from.isNull() || dest.isEmpty() || source.isEmpty())
        return {};
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (dest.size() == source.size()) {
        // Unscaled: only the part of `source` that lies inside `from`.
        const QRect readable = source & from.rect();
        if (readable.isEmpty())
            return {};
        const QRect target = readable.translated(dest.topLeft() - source.topLeft());
        painter.drawImage(target.topLeft(), from, readable);
        return target & image_.rect();
    }
    painter.drawImage(dest, from, source);
    return dest & image_.rect();
}

} // namespace pel
