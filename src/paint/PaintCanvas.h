#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <functional>

namespace pel {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
// Copy: pixels take the colour. NotXor: pixel := NOT(pixel XOR colour), so
// the same drawing done twice restores the pixels. White: pixels turn white.
enum class PenMode { Copy, NotXor, White };
// Hatches draw their lines in the brush colour and leave the gaps untouched.
// FDiagonal falls from upper left to lower right, BDiagonal rises.
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

struct PenState {
    QColor color = Qt::black;
    int width = 1;
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    friend bool operator==(const PenState&, const PenState&) = default;
};

struct BrushState {
    QColor color = Qt::white;
    BrushStyle style = BrushStyle::Solid;
    friend bool operator==(const BrushState&, const BrushState&) = default;
};

// True where a brush of `style` paints pixel (x, y) of the picture. Hatches
// repeat every 8 pixels, aligned to the picture's origin.
inline bool brushPaints(BrushStyle style, int x, int y)
{
    switch (style) {
    case BrushStyle::Solid: return true;
    case BrushStyle::Clear: return false;
    case BrushStyle::Horizontal: return (y & 7) == 0;
    case BrushStyle::Vertical: return (x & 7) == 0;
    case BrushStyle::FDiagonal: return ((x - y) & 7) == 0;
    case BrushStyle::BDiagonal: return ((x + y) & 7) == 0;
    case BrushStyle::Cross: return (x & 7) == 0 || (y & 7) == 0;
    case BrushStyle::DiagCross: return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;
    }
    return false;
}

// The new value of a pixel painted with `colour` in `mode` (32-bit RGB).
inline QRgb combinePixel(QRgb pixel, QRgb colour, PenMode mode)
{
    switch (mode) {
    case PenMode::Copy: return colour | 0xFF000000u;
    case PenMode::NotXor: return (~(pixel ^ colour) & 0x00FFFFFFu) | 0xFF000000u;
    case PenMode::White: return 0xFFFFFFFFu;
    }
    return pixel;
}

// A rectangle as left, top, right, bottom (right and bottom exclusive).
struct EdgeRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    friend bool operator==(const EdgeRect&, const EdgeRect&) = default;
};

// The drawing state travels with the bitmap: a new picture starts afresh.
struct DrawingState {
    PenState pen;
    BrushState brush;
    QFont font = defaultFont();
    QColor fontColor = Qt::black;
    QPoint penPos;

    static QFont defaultFont();
};

// A picture and the drawing state that belongs to it, with the drawing
// primitives the tools use. Every primitive returns the rectangle of the
// picture it may have changed, so the view repaints only that.
class PaintCanvas {
public:
    PaintCanvas();  // a white 128 x 128 bitmap

    static QImage whiteBitmap(int width, int height);

    // What the canvas holds. Only a bitmap can be drawn on; a picture loaded
    // from a JPEG, icon or metafile is only shown.
    enum class Content { None, Bitmap, ShowOnly };
    // Draws a show-only picture at another size (metafiles are played again).
    using Renderer = std::function<QImage(QSize)>;

    // Puts a new bitmap in place; the drawing state starts afresh.
    void replace(const QImage& image);
    void replaceWithWhite(int width, int height);
    // Puts a picture in place that can only be shown.
    void replaceShowOnly(const QImage& image, Renderer renderer = {});
    // Removes the picture altogether.
    void clear();
    // The bitmap takes new content (and size) but keeps its drawing state.
    void assignContent(const QImage& image);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    Content content() const { return content_; }
    bool isBitmap() const { return content_ == Content::Bitmap; }
    bool hasPicture() const { return content_ != Content::None; }
    // The picture as shown at `size` (scaled).
    QImage rendered(QSize size) const;
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

    DrawingState& state() { return state_; }
    const DrawingState& state() const { return state_; }
    PenState& pen() { return state_.pen; }
    BrushState& brush() { return state_.brush; }

    QRect moveTo(QPoint p);
    QRect lineTo(QPoint p);
    QRect rectangle(QPoint a, QPoint b);
    QRect ellipse(QPoint a, QPoint b);
    QRect roundRect(QPoint a, QPoint b, int cornerWidth, int cornerHeight);
    QRect polyline(const QPolygon& points);
    QRect polygon(const QPolygon& points);
    QRect floodFill(QPoint start);
    // Text in the font's colour, always in copy mode; a solid brush paints
    // the text's background, any other leaves it.
    QRect textOut(QPoint topLeft, const QString& text);
    // Copies `source` rectangle of `from` into `dest` rectangle of the
    // picture (scaled when the sizes differ). Parts outside either image
    // are left alone.
    QRect copyRect(const QRect& dest, const QImage& from, const QRect& source);

private:
    QImage image_;
    Content content_ = Content::Bitmap;
    Renderer renderer_;
    mutable QImage played_;  // the renderer's last picture, at its size
    DrawingState state_;
};

} // namespace pel
