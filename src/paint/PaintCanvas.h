#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>

namespace pel {

// What kind of picture the canvas shows. Only a bitmap can be drawn on; the
// others come from files and are shown as loaded. None: no picture at all.
enum class PictureKind { None, Bitmap, Jpeg, Icon, Metafile, EnhancedMetafile };

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

    // Puts a new picture in place; the drawing state starts afresh.
    void replace(const QImage& image, PictureKind kind = PictureKind::Bitmap);
    void replaceWithWhite(int width, int height);
    // Removes the picture altogether.
    void clear();
    // The bitmap takes new content (and size) but keeps its drawing state.
    void assignContent(const QImage& image);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    PictureKind kind() const { return kind_; }
    bool isBitmap() const { return kind_ == PictureKind::Bitmap; }
    bool hasPicture() const { return kind_ != PictureKind::None; }
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
    PictureKind kind_ = PictureKind::Bitmap;
    DrawingState state_;
};

} // namespace pel
