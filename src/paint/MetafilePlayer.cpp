#include "paint/MetafilePlayer.h"

#include "paint/BitmapDecoder.h"
#include "platform/Cp932.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStack>
#include <QVector>

#include <cmath>
#include <cstring>

extern "C" {
#include <uemf.h>
#include <uemf_safe.h>
#include <uwmf.h>
}

namespace pel {

namespace {

constexpr quint32 kEmfSignature = 0x464D4520;   // " EMF"
constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr quint32 kEmfPlusSignature = 0x2B464D45;  // "EMF+"
constexpr quint16 kEmfPlusHeader = 0x4001;
constexpr qint64 kMaxSide = 32767;
constexpr qint64 kMaxPixels = 32LL * 1024 * 1024;
constexpr int kMaxObjects = 65535;
constexpr int kMaxSavedStates = 1024;

// Reads little-endian fields inside one record; any read past the record
// yields zero and marks the reader as failed, so a short record can never
// reach memory outside itself.
class Fields {
public:
    Fields(const char* data, qint64 size) : data_(data), size_(size) {}

    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    quint8 u8(qint64 at) { return has(at, 1) ? quint8(data_[at]) : fail(); }
    quint16 u16(qint64 at)
    {
        if (!has(at, 2))
            return fail();
        return quint16(quint8(data_[at]) | quint8(data_[at + 1]) << 8);
    }
    qint16 i16(qint64 at) { return qint16(u16(at)); }
    quint32 u32(qint64 at)
    {
        if (!has(at, 4))
            return fail();
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | quint8(data_[at + i]);
        return v;
    }
    qint32 i32(qint64 at) { return qint32(u32(at)); }
    float f32(qint64 at)
    {
        const quint32 bits = u32(at);
        float f;
        std::memcpy(&f, &bits, 4);
        return std::isfinite(f) ? f : 0.0f;
    }
    const char* bytes(qint64 at, qint64 length)
    {
        if (!has(at, length)) {
            fail();
            return nullptr;
        }
        return data_ + at;
    }
    bool ok() const { return ok_; }
    qint64 size() const { return size_; }

private:
    quint8 fail() { ok_ = false; return 0; }
    const char* data_;
    qint64 size_;
    bool ok_ = true;
};

QColor colorRef(quint32 value)
{
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

// A DIB as a QImage: `info` is the header and colour table, `bits` the
// pixels; without `bits`, `info` is a packed DIB holding both.
QImage dibToImage(const char* info, qint64 infoSize, const char* bits, qint64 bitsSize)
{
    if (!info || infoSize < 12)
        return {};
    const BitmapDecode decoded = bits ? decodeDib(QByteArrayView(info, infoSize), QByteArrayView(bits, bitsSize))
                                      : decodePackedDib(QByteArrayView(info, infoSize));
    // A bitmap short of its last rows still draws what it holds.
    if (decoded.status != BitmapDecode::Ok && decoded.status != BitmapDecode::Damaged)
        return {};
    return decoded.image;
}

struct LogFont {
    qint32 height = 0;
    qint32 escapement = 0;
    qint32 weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
};

struct GdiObject {
    enum Type { None, Pen, Brush, Font, Other } type = None;
    // pen
    quint32 penStyle = 0;
    double penWidth = 0;
    QColor color = Qt::black;
    // brush
    quint32 brushStyle = 0;
    quint32 hatch = 0;
    // font
    LogFont font;
};

struct DcState {
    GdiObject pen;
    GdiObject brush;
    GdiObject font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = 2;          // opaque
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    quint32 mapMode = 1;     // MM_TEXT
    QPointF windowOrg;
    QSizeF windowExt{1, 1};
    QPointF viewportOrg;
    QSizeF viewportExt{1, 1};
    QTransform world;
    QPointF position;
    bool clipped = false;
    QRegion clip;            // in output pixels
};

bool finite(const QTransform& t)
{
    const double v[] = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
    for (double d : v) {
        if (!std::isfinite(d) || std::abs(d) > 1e12)
            return false;
    }
    return true;
}

// The device a metafile's coordinates refer to: its size in pixels and in
// millimetres. The fixed mapping modes measure in its millimetres.
struct Device {
    QSizeF pixels{96, 96};
    QSizeF millimetres{25.4, 25.4};
};

// The drawing side shared by both formats: a GDI device context on a
// QPainter.
class Gdi {
public:
    Gdi(QPainter& painter, const QTransform& base, const Device& device)
        : painter_(painter), base_(base), device_(device)
    {
        state_.pen.type = GdiObject::Pen;
        state_.brush.type = GdiObject::Brush;
        state_.brush.color = Qt::white;
        state_.font.type = GdiObject::Font;
    }

    DcState& state() { return state_; }

    void save()
    {
        if (saved_.size() < kMaxSavedStates)
            saved_.push(state_);
    }
    void restore(int relative)
    {
        // Negative: that many states back; positive: the n-th saved state.
        int index = relative < 0 ? int(saved_.size()) + relative : relative - 1;
        if (index < 0 || index >= saved_.size())
            return;
        state_ = saved_[index];
        saved_.resize(index);
    }

    // Mapping modes as GDI keeps them: each fixed mode sets both extents
    // (logical units a device's width and height hold, y up); MM_ISOTROPIC
    // starts from MM_LOMETRIC's; MM_ANISOTROPIC keeps what was there.
    enum MapMode { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };
    void setMapMode(quint32 mode)
    {
        // Logical units a millimetre holds in each fixed mode.
        static const double unitsPerMm[] = {0, 0, 10, 100, 100 / 25.4, 1000 / 25.4, 1440 / 25.4, 10, 0};
        if (mode < Text || mode > Anisotropic)
            return;  // GDI refuses other values
        DcState& s = state_;
        if (mode == s.mapMode && scalable())
            return;  // setting a scalable mode again keeps its extents
        s.mapMode = mode;
        if (mode == Isotropic && keepScalableExtents_) {
            fixIsotropic();
        } else if (mode == Text) {
            s.windowExt = s.viewportExt = QSizeF(1, 1);
        } else if (mode != Anisotropic) {
            s.windowExt = QSizeF(device_.millimetres.width() * unitsPerMm[mode],
                                 device_.millimetres.height() * unitsPerMm[mode]);
            s.viewportExt = QSizeF(device_.pixels.width(), -device_.pixels.height());
        }
    }
    bool scalable() const { return state_.mapMode == Isotropic || state_.mapMode == Anisotropic; }
    // A WMF plays into the picture's frame: the extents the player set up
    // stay when the file turns to MM_ISOTROPIC, so it keeps to the frame
    // (with its aspect) rather than to a device it never knew.
    void keepScalableExtents() { keepScalableExtents_ = true; }
    // Extents change only in the two scalable modes, and never to zero.
    void setExtent(bool window, QSizeF extent)
    {
        if (!scalable() || extent.width() == 0 || extent.height() == 0)
            return;
        (window ? state_.windowExt : state_.viewportExt) = extent;
        fixIsotropic();
    }
    void scaleExtent(bool window, double xNum, double xDenom, double yNum, double yDenom)
    {
        if (!scalable() || xDenom == 0 || yDenom == 0)
            return;
        const QSizeF ext = window ? state_.windowExt : state_.viewportExt;
        setExtent(window, QSizeF(std::trunc(ext.width() * xNum / xDenom), std::trunc(ext.height() * yNum / yDenom)));
    }
    // MM_ISOTROPIC keeps a logical unit equally long on the device in both
    // directions: the viewport extent on the axis that would stretch more
    // is shrunk to match the other.
    void fixIsotropic()
    {
        DcState& s = state_;
        if (s.mapMode != Isotropic)
            return;
        const double mmPerPixelX = device_.millimetres.width() / device_.pixels.width();
        const double mmPerPixelY = device_.millimetres.height() / device_.pixels.height();
        const double x = std::abs(s.viewportExt.width() * mmPerPixelX / s.windowExt.width());
        const double y = std::abs(s.viewportExt.height() * mmPerPixelY / s.windowExt.height());
        if (!std::isfinite(x) || !std::isfinite(y) || x == y)
            return;
        const auto shrink = [](double extent, double factor) {
            const double v = std::floor(extent * factor + 0.5);
            return v != 0 ? v : (extent < 0 ? -1 : 1);
        };
        if (x > y)
            s.viewportExt.setWidth(shrink(s.viewportExt.width(), y / x));
        else
            s.viewportExt.setHeight(shrink(s.viewportExt.height(), x / y));
    }

    QTransform pageTransform() const
    {
        const DcState& s = state_;
        const double sx = s.windowExt.width() != 0 ? s.viewportExt.width() / s.windowExt.width() : 1;
        const double sy = s.windowExt.height() != 0 ? s.viewportExt.height() / s.windowExt.height() : 1;
        return QTransform(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                          s.viewportOrg.y() - s.windowOrg.y() * sy);
    }

    // Logical → output pixels; false when the file's numbers make no
    // drawable transform.
    bool apply()
    {
        const QTransform t = state_.world * pageTransform() * base_;
        if (!finite(t) || !t.isInvertible())
            return false;
        // The clip region is kept in output pixels.
        painter_.resetTransform();
        if (state_.clipped)
            painter_.setClipRegion(state_.clip);
        else
            painter_.setClipping(false);
        painter_.setTransform(t);
        return true;
    }

    QPen pen() const
    {
        const GdiObject& p = state_.pen;
        const quint32 style = p.penStyle & 0x0F;
        if (style == 5)
            return Qt::NoPen;
        QPen pen(p.color);
        pen.setWidthF(p.penWidth <= 1 ? 0 : p.penWidth);
        pen.setCosmetic(p.penWidth <= 1);
        if (p.penWidth <= 1) {
            switch (style) {
            case 1: pen.setStyle(Qt::DashLine); break;
            case 2: pen.setStyle(Qt::DotLine); break;
            case 3: pen.setStyle(Qt::DashDotLine); break;
            case 4: pen.setStyle(Qt::DashDotDotLine); break;
            default: break;
            }
        }
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        return pen;
    }

    QBrush brush() const
    {
        const GdiObject& b = state_.brush;
        switch (b.brushStyle) {
        case 0: return QBrush(b.color);
        case 2: {
            static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(b.color, b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
        }
        default: return Qt::NoBrush;
        }
    }

    // Outline and interior of a closed shape.
    void fillAndStroke(const QPainterPath& path)
    {
        if (inPath_) {
            path_.addPath(path);
            return;
        }
        if (!apply())
            return;
        QPainterPath p = path;
        p.setFillRule(state_.fillRule);
        if (state_.brush.brushStyle == 2 && state_.bkMode == 2)
            painter_.fillPath(p, state_.bkColor);
        painter_.fillPath(p, brush());
        painter_.strokePath(p, pen());
    }

    void stroke(const QPainterPath& path)
    {
        if (inPath_) {
            path_.addPath(path);
            return;
        }
        if (!apply())
            return;
        painter_.strokePath(path, pen());
    }

    void polyline(const QVector<QPointF>& points, bool closed)
    {
        if (points.isEmpty())
            return;
        QPainterPath path(points.first());
        for (qsizetype i = 1; i < points.size(); ++i)
            path.lineTo(points[i]);
        if (closed) {
            path.closeSubpath();
            fillAndStroke(path);
        } else {
            stroke(path);
        }
    }

    void lineTo(QPointF to)
    {
        if (inPath_) {
            if (path_.elementCount() == 0 || path_.currentPosition() != state_.position)
                path_.moveTo(state_.position);
            path_.lineTo(to);
        } else {
            QPainterPath path(state_.position);
            path.lineTo(to);
            stroke(path);
        }
        state_.position = to;
    }

    void moveTo(QPointF to)
    {
        state_.position = to;
        if (inPath_)
            path_.moveTo(to);
    }

    static double radialAngle(const QRectF& box, QPointF p)
    {
        const QPointF c = box.center();
        const double rx = box.width() / 2, ry = box.height() / 2;
        if (rx == 0 || ry == 0)
            return 0;
        return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180.0 / M_PI;
    }

    // kind: 0 arc, 1 chord, 2 pie
    void arc(QRectF box, QPointF start, QPointF end, int kind)
    {
        box = box.normalized();
        const double a0 = radialAngle(box, start);
        double sweep = radialAngle(box, end) - a0;
        while (sweep <= 0)
            sweep += 360;
        QPainterPath path;
        if (kind == 2)
            path.moveTo(box.center());
        else
            path.arcMoveTo(box, a0);
        path.arcTo(box, a0, sweep);
        if (kind == 0) {
            stroke(path);
        } else {
            path.closeSubpath();
            fillAndStroke(path);
        }
    }

    void text(QPointF at, const QString& text, const QRectF* opaqueRect, bool clipToRect)
    {
        if (inPath_ || !apply())
            return;
        const QTransform t = painter_.transform();
        const LogFont& lf = state_.font.font;
        QFont font(lf.face.isEmpty() ? QStringLiteral("sans-serif") : lf.face);
        const double sy = std::hypot(t.m12(), t.m22());
        const double sx = std::hypot(t.m11(), t.m21());
        double pixels = std::abs(double(lf.height)) * sy;
        if (pixels < 1)
            pixels = 12 * (lf.height == 0 ? 1 : sy);
        font.setPixelSize(qBound(1, int(std::lround(pixels)), 4096));
        font.setWeight(QFont::Weight(qBound(1, lf.weight == 0 ? 400 : lf.weight, 1000)));
        font.setItalic(lf.italic);
        font.setUnderline(lf.underline);
        font.setStrikeOut(lf.strikeOut);

        if (opaqueRect) {
            const QRectF r = opaqueRect->normalized();
            painter_.fillRect(r, state_.bkColor);
        }
        const QPointF origin = t.map(at);
        painter_.save();
        if (clipToRect && opaqueRect)
            painter_.setClipRect(*opaqueRect, Qt::IntersectClip);
        painter_.resetTransform();
        painter_.translate(origin);
        // A rotating world transform turns the text with it.
        const double turn = std::atan2(t.m12(), t.m11()) * 180.0 / M_PI;
        if (std::abs(turn) > 0.01 && t.m11() * t.m22() - t.m12() * t.m21() > 0)
            painter_.rotate(turn);
        if (lf.escapement != 0)
            painter_.rotate(-lf.escapement / 10.0);
        painter_.scale(sx != 0 && sy != 0 ? sx / sy : 1, 1);
        painter_.setFont(font);
        const QFontMetricsF metrics(font);
        const double width = metrics.horizontalAdvance(text);
        double x = 0, y = 0;
        switch (state_.textAlign & 6) {
        case 6: x = -width / 2; break;   // TA_CENTER
        case 2: x = -width; break;       // TA_RIGHT
        default: break;
        }
        switch (state_.textAlign & 24) {
        case 24: break;                       // TA_BASELINE
        case 8: y = -metrics.descent(); break;  // TA_BOTTOM
        default: y = metrics.ascent(); break;   // TA_TOP
        }
        if (state_.bkMode == 2 && !opaqueRect)
            painter_.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()), state_.bkColor);
        painter_.setPen(state_.textColor);
        painter_.drawText(QPointF(x, y), text);
        painter_.restore();
        if (state_.textAlign & 1)  // TA_UPDATECP
            state_.position = t.inverted().map(origin + QPointF(width, 0));
    }

    void image(const QRectF& target, const QImage& source, const QRectF& sourceRect)
    {
        if (inPath_ || source.isNull() || !apply())
            return;
        painter_.drawImage(target.normalized(), source.mirrored(target.width() < 0, target.height() < 0),
                           sourceRect);
    }

    void patBlt(const QRectF& target, quint32 rop)
    {
        if (inPath_ || !apply())
            return;
        const QRectF r = target.normalized();
        switch (rop) {
        case 0x00000042: painter_.fillRect(r, Qt::black); break;   // BLACKNESS
        case 0x00FF0062: painter_.fillRect(r, Qt::white); break;   // WHITENESS
        case 0x00F00021: painter_.fillRect(r, brush()); break;     // PATCOPY
        default: break;
        }
    }

    void setPixel(QPointF p, const QColor& color)
    {
        if (inPath_ || !apply())
            return;
        painter_.fillRect(QRectF(p, QSizeF(1, 1)), color);
    }

    void intersectClip(const QRectF& logical, bool exclude)
    {
        const QTransform t = state_.world * pageTransform() * base_;
        if (!finite(t))
            return;
        const QRect pixels = t.mapRect(logical.normalized()).toAlignedRect();
        const QRegion full(painter_.device() ? QRect(0, 0, painter_.device()->width(), painter_.device()->height())
                                             : QRect());
        QRegion current = state_.clipped ? state_.clip : full;
        current = exclude ? current.subtracted(QRegion(pixels)) : current.intersected(QRegion(pixels));
        state_.clip = current;
        state_.clipped = true;
    }

    bool inPath() const { return inPath_; }
    // Bezier segments from the current position: inside a path they go on
    // with the figure being built (a new sub-path would cut a circle into
    // four separately filled pieces); outside one they are stroked.
    void bezierTo(const QVector<QPointF>& controls)
    {
        if (controls.size() < 3)
            return;
        QPainterPath segment(state_.position);
        QPainterPath& target = inPath_ ? path_ : segment;
        if (inPath_ && (path_.elementCount() == 0 || path_.currentPosition() != state_.position))
            path_.moveTo(state_.position);
        for (qsizetype i = 0; i + 2 < controls.size(); i += 3)
            target.cubicTo(controls[i], controls[i + 1], controls[i + 2]);
        state_.position = target.currentPosition();
        if (!inPath_)
            stroke(segment);
    }

    void beginPath() { inPath_ = true; path_ = QPainterPath(); }
    void endPath() { inPath_ = false; }
    void abortPath() { inPath_ = false; path_ = QPainterPath(); }
    void closeFigure()
    {
        if (!inPath_ || path_.elementCount() == 0)
            return;
        path_.closeSubpath();
        // The current position goes back to where the figure started.
        state_.position = path_.currentPosition();
    }
    // The path as its fill sees it: every open figure closed.
    static QPainterPath closedFigures(const QPainterPath& path)
    {
        QPainterPath closed;
        closed.setFillRule(path.fillRule());
        for (const QPolygonF& figure : path.toSubpathPolygons()) {
            if (figure.size() < 2)
                continue;
            closed.addPolygon(figure);
            closed.closeSubpath();
        }
        return closed;
    }
    void drawPath(bool fill, bool outline)
    {
        inPath_ = false;
        if (!apply())
            return;
        QPainterPath p = path_;
        p.setFillRule(state_.fillRule);
        if (fill) {
            if (state_.brush.brushStyle == 2 && state_.bkMode == 2)
                painter_.fillPath(p, state_.bkColor);
            painter_.fillPath(p, brush());
        }
        // Filling and stroking together closes the open figures first.
        if (outline)
            painter_.strokePath(fill ? closedFigures(p) : p, pen());
        path_ = QPainterPath();
    }
    // The path as the clip region, combined by the record's mode.
    void selectClipPath(quint32 mode)
    {
        inPath_ = false;
        const QTransform t = state_.world * pageTransform() * base_;
        if (!finite(t) || !t.isInvertible()) {
            path_ = QPainterPath();
            return;
        }
        QPainterPath p = path_;
        p.setFillRule(state_.fillRule);
        // Only the part on the image can clip. A region is made scan line by
        // scan line, so the figures are cut to the image first: one millions
        // of pixels tall would otherwise take minutes.
        QPainterPath image;
        image.addRect(QRectF(deviceRect()).adjusted(-1, -1, 1, 1));
        const QPainterPath visible = t.map(closedFigures(p)).intersected(image);
        QRegion area;
        for (const QPolygonF& figure : visible.toFillPolygons())
            area = area.united(QRegion(figure.toPolygon(), visible.fillRule()));
        combineClip(area, mode);
        path_ = QPainterPath();
    }
    QRect deviceRect() const
    {
        return painter_.device() ? QRect(0, 0, painter_.device()->width(), painter_.device()->height()) : QRect();
    }
    // RGN_AND 1, RGN_OR 2, RGN_XOR 3, RGN_DIFF 4, RGN_COPY 5.
    void combineClip(const QRegion& area, quint32 mode)
    {
        const QRegion full(deviceRect());
        const QRegion current = state_.clipped ? state_.clip : full;
        switch (mode) {
        case 1: state_.clip = current.intersected(area); break;
        case 2: state_.clip = current.united(area); break;
        case 3: state_.clip = current.xored(area); break;
        case 4: state_.clip = current.subtracted(area); break;
        case 5: state_.clip = area; break;
        default: return;
        }
        state_.clipped = true;
    }
    void resetClip() { state_.clipped = false; state_.clip = QRegion(); }

private:
    QPainter& painter_;
    QTransform base_;
    Device device_;
    bool keepScalableExtents_ = false;
    DcState state_;
    QStack<DcState> saved_;
    bool inPath_ = false;
    QPainterPath path_;
};

GdiObject stockObject(quint32 index)
{
    GdiObject o;
    switch (index & 0x7FFFFFFF) {
    case 0: o.type = GdiObject::Brush; o.color = Qt::white; break;
    case 1: o.type = GdiObject::Brush; o.color = QColor(192, 192, 192); break;
    case 2: o.type = GdiObject::Brush; o.color = QColor(128, 128, 128); break;
    case 3: o.type = GdiObject::Brush; o.color = QColor(64, 64, 64); break;
    case 4: o.type = GdiObject::Brush; o.color = Qt::black; break;
    case 5: o.type = GdiObject::Brush; o.brushStyle = 1; break;
    case 6: o.type = GdiObject::Pen; o.color = Qt::white; break;
    case 7: o.type = GdiObject::Pen; o.color = Qt::black; break;
    case 8: o.type = GdiObject::Pen; o.penStyle = 5; break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17:
        o.type = GdiObject::Font;
        o.font.height = 16;
        break;
    default: break;
    }
    return o;
}

void selectObject(Gdi& gdi, const GdiObject& object)
{
    switch (object.type) {
    case GdiObject::Pen: gdi.state().pen = object; break;
    case GdiObject::Brush: gdi.state().brush = object; break;
    case GdiObject::Font: gdi.state().font = object; break;
    default: break;
    }
}

QString utf16Text(const char* data, qint64 characters)
{
    QString text(characters, Qt::Uninitialized);
    for (qint64 i = 0; i < characters; ++i)
        text[i] = QChar(quint16(quint8(data[2 * i]) | quint8(data[2 * i + 1]) << 8));
    return text;
}

QString faceName16(Fields& f, qint64 at, int maxChars)
{
    QString name;
    for (int i = 0; i < maxChars; ++i) {
        const quint16 c = f.u16(at + 2 * i);
        if (c == 0)
            break;
        name += QChar(c);
    }
    return name;
}

// ---- EMF+ -----------------------------------------------------------------
// GDI+ keeps its drawing in EMF+ records inside comment records. An "EMF+
// only" file has nothing else to draw, so we play the EMF+ records that draw
// shapes (fills and outlines of rectangles, ellipses, pies, polygons, lines,
// beziers and paths, with solid, hatch and gradient brushes as their main
// colour), their transforms and clips. Text and images in EMF+ are not drawn
// (the file says so in the status). A "dual" file draws the same in plain
// records as well, and those are what we play for it.

enum EmfPlusRecord : quint16 {
    PlusHeader = 0x4001, PlusEndOfFile, PlusComment, PlusGetDC, PlusObject = 0x4008, PlusClear,
    PlusFillRects, PlusDrawRects, PlusFillPolygon, PlusDrawLines, PlusFillEllipse, PlusDrawEllipse,
    PlusFillPie, PlusDrawPie, PlusDrawArc, PlusFillRegion, PlusFillPath, PlusDrawPath,
    PlusFillClosedCurve, PlusDrawClosedCurve, PlusDrawCurve, PlusDrawBeziers,
    PlusSetAntiAliasMode = 0x401E, PlusSave = 0x4025, PlusRestore, PlusBeginContainer, PlusBeginContainerNoParams,
    PlusEndContainer, PlusSetWorldTransform, PlusResetWorldTransform, PlusMultiplyWorldTransform,
    PlusTranslateWorldTransform, PlusScaleWorldTransform, PlusRotateWorldTransform, PlusSetPageTransform,
    PlusResetClip, PlusSetClipRect, PlusSetClipPath, PlusSetClipRegion, PlusOffsetClip,
};

// Records that change nothing we draw (rendering hints and the like) or
// that we draw; anything else in a file means part of it is not shown.
bool emfPlusRecordPlayed(quint16 type)
{
    return (type >= PlusHeader && type <= PlusDrawBeziers && type != PlusFillRegion && type != PlusFillClosedCurve
            && type != PlusDrawClosedCurve && type != PlusDrawCurve)
        || (type >= 0x401D && type <= 0x4024) || (type >= PlusSave && type <= PlusSetClipPath);
}

class EmfPlus {
public:
    EmfPlus(QPainter& painter, const QTransform& base) : painter_(painter), base_(base) {}

    // After a GetDC record the plain records draw, until the next EMF+ one.
    bool plainRecordsDraw() const { return plainRecordsDraw_; }

    void comment(const char* record, quint32 size)
    {
        Fields f(record, size);
        const qint64 end = 12 + qint64(f.u32(8));
        if (!f.has(12, end - 12) || end < 16 || f.u32(12) != kEmfPlusSignature)
            return;
        for (qint64 at = 16; at + 12 <= end;) {
            const quint16 type = f.u16(at), flags = f.u16(at + 2);
            const quint32 recordSize = f.u32(at + 4), dataSize = f.u32(at + 8);
            if (recordSize < 12 || recordSize > end - at || dataSize > recordSize - 12)
                return;
            Fields data(record + at + 12, dataSize);
            plainRecordsDraw_ = type == PlusGetDC;
            play(type, flags, data);
            at += recordSize;
        }
    }

private:
    struct Object {
        enum { None, Brush, Pen, Path } type = None;
        QColor colour;
        double width = 0;
        QPainterPath path;
    };
    struct State {
        QTransform world;
        double page = 1;
        bool clipped = false;
        QPainterPath clip;  // in output pixels
    };

    static QColor argb(quint32 v) { return QColor::fromRgba(v); }

    // A brush object's main colour: a solid colour, a hatch's foreground,
    // a gradient's start.
    static QColor brushColour(Fields& d, qint64 at)
    {
        const quint32 type = d.u32(at + 4);
        switch (type) {
        case 0: return argb(d.u32(at + 8));                // solid
        case 1: return argb(d.u32(at + 12));               // hatch: style, foreground
        case 4: return argb(d.u32(at + 32));               // linear gradient: flags, wrap, rect, start
        case 3: return argb(d.u32(at + 16));               // path gradient: flags, wrap, centre colour
        default: return QColor(128, 128, 128);
        }
    }

    bool points(Fields& d, qint64 at, quint32 count, quint16 flags, QVector<QPointF>& out)
    {
        if (flags & 0x0800)  // relative points: not read
            return false;
        const bool small = flags & 0x4000;
        const qint64 step = small ? 4 : 8;
        if (count > 1000000 || !d.has(at, qint64(count) * step))
            return false;
        out.reserve(count);
        for (qint64 i = 0; i < count; ++i) {
            const qint64 p = at + i * step;
            out << (small ? QPointF(d.i16(p), d.i16(p + 2)) : QPointF(d.f32(p), d.f32(p + 4)));
        }
        return true;
    }
    QRectF rect(Fields& d, qint64 at, quint16 flags)
    {
        if (flags & 0x4000)
            return QRectF(d.i16(at), d.i16(at + 2), d.i16(at + 4), d.i16(at + 6));
        return QRectF(d.f32(at), d.f32(at + 4), d.f32(at + 8), d.f32(at + 12));
    }

    void readObject(quint16 flags, Fields& d)
    {
        if (flags & 0x8000)
            return;  // an object continued over several records: not read
        Object o;
        switch (flags >> 8 & 0x7F) {
        case 1:
            o.type = Object::Brush;
            o.colour = brushColour(d, 0);
            break;
        case 2: {
            // Version, type, then the pen data: flags, unit, width, the
            // optional parts the flags name, and the pen's brush.
            o.type = Object::Pen;
            const quint32 penFlags = d.u32(8);
            o.width = d.f32(16);
            qint64 at = 20;
            if (penFlags & 0x1)
                at += 24;
            for (quint32 bit : {0x2u, 0x4u, 0x8u, 0x10u, 0x20u, 0x40u, 0x80u})
                at += penFlags & bit ? 4 : 0;
            if (penFlags & 0x100)
                at += 4 + 4 * qint64(d.u32(at));
            if (penFlags & 0x200)
                at += 4;
            if (penFlags & 0x400)
                at += 4 + 4 * qint64(d.u32(at));
            if (penFlags & 0x800)
                at += 4 + qint64(d.u32(at));
            if (penFlags & 0x1000)
                at += 4 + qint64(d.u32(at));
            o.colour = brushColour(d, at);
            break;
        }
        case 3: {
            o.type = Object::Path;
            const quint32 count = d.u32(4);
            const quint16 pointFlags = quint16(d.u32(8));
            QVector<QPointF> pts;
            if ((pointFlags & 0x1000) || !points(d, 12, count, pointFlags, pts))
                return;  // run-length point types: not read
            const qint64 typesAt = 12 + qint64(count) * (pointFlags & 0x4000 ? 4 : 8);
            if (!d.has(typesAt, count))
                return;
            for (qint64 i = 0; i < count; ++i) {
                const quint8 t = d.u8(typesAt + i);
                if ((t & 7) == 0 || o.path.elementCount() == 0) {
                    o.path.moveTo(pts[i]);
                } else if ((t & 7) == 3 && i + 2 < count) {
                    o.path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
                    i += 2;
                    if (d.u8(typesAt + i) & 0x80)
                        o.path.closeSubpath();
                    continue;
                } else {
                    o.path.lineTo(pts[i]);
                }
                if (t & 0x80)
                    o.path.closeSubpath();
            }
            break;
        }
        default:
            return;
        }
        objects_[flags & 0xFF] = o;
    }

    bool apply()
    {
        const QTransform t = state_.world * QTransform::fromScale(state_.page, state_.page) * base_;
        if (!finite(t) || !t.isInvertible())
            return false;
        painter_.resetTransform();
        if (state_.clipped)
            painter_.setClipPath(state_.clip);
        else
            painter_.setClipping(false);
        painter_.setTransform(t);
        return true;
    }
    QBrush fill(quint16 flags, quint32 id) const
    {
        if (flags & 0x8000)
            return argb(id);
        const Object o = objects_.value(int(id & 0xFF));
        return o.type == Object::Brush ? QBrush(o.colour) : QBrush(Qt::NoBrush);
    }
    QPen outline(quint32 id) const
    {
        const Object o = objects_.value(int(id & 0xFF));
        if (o.type != Object::Pen)
            return Qt::NoPen;
        QPen pen(o.colour, o.width);
        pen.setCosmetic(o.width <= 0);
        pen.setJoinStyle(Qt::MiterJoin);
        return pen;
    }
    void fillPath(const QPainterPath& path, const QBrush& brush)
    {
        if (apply())
            painter_.fillPath(path, brush);
    }
    void strokePath(const QPainterPath& path, const QPen& pen)
    {
        if (apply())
            painter_.strokePath(path, pen);
    }
    void setClip(const QPainterPath& logical, quint16 flags)
    {
        const QTransform t = state_.world * QTransform::fromScale(state_.page, state_.page) * base_;
        if (!finite(t))
            return;
        const QPainterPath area = t.map(logical);
        QPainterPath all;
        all.addRect(QRectF(0, 0, painter_.device()->width(), painter_.device()->height()));
        const QPainterPath current = state_.clipped ? state_.clip : all;
        switch (flags >> 8 & 0xF) {
        case 0: state_.clip = area; break;                           // replace
        case 1: state_.clip = current.intersected(area); break;      // intersect
        case 2: state_.clip = current.united(area); break;           // union
        case 3: state_.clip = current.subtracted(area).united(area.subtracted(current)); break;  // xor
        case 4: state_.clip = current.subtracted(area); break;       // exclude
        case 5: state_.clip = area.subtracted(current); break;       // complement
        default: return;
        }
        state_.clipped = true;
    }
    void transform(const QTransform& m, quint16 flags)
    {
        // Without the "append" flag the new matrix applies first.
        state_.world = flags & 0x2000 ? state_.world * m : m * state_.world;
    }

    static QPainterPath pie(const QRectF& box, double start, double sweep, bool closed)
    {
        // EMF+ angles turn clockwise on the screen; Qt's the other way.
        QPainterPath path;
        if (closed)
            path.moveTo(box.center());
        else
            path.arcMoveTo(box, -start);
        path.arcTo(box, -start, -sweep);
        if (closed)
            path.closeSubpath();
        return path;
    }

    void play(quint16 type, quint16 flags, Fields& d)
    {
        switch (type) {
        case PlusHeader:
            dpi_ = d.u32(8) > 0 && d.u32(8) < 100000 ? d.u32(8) : 96;
            break;
        case PlusObject: readObject(flags, d); break;
        case PlusClear:
            painter_.save();
            painter_.resetTransform();
            painter_.setClipping(false);
            painter_.fillRect(QRectF(0, 0, painter_.device()->width(), painter_.device()->height()), argb(d.u32(0)));
            painter_.restore();
            break;
        case PlusFillRects:
        case PlusDrawRects: {
            const bool filled = type == PlusFillRects;
            const qint64 at = filled ? 8 : 4;
            const quint32 count = d.u32(at - 4);
            const qint64 step = flags & 0x4000 ? 8 : 16;
            if (count > 1000000 || !d.has(at, qint64(count) * step))
                break;
            QPainterPath path;
            for (qint64 i = 0; i < count; ++i)
                path.addRect(rect(d, at + i * step, flags));
            if (filled)
                fillPath(path, fill(flags, d.u32(0)));
            else
                strokePath(path, outline(flags));
            break;
        }
        case PlusFillPolygon:
        case PlusDrawLines:
        case PlusDrawBeziers: {
            const bool filled = type == PlusFillPolygon;
            QVector<QPointF> pts;
            if (!points(d, filled ? 8 : 4, d.u32(filled ? 4 : 0), flags, pts) || pts.isEmpty())
                break;
            QPainterPath path(pts[0]);
            if (type == PlusDrawBeziers) {
                for (qsizetype i = 1; i + 2 < pts.size(); i += 3)
                    path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
            } else {
                for (qsizetype i = 1; i < pts.size(); ++i)
                    path.lineTo(pts[i]);
            }
            if (filled || (type == PlusDrawLines && (flags & 0x2000)))
                path.closeSubpath();
            if (filled)
                fillPath(path, fill(flags, d.u32(0)));
            else
                strokePath(path, outline(flags));
            break;
        }
        case PlusFillEllipse:
        case PlusDrawEllipse: {
            QPainterPath path;
            path.addEllipse(rect(d, type == PlusFillEllipse ? 4 : 0, flags));
            if (type == PlusFillEllipse)
                fillPath(path, fill(flags, d.u32(0)));
            else
                strokePath(path, outline(flags));
            break;
        }
        case PlusFillPie:
            fillPath(pie(rect(d, 12, flags), d.f32(4), d.f32(8), true), fill(flags, d.u32(0)));
            break;
        case PlusDrawPie:
        case PlusDrawArc:
            strokePath(pie(rect(d, 8, flags), d.f32(0), d.f32(4), type == PlusDrawPie), outline(flags));
            break;
        case PlusFillPath: {
            const Object o = objects_.value(flags & 0xFF);
            if (o.type == Object::Path)
                fillPath(o.path, fill(flags, d.u32(0)));
            break;
        }
        case PlusDrawPath: {
            const Object o = objects_.value(flags & 0xFF);
            if (o.type == Object::Path)
                strokePath(o.path, outline(d.u32(0)));
            break;
        }
        case PlusSave:
        case PlusBeginContainerNoParams:
            if (saved_.size() < kMaxSavedStates)
                saved_.insert(d.u32(0), state_);
            break;
        case PlusRestore:
        case PlusEndContainer:
            if (saved_.contains(d.u32(0)))
                state_ = saved_.take(d.u32(0));
            break;
        case PlusSetWorldTransform:
            state_.world = QTransform(d.f32(0), d.f32(4), d.f32(8), d.f32(12), d.f32(16), d.f32(20));
            break;
        case PlusResetWorldTransform: state_.world = QTransform(); break;
        case PlusMultiplyWorldTransform:
            transform(QTransform(d.f32(0), d.f32(4), d.f32(8), d.f32(12), d.f32(16), d.f32(20)), flags);
            break;
        case PlusTranslateWorldTransform: transform(QTransform::fromTranslate(d.f32(0), d.f32(4)), flags); break;
        case PlusScaleWorldTransform: transform(QTransform::fromScale(d.f32(0), d.f32(4)), flags); break;
        case PlusRotateWorldTransform: transform(QTransform().rotate(d.f32(0)), flags); break;
        case PlusSetPageTransform: {
            // Page units: world/display/pixel, point, inch, document, mm.
            const double scale = d.f32(0);
            double unit = 1;
            switch (flags & 0xFF) {
            case 3: unit = dpi_ / 72.0; break;
            case 4: unit = dpi_; break;
            case 5: unit = dpi_ / 300.0; break;
            case 6: unit = dpi_ / 25.4; break;
            default: break;
            }
            state_.page = scale > 0 && scale < 1e6 ? scale * unit : unit;
            break;
        }
        case PlusResetClip: state_.clipped = false; break;
        case PlusSetClipRect: {
            QPainterPath r;
            r.addRect(rect(d, 0, 0));
            setClip(r, flags);
            break;
        }
        case PlusSetClipPath: {
            const Object o = objects_.value(flags & 0xFF);
            if (o.type == Object::Path)
                setClip(o.path, flags);
            break;
        }
        default:
            break;
        }
    }

    QPainter& painter_;
    QTransform base_;
    State state_;
    QHash<quint32, State> saved_;
    QHash<int, Object> objects_;
    double dpi_ = 96;
    bool plainRecordsDraw_ = false;
};

// ---- EMF ------------------------------------------------------------------

class EmfPlayback {
public:
    // With `plus`, the file is EMF+ only: its comments are played as EMF+
    // and its plain records only where a GetDC record lets them draw.
    EmfPlayback(const QByteArray& bytes, qsizetype first, Gdi& gdi, EmfPlus* plus = nullptr)
        : bytes_(bytes), first_(first), gdi_(gdi), plus_(plus)
    {
    }

    void run()
    {
        QElapsedTimer timer;
        timer.start();
        qsizetype at = first_;
        int count = 0;
        while (at + 8 <= bytes_.size() && count++ < MetafilePlayer::kMaxRecords) {
            Fields head(bytes_.constData() + at, bytes_.size() - at);
            const quint32 type = head.u32(0);
            const quint32 size = head.u32(4);
            if (size < 8 || size % 4 != 0 || size > quint64(bytes_.size() - at))
                return;
            if (type == U_EMR_EOF)
                return;
            if (!plus_)
                play(type, bytes_.constData() + at, size);
            else if (type == U_EMR_COMMENT)
                plus_->comment(bytes_.constData() + at, size);
            else if (plus_->plainRecordsDraw())
                play(type, bytes_.constData() + at, size);
            at += size;
            if ((count & 255) == 0 && timer.elapsed() > MetafilePlayer::kMaxMilliseconds)
                return;
        }
    }

private:
    // The library's own check of the record's internal counts and offsets,
    // on a copy with slack behind it, since some of its checks read a field
    // before testing that it lies in the record.
    bool librarySafe(const char* record, quint32 size)
    {
        scratch_.resize(0);
        scratch_.append(record, size);
        scratch_.append(QByteArray(128, '\0'));
        return U_emf_record_safe(scratch_.constData()) != 0;
    }

    QPointF point(Fields& f, qint64 at) { return QPointF(f.i32(at), f.i32(at + 4)); }
    QRectF rect(Fields& f, qint64 at)
    {
        const double l = f.i32(at), t = f.i32(at + 4), r = f.i32(at + 8), b = f.i32(at + 12);
        return QRectF(QPointF(l, t), QPointF(r, b));
    }

    QVector<QPointF> points(Fields& f, qint64 at, qint64 count, bool small)
    {
        QVector<QPointF> result;
        const qint64 step = small ? 4 : 8;
        if (count < 0 || !f.has(at, count * step))
            return result;
        result.reserve(count);
        for (qint64 i = 0; i < count; ++i) {
            if (small)
                result << QPointF(f.i16(at + i * step), f.i16(at + i * step + 2));
            else
                result << point(f, at + i * step);
        }
        return result;
    }

    void polyPoly(Fields& f, bool small, bool closed)
    {
        const qint64 polys = f.u32(24);
        const qint64 total = f.u32(28);
        if (!f.has(32, polys * 4))
            return;
        const QVector<QPointF> all = points(f, 32 + polys * 4, total, small);
        if (all.size() != total)
            return;
        qint64 used = 0;
        QPainterPath path;
        for (qint64 i = 0; i < polys; ++i) {
            const qint64 n = f.u32(32 + i * 4);
            if (n > total - used)
                return;
            for (qint64 k = 0; k < n; ++k) {
                if (k == 0)
                    path.moveTo(all[used + k]);
                else
                    path.lineTo(all[used + k]);
            }
            if (closed && n > 0)
                path.closeSubpath();
            used += n;
        }
        if (closed)
            gdi_.fillAndStroke(path);
        else
            gdi_.stroke(path);
    }

    void polyBezier(const QVector<QPointF>& pts, bool fromCurrent)
    {
        if (fromCurrent) {
            gdi_.bezierTo(pts);
            return;
        }
        // A bezier that does not start at the current position begins a
        // figure of its own and leaves the current position alone.
        if (pts.size() < 4)
            return;
        const QPointF position = gdi_.state().position;
        if (gdi_.inPath())
            gdi_.moveTo(pts[0]);
        else
            gdi_.state().position = pts[0];
        gdi_.bezierTo(pts.mid(1));
        if (!gdi_.inPath())
            gdi_.state().position = position;
    }

    void stretchDib(Fields& f, QRectF target, QRectF source, quint32 usage, qint64 offBmi, qint64 cbBmi,
                    qint64 offBits, qint64 cbBits, quint32 rop)
    {
        if (cbBmi == 0) {
            gdi_.patBlt(target, rop);
            return;
        }
        if (usage != 0)
            return;  // palette-indexed colours: no palette to index
        const char* info = f.bytes(offBmi, cbBmi);
        const char* bits = f.bytes(offBits, cbBits);
        if (!info || !bits)
            return;
        const QImage img = dibToImage(info, cbBmi, bits, cbBits);
        if (img.isNull())
            return;
        if (source.isEmpty())
            source = QRectF(QPointF(0, 0), img.size());
        gdi_.image(target, img, source);
    }

    void play(quint32 type, const char* record, quint32 size)
    {
        if (type > U_EMR_MAX)
            return;
        if (!librarySafe(record, size))
            return;
        Fields f(record, size);
        DcState& s = gdi_.state();
        switch (type) {
        case U_EMR_POLYBEZIER: polyBezier(points(f, 28, f.u32(24), false), false); break;
        case U_EMR_POLYBEZIER16: polyBezier(points(f, 28, f.u32(24), true), false); break;
        case U_EMR_POLYBEZIERTO: polyBezier(points(f, 28, f.u32(24), false), true); break;
        case U_EMR_POLYBEZIERTO16: polyBezier(points(f, 28, f.u32(24), true), true); break;
        case U_EMR_POLYGON:
        case U_EMR_POLYGON16:
            gdi_.polyline(points(f, 28, f.u32(24), type == U_EMR_POLYGON16), true);
            break;
        case U_EMR_POLYLINE:
        case U_EMR_POLYLINE16:
            gdi_.polyline(points(f, 28, f.u32(24), type == U_EMR_POLYLINE16), false);
            break;
        case U_EMR_POLYLINETO:
        case U_EMR_POLYLINETO16:
            for (const QPointF& p : points(f, 28, f.u32(24), type == U_EMR_POLYLINETO16))
                gdi_.lineTo(p);
            break;
        case U_EMR_POLYPOLYLINE: polyPoly(f, false, false); break;
        case U_EMR_POLYPOLYLINE16: polyPoly(f, true, false); break;
        case U_EMR_POLYPOLYGON: polyPoly(f, false, true); break;
        case U_EMR_POLYPOLYGON16: polyPoly(f, true, true); break;
        case U_EMR_SETWINDOWEXTEX: gdi_.setExtent(true, QSizeF(f.i32(8), f.i32(12))); break;
        case U_EMR_SETWINDOWORGEX: s.windowOrg = point(f, 8); break;
        case U_EMR_SETVIEWPORTEXTEX: gdi_.setExtent(false, QSizeF(f.i32(8), f.i32(12))); break;
        case U_EMR_SETVIEWPORTORGEX: s.viewportOrg = point(f, 8); break;
        case U_EMR_SETPIXELV: gdi_.setPixel(point(f, 8), colorRef(f.u32(16))); break;
        case U_EMR_SETMAPMODE: gdi_.setMapMode(f.u32(8)); break;
        case U_EMR_SETBKMODE: s.bkMode = int(f.u32(8)); break;
        case U_EMR_SETPOLYFILLMODE: s.fillRule = f.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case U_EMR_SETTEXTALIGN: s.textAlign = f.u32(8); break;
        case U_EMR_SETTEXTCOLOR: s.textColor = colorRef(f.u32(8)); break;
        case U_EMR_SETBKCOLOR: s.bkColor = colorRef(f.u32(8)); break;
        case U_EMR_MOVETOEX: gdi_.moveTo(point(f, 8)); break;
        case U_EMR_LINETO: gdi_.lineTo(point(f, 8)); break;
        case U_EMR_EXCLUDECLIPRECT: gdi_.intersectClip(rect(f, 8), true); break;
        case U_EMR_INTERSECTCLIPRECT: gdi_.intersectClip(rect(f, 8), false); break;
        case U_EMR_SCALEVIEWPORTEXTEX:
        case U_EMR_SCALEWINDOWEXTEX:
            gdi_.scaleExtent(type == U_EMR_SCALEWINDOWEXTEX, f.i32(8), f.i32(12), f.i32(16), f.i32(20));
            break;
        case U_EMR_SAVEDC: gdi_.save(); break;
        case U_EMR_RESTOREDC: gdi_.restore(f.i32(8)); break;
        case U_EMR_SETWORLDTRANSFORM:
        case U_EMR_MODIFYWORLDTRANSFORM: {
            const QTransform x(f.f32(8), f.f32(12), f.f32(16), f.f32(20), f.f32(24), f.f32(28));
            const quint32 mode = type == U_EMR_SETWORLDTRANSFORM ? 4 : f.u32(32);
            switch (mode) {
            case 1: s.world = QTransform(); break;          // MWT_IDENTITY
            case 2: s.world = x * s.world; break;           // MWT_LEFTMULTIPLY
            case 3: s.world = s.world * x; break;           // MWT_RIGHTMULTIPLY
            case 4: s.world = x; break;                     // MWT_SET
            default: break;
            }
            break;
        }
        case U_EMR_SELECTOBJECT: {
            const quint32 index = f.u32(8);
            if (index & 0x80000000u)
                selectObject(gdi_, stockObject(index));
            else if (objects_.contains(index))
                selectObject(gdi_, objects_.value(index));
            break;
        }
        case U_EMR_CREATEPEN: {
            GdiObject o;
            o.type = GdiObject::Pen;
            o.penStyle = f.u32(12);
            o.penWidth = f.i32(16);
            o.color = colorRef(f.u32(24));
            store(f.u32(8), o);
            break;
        }
        case U_EMR_EXTCREATEPEN: {
            // ihPen, offBmi, cbBmi, offBits, cbBits, then the pen itself.
            GdiObject o;
            o.type = GdiObject::Pen;
            o.penStyle = f.u32(28);
            o.penWidth = f.u32(32);
            o.color = colorRef(f.u32(40));
            if (f.u32(36) == 1)  // BS_NULL
                o.penStyle = 5;
            store(f.u32(8), o);
            break;
        }
        case U_EMR_CREATEBRUSHINDIRECT: {
            GdiObject o;
            o.type = GdiObject::Brush;
            o.brushStyle = f.u32(12);
            o.color = colorRef(f.u32(16));
            o.hatch = f.u32(20);
            store(f.u32(8), o);
            break;
        }
        case U_EMR_CREATEMONOBRUSH:
        case U_EMR_CREATEDIBPATTERNBRUSHPT: {
            GdiObject o;
            o.type = GdiObject::Brush;
            o.color = Qt::gray;
            store(f.u32(8), o);
            break;
        }
        case U_EMR_CREATEPALETTE: {
            GdiObject o;
            o.type = GdiObject::Other;
            store(f.u32(8), o);
            break;
        }
        case U_EMR_EXTCREATEFONTINDIRECTW: {
            GdiObject o;
            o.type = GdiObject::Font;
            o.font.height = f.i32(12);
            o.font.escapement = f.i32(20);
            o.font.weight = f.i32(28);
            o.font.italic = f.u8(32) != 0;
            o.font.underline = f.u8(33) != 0;
            o.font.strikeOut = f.u8(34) != 0;
            o.font.face = faceName16(f, 40, U_LF_FACESIZE);
            store(f.u32(8), o);
            break;
        }
        case U_EMR_DELETEOBJECT: objects_.remove(f.u32(8)); break;
        case U_EMR_ANGLEARC: {
            const QPointF c = point(f, 8);
            const double r = f.u32(16);
            const double start = f.f32(20), sweep = f.f32(24);
            const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
            QPainterPath path(s.position);
            path.arcTo(box, start, sweep);
            gdi_.stroke(path);
            s.position = path.currentPosition();
            break;
        }
        case U_EMR_ELLIPSE: {
            QPainterPath path;
            path.addEllipse(rect(f, 8).normalized());
            gdi_.fillAndStroke(path);
            break;
        }
        case U_EMR_RECTANGLE: {
            QPainterPath path;
            path.addRect(rect(f, 8).normalized());
            gdi_.fillAndStroke(path);
            break;
        }
        case U_EMR_ROUNDRECT: {
            QPainterPath path;
            path.addRoundedRect(rect(f, 8).normalized(), std::abs(f.i32(24)) / 2.0, std::abs(f.i32(28)) / 2.0);
            gdi_.fillAndStroke(path);
            break;
        }
        case U_EMR_ARC:
        case U_EMR_CHORD:
        case U_EMR_PIE:
        case U_EMR_ARCTO:
            gdi_.arc(rect(f, 8), point(f, 24), point(f, 32),
                     type == U_EMR_CHORD ? 1 : type == U_EMR_PIE ? 2 : 0);
            break;
        case U_EMR_BEGINPATH: gdi_.beginPath(); break;
        case U_EMR_ENDPATH: gdi_.endPath(); break;
        case U_EMR_ABORTPATH: gdi_.abortPath(); break;
        case U_EMR_CLOSEFIGURE: gdi_.closeFigure(); break;
        case U_EMR_FILLPATH: gdi_.drawPath(true, false); break;
        case U_EMR_STROKEPATH: gdi_.drawPath(false, true); break;
        case U_EMR_STROKEANDFILLPATH: gdi_.drawPath(true, true); break;
        case U_EMR_SELECTCLIPPATH: gdi_.selectClipPath(f.u32(8)); break;
        case U_EMR_EXTSELECTCLIPRGN:
            // Only "no region, copy": back to no clipping at all.
            if (f.u32(8) == 0 && f.u32(12) == 5)
                gdi_.resetClip();
            break;
        case U_EMR_BITBLT: {
            const QRectF target(point(f, 24), QSizeF(f.i32(32), f.i32(36)));
            stretchDib(f, target, QRectF(point(f, 44), target.size()), f.u32(80), f.u32(84), f.u32(88),
                       f.u32(92), f.u32(96), f.u32(40));
            break;
        }
        case U_EMR_STRETCHBLT: {
            const QRectF target(point(f, 24), QSizeF(f.i32(32), f.i32(36)));
            stretchDib(f, target, QRectF(point(f, 44), QSizeF(f.i32(100), f.i32(104))), f.u32(80), f.u32(84),
                       f.u32(88), f.u32(92), f.u32(96), f.u32(40));
            break;
        }
        case U_EMR_SETDIBITSTODEVICE: {
            const QSizeF extent(f.i32(40), f.i32(44));
            stretchDib(f, QRectF(point(f, 24), extent), QRectF(), f.u32(64), f.u32(48), f.u32(52), f.u32(56),
                       f.u32(60), 0x00CC0020);
            break;
        }
        case U_EMR_STRETCHDIBITS: {
            const QRectF target(point(f, 24), QSizeF(f.i32(72), f.i32(76)));
            const QRectF source(point(f, 32), QSizeF(f.i32(40), f.i32(44)));
            stretchDib(f, target, source, f.u32(64), f.u32(48), f.u32(52), f.u32(56), f.u32(60), f.u32(68));
            break;
        }
        case U_EMR_EXTTEXTOUTA:
        case U_EMR_EXTTEXTOUTW: {
            // emrtext at 36: reference point, nChars, offString, fOptions, rect.
            const QPointF at = point(f, 36);
            const qint64 chars = f.u32(44);
            const qint64 offString = f.u32(48);
            const quint32 options = f.u32(52);
            const qint64 bytesPerChar = type == U_EMR_EXTTEXTOUTW ? 2 : 1;
            const char* data = f.bytes(offString, chars * bytesPerChar);
            if (!data || chars > 100000)
                break;
            const QString text = bytesPerChar == 2 ? utf16Text(data, chars)
                                                   : Cp932::decode(QByteArrayView(data, chars));
            const bool hasRect = !(options & 0x100) && f.has(56, 16);  // ETO_NO_RECT
            const QRectF box = hasRect ? rect(f, 56) : QRectF();
            const bool opaque = hasRect && (options & 2) && !box.isEmpty();
            gdi_.text(at, text, opaque || ((options & 4) && hasRect) ? &box : nullptr, (options & 4) != 0);
            if (!opaque && (options & 4))
                break;
            break;
        }
        default:
            break;  // records we do not draw
        }
    }

    void store(quint32 index, const GdiObject& object)
    {
        if (index == 0 || index > kMaxObjects)
            return;
        objects_.insert(index, object);
    }

    const QByteArray& bytes_;
    qsizetype first_;
    Gdi& gdi_;
    QHash<quint32, GdiObject> objects_;
    QByteArray scratch_;
    EmfPlus* plus_;
};

// ---- WMF ------------------------------------------------------------------

class WmfPlayback {
public:
    // `objects` is the header's size of the object table, which the caller
    // has already bounded by the number of records in the file.
    WmfPlayback(const QByteArray& bytes, qsizetype first, int objects, Gdi& gdi)
        : bytes_(bytes), first_(first), gdi_(gdi)
    {
        objects_.resize(qBound(0, objects, kMaxObjects));
    }

    void run()
    {
        QElapsedTimer timer;
        timer.start();
        qsizetype at = first_;
        int count = 0;
        const char* end = bytes_.constData() + bytes_.size();
        while (at + 6 <= bytes_.size() && count++ < MetafilePlayer::kMaxRecords) {
            const char* record = bytes_.constData() + at;
            const size_t safeSize = U_WMRRECSAFE_get(record, end);
            Fields head(record, bytes_.size() - at);
            const quint64 size = quint64(head.u32(0)) * 2;
            const quint16 function = head.u16(4);
            if (safeSize == 0 || size < 6 || size > quint64(bytes_.size() - at))
                return;
            if ((function & U_WMR_MASK) == U_WMR_EOF)
                return;
            Fields f(record, qint64(size));
            play(function, f);
            at += qsizetype(size);
            if ((count & 255) == 0 && timer.elapsed() > MetafilePlayer::kMaxMilliseconds)
                return;
        }
    }

private:
    // Rectangles are stored bottom, right, top, left.
    QRectF rect(Fields& f, qint64 at)
    {
        const double b = f.i16(at), r = f.i16(at + 2), t = f.i16(at + 4), l = f.i16(at + 6);
        return QRectF(QPointF(l, t), QPointF(r, b));
    }
    // Points are stored y, x.
    QPointF yx(Fields& f, qint64 at) { return QPointF(f.i16(at + 2), f.i16(at)); }

    QVector<QPointF> points(Fields& f, qint64 at, qint64 count)
    {
        QVector<QPointF> result;
        if (!f.has(at, count * 4))
            return result;
        result.reserve(count);
        for (qint64 i = 0; i < count; ++i)
            result << QPointF(f.i16(at + 4 * i), f.i16(at + 4 * i + 2));
        return result;
    }

    // A new object takes the lowest free slot. Every slot below firstFree_
    // is taken, so a file that only creates objects costs one step each.
    void create(const GdiObject& object)
    {
        for (qsizetype i = firstFree_; i < objects_.size(); ++i) {
            if (objects_[i].type == GdiObject::None) {
                objects_[i] = object;
                firstFree_ = i + 1;
                return;
            }
        }
        firstFree_ = objects_.size();
    }

    void dib(Fields& f, qint64 dibAt, QRectF target, QRectF source, quint32 rop)
    {
        const qint64 size = f.size() - dibAt;
        if (size <= 0) {
            gdi_.patBlt(target, rop);
            return;
        }
        const char* data = f.bytes(dibAt, size);
        if (!data)
            return;
        const QImage img = dibToImage(data, size, nullptr, 0);
        if (img.isNull())
            return;
        if (source.isEmpty())
            source = QRectF(QPointF(0, 0), img.size());
        gdi_.image(target, img, source);
    }

    void play(quint16 function, Fields& f)
    {
        DcState& s = gdi_.state();
        constexpr qint64 p = 6;  // parameters start here
        switch (function & U_WMR_MASK) {
        case U_WMR_SETBKCOLOR: s.bkColor = colorRef(f.u32(p)); break;
        case U_WMR_SETBKMODE: s.bkMode = f.u16(p); break;
        case U_WMR_SETMAPMODE: gdi_.setMapMode(f.u16(p)); break;
        case U_WMR_SETPOLYFILLMODE: s.fillRule = f.u16(p) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
        case U_WMR_SETTEXTCOLOR: s.textColor = colorRef(f.u32(p)); break;
        case U_WMR_SETTEXTALIGN: s.textAlign = f.u16(p); break;
        case U_WMR_SETWINDOWORG: s.windowOrg = yx(f, p); break;
        case U_WMR_SETWINDOWEXT: gdi_.setExtent(true, QSizeF(f.i16(p + 2), f.i16(p))); break;
        case U_WMR_SETVIEWPORTORG: s.viewportOrg = yx(f, p); break;
        case U_WMR_SETVIEWPORTEXT: gdi_.setExtent(false, QSizeF(f.i16(p + 2), f.i16(p))); break;
        case U_WMR_OFFSETWINDOWORG: s.windowOrg += yx(f, p); break;
        case U_WMR_OFFSETVIEWPORTORG: s.viewportOrg += yx(f, p); break;
        case U_WMR_SCALEWINDOWEXT:
        case U_WMR_SCALEVIEWPORTEXT:
            // yDenom, yNum, xDenom, xNum
            gdi_.scaleExtent((function & U_WMR_MASK) == U_WMR_SCALEWINDOWEXT, f.i16(p + 6), f.i16(p + 4),
                             f.i16(p + 2), f.i16(p));
            break;
        case U_WMR_LINETO: gdi_.lineTo(yx(f, p)); break;
        case U_WMR_MOVETO: gdi_.moveTo(yx(f, p)); break;
        case U_WMR_EXCLUDECLIPRECT: gdi_.intersectClip(rect(f, p), true); break;
        case U_WMR_INTERSECTCLIPRECT: gdi_.intersectClip(rect(f, p), false); break;
        case U_WMR_ARC:
        case U_WMR_PIE:
        case U_WMR_CHORD: {
            const int kind = (function & U_WMR_MASK) == U_WMR_ARC ? 0 : (function & U_WMR_MASK) == U_WMR_CHORD ? 1 : 2;
            gdi_.arc(rect(f, p + 8), yx(f, p + 4), yx(f, p), kind);
            break;
        }
        case U_WMR_ELLIPSE: {
            QPainterPath path;
            path.addEllipse(rect(f, p).normalized());
            gdi_.fillAndStroke(path);
            break;
        }
        case U_WMR_RECTANGLE: {
            QPainterPath path;
            path.addRect(rect(f, p).normalized());
            gdi_.fillAndStroke(path);
            break;
        }
        case U_WMR_ROUNDRECT: {
            QPainterPath path;
            path.addRoundedRect(rect(f, p + 4).normalized(), std::abs(f.i16(p + 2)) / 2.0, std::abs(f.i16(p)) / 2.0);
            gdi_.fillAndStroke(path);
            break;
        }
        case U_WMR_PATBLT: {
            const QRectF r(yx(f, p + 8), QSizeF(f.i16(p + 6), f.i16(p + 4)));
            gdi_.patBlt(r, f.u32(p));
            break;
        }
        case U_WMR_SAVEDC: gdi_.save(); break;
        case U_WMR_RESTOREDC: gdi_.restore(f.i16(p)); break;
        case U_WMR_SETPIXEL: gdi_.setPixel(yx(f, p + 4), colorRef(f.u32(p))); break;
        case U_WMR_TEXTOUT: {
            const qint64 length = f.u16(p);
            const char* data = f.bytes(p + 2, length);
            if (!data)
                break;
            const qint64 after = p + 2 + length + (length & 1);
            gdi_.text(yx(f, after), Cp932::decode(QByteArrayView(data, length)), nullptr, false);
            break;
        }
        case U_WMR_EXTTEXTOUT: {
            const QPointF at = yx(f, p);
            const qint64 length = f.i16(p + 4);
            const quint16 options = f.u16(p + 6);
            qint64 stringAt = p + 8;
            QRectF box;
            const bool hasRect = options & (2 | 4);
            if (hasRect) {
                // left, top, right, bottom in this record
                box = QRectF(QPointF(f.i16(p + 8), f.i16(p + 10)), QPointF(f.i16(p + 12), f.i16(p + 14)));
                stringAt += 8;
            }
            const char* data = length > 0 ? f.bytes(stringAt, length) : nullptr;
            if (!data || !f.ok())
                break;
            gdi_.text(at, Cp932::decode(QByteArrayView(data, length)), hasRect ? &box : nullptr, options & 4);
            break;
        }
        case U_WMR_POLYGON: gdi_.polyline(points(f, p + 2, f.u16(p)), true); break;
        case U_WMR_POLYLINE: gdi_.polyline(points(f, p + 2, f.u16(p)), false); break;
        case U_WMR_POLYPOLYGON: {
            const qint64 polys = f.u16(p);
            if (!f.has(p + 2, polys * 2))
                break;
            qint64 total = 0;
            for (qint64 i = 0; i < polys; ++i)
                total += f.u16(p + 2 + 2 * i);
            const QVector<QPointF> all = points(f, p + 2 + polys * 2, total);
            if (all.size() != total)
                break;
            QPainterPath path;
            qint64 used = 0;
            for (qint64 i = 0; i < polys; ++i) {
                const qint64 n = f.u16(p + 2 + 2 * i);
                for (qint64 k = 0; k < n; ++k) {
                    if (k == 0)
                        path.moveTo(all[used + k]);
                    else
                        path.lineTo(all[used + k]);
                }
                if (n > 0)
                    path.closeSubpath();
                used += n;
            }
            gdi_.fillAndStroke(path);
            break;
        }
        case U_WMR_SELECTOBJECT: {
            const quint16 index = f.u16(p);
            if (index < objects_.size())
                selectObject(gdi_, objects_[index]);
            break;
        }
        case U_WMR_DELETEOBJECT: {
            const quint16 index = f.u16(p);
            if (index < objects_.size()) {
                objects_[index] = GdiObject();
                firstFree_ = qMin<qsizetype>(firstFree_, index);
            }
            break;
        }
        case U_WMR_CREATEPENINDIRECT: {
            GdiObject o;
            o.type = GdiObject::Pen;
            o.penStyle = f.u16(p);
            o.penWidth = f.i16(p + 2);
            o.color = colorRef(f.u32(p + 6));
            create(o);
            break;
        }
        case U_WMR_CREATEBRUSHINDIRECT: {
            GdiObject o;
            o.type = GdiObject::Brush;
            o.brushStyle = f.u16(p);
            o.color = colorRef(f.u32(p + 2));
            o.hatch = f.u16(p + 6);
            create(o);
            break;
        }
        case U_WMR_CREATEFONTINDIRECT: {
            GdiObject o;
            o.type = GdiObject::Font;
            o.font.height = f.i16(p);
            o.font.escapement = f.i16(p + 4);
            o.font.weight = f.i16(p + 8);
            o.font.italic = f.u8(p + 10) != 0;
            o.font.underline = f.u8(p + 11) != 0;
            o.font.strikeOut = f.u8(p + 12) != 0;
            QByteArray face;
            for (qint64 i = 0; i < 32 && f.has(p + 18 + i, 1); ++i) {
                const char c = char(f.u8(p + 18 + i));
                if (c == 0)
                    break;
                face += c;
            }
            o.font.face = Cp932::decode(face);
            create(o);
            break;
        }
        case U_WMR_CREATEPALETTE:
        case U_WMR_CREATEPATTERNBRUSH:
        case U_WMR_CREATEREGION: {
            GdiObject o;
            o.type = GdiObject::Other;
            create(o);
            break;
        }
        case U_WMR_DIBCREATEPATTERNBRUSH: {
            GdiObject o;
            o.type = GdiObject::Brush;
            o.color = Qt::gray;
            create(o);
            break;
        }
        case U_WMR_STRETCHDIB: {
            // rop, usage, srcH, srcW, ySrc, xSrc, destH, destW, yDst, xDst, DIB
            if (f.u16(p + 4) != 0)
                break;
            const QRectF source(QPointF(f.i16(p + 12), f.i16(p + 10)), QSizeF(f.i16(p + 8), f.i16(p + 6)));
            const QRectF target(QPointF(f.i16(p + 20), f.i16(p + 18)), QSizeF(f.i16(p + 16), f.i16(p + 14)));
            dib(f, p + 22, target, source, f.u32(p));
            break;
        }
        case U_WMR_DIBSTRETCHBLT: {
            // rop, srcH, srcW, ySrc, xSrc, destH, destW, yDst, xDst, DIB;
            // without a bitmap a reserved word follows the rop and the
            // record ends after xDst.
            const bool hasBitmap = f.size() > p + 22;
            const qint64 q = hasBitmap ? p : p + 2;
            const QRectF source(QPointF(f.i16(q + 10), f.i16(q + 8)), QSizeF(f.i16(q + 6), f.i16(q + 4)));
            const QRectF target(QPointF(f.i16(q + 18), f.i16(q + 16)), QSizeF(f.i16(q + 14), f.i16(q + 12)));
            if (hasBitmap)
                dib(f, p + 20, target, source, f.u32(p));
            else
                gdi_.patBlt(target, f.u32(p));
            break;
        }
        case U_WMR_DIBBITBLT: {
            // rop, ySrc, xSrc, height, width, yDst, xDst, DIB (or, without
            // a bitmap, a reserved word after the rop and nothing after xDst)
            const bool hasBitmap = f.size() > p + 18;
            const qint64 q = hasBitmap ? p : p + 2;
            const QSizeF extent(f.i16(q + 10), f.i16(q + 8));
            const QRectF target(QPointF(f.i16(q + 14), f.i16(q + 12)), extent);
            const QRectF source(QPointF(f.i16(q + 6), f.i16(q + 4)), extent);
            if (hasBitmap)
                dib(f, p + 16, target, source, f.u32(p));
            else
                gdi_.patBlt(target, f.u32(p));
            break;
        }
        case U_WMR_SETDIBTODEV: {
            // usage, scans, start, ySrc, xSrc, height, width, yDst, xDst, DIB
            if (f.u16(p) != 0)
                break;
            const QSizeF extent(f.i16(p + 12), f.i16(p + 10));
            dib(f, p + 18, QRectF(QPointF(f.i16(p + 16), f.i16(p + 14)), extent), QRectF(), 0x00CC0020);
            break;
        }
        default:
            break;
        }
    }

    const QByteArray& bytes_;
    qsizetype first_;
    Gdi& gdi_;
    QVector<GdiObject> objects_;
    qsizetype firstFree_ = 0;
};

} // namespace

MetafilePlayer::MetafilePlayer(const QByteArray& bytes, Format format) : bytes_(bytes), format_(format)
{
    if (format_ == Format::Emf)
        valid_ = readEmfHeader() && checkEmfRecords();
    else
        valid_ = readWmfHeader() && checkWmfRecords();
    if (valid_ && (size_.width() > kMaxSide || size_.height() > kMaxSide
                   || qint64(size_.width()) * size_.height() > kMaxPixels)) {
        error_ = QStringLiteral("画像が大きすぎるため開けません (%1 × %2)").arg(size_.width()).arg(size_.height());
        valid_ = false;
    }
}

bool MetafilePlayer::readEmfHeader()
{
    Fields f(bytes_.constData(), bytes_.size());
    const quint32 size = f.u32(4);
    if (f.u32(0) != U_EMR_HEADER || size < U_SIZE_EMRHEADER_MIN || size % 4 != 0 || size > quint64(bytes_.size())
        || f.u32(40) != kEmfSignature || !f.ok())
        return false;
    const double fl = f.i32(24), ft = f.i32(28), fr = f.i32(32), fb = f.i32(36);
    double devX = f.i32(72), devY = f.i32(76), mmX = f.i32(80), mmY = f.i32(84);
    if (devX <= 0 || devY <= 0 || mmX <= 0 || mmY <= 0) {
        devX = devY = 96;
        mmX = mmY = 25.4;
    }
    // Pixels of the reference device per 0.01 mm.
    deviceSize_ = QSizeF(devX, devY);
    deviceMillimetres_ = QSizeF(mmX, mmY);
    const double px = devX / (mmX * 100), py = devY / (mmY * 100);
    frame_ = QRectF(QPointF(fl * px, ft * py), QPointF(fr * px, fb * py));
    const qint64 width = std::llround((fr - fl) * 96 / 2540);
    const qint64 height = std::llround((fb - ft) * 96 / 2540);
    if (width <= 0 || height <= 0 || frame_.width() <= 0 || frame_.height() <= 0) {
        // No usable frame: fall back to the bounds in device pixels.
        const qint64 bl = f.i32(8), bt = f.i32(12), br = f.i32(16), bb = f.i32(20);
        if (br < bl || bb < bt)
            return false;
        frame_ = QRectF(QPointF(bl, bt), QPointF(br + 1, bb + 1));
        size_ = QSize(int(qMin<qint64>(br - bl + 1, kMaxSide + 1)), int(qMin<qint64>(bb - bt + 1, kMaxSide + 1)));
    } else {
        size_ = QSize(int(qMin<qint64>(width, kMaxSide + 1)), int(qMin<qint64>(height, kMaxSide + 1)));
    }
    firstRecord_ = size;
    return true;
}

bool MetafilePlayer::checkEmfRecords()
{
    qsizetype at = firstRecord_;
    int count = 1;
    while (at < bytes_.size()) {
        if (bytes_.size() - at < 8 || ++count > kMaxRecords)
            return false;
        Fields f(bytes_.constData() + at, bytes_.size() - at);
        const quint32 type = f.u32(0);
        const quint32 size = f.u32(4);
        if (size < 8 || size % 4 != 0 || size > quint64(bytes_.size() - at))
            return false;
        // GDI+ writes its drawing as EMF+ records inside comments. A "dual"
        // file draws the same again in plain records, which we play; for an
        // "EMF+ only" one we play the EMF+ records, and say if some of them
        // draw what we do not.
        if (type == U_EMR_COMMENT && f.u32(12) == kEmfPlusSignature) {
            if (f.u16(16) == kEmfPlusHeader && (f.u16(18) & 1) == 0)
                emfPlusOnly_ = true;
            const qint64 end = 12 + qint64(f.u32(8));
            for (qint64 r = 16; emfPlusOnly_ && r + 12 <= end && end <= size;) {
                const quint32 recordSize = f.u32(r + 4);
                if (!emfPlusRecordPlayed(f.u16(r)))
                    notice_ = QStringLiteral("EMF+ 形式の文字や画像など、表示できない部分があります。");
                if (recordSize < 12)
                    break;
                r += recordSize;
            }
        }
        at += size;
        if (type == U_EMR_EOF)
            return true;
    }
    return false;  // no end record: cut short
}

bool MetafilePlayer::readWmfHeader()
{
    Fields f(bytes_.constData(), bytes_.size());
    qint64 at = 0;
    QRectF bounds;
    double inch = 0;
    if (f.u32(0) == kPlaceableKey) {
        const double l = f.i16(6), t = f.i16(8), r = f.i16(10), b = f.i16(12);
        inch = f.u16(14);
        bounds = QRectF(QPointF(l, t), QPointF(r, b)).normalized();
        at = 22;
    }
    // The metafile header: type 1 or 2, header size 9 words.
    const quint16 type = f.u16(at);
    const quint16 headerWords = f.u16(at + 2);
    if (!f.ok() || (type != 1 && type != 2) || headerWords != 9)
        return false;
    wmfObjects_ = f.u16(at + 10);
    firstRecord_ = at + 18;
    if (firstRecord_ > bytes_.size())
        return false;
    if (bounds.isEmpty()) {
        // No placeable header: the window extent the records set gives the size.
        qsizetype r = firstRecord_;
        int guard = 0;
        while (r + 6 <= bytes_.size() && guard++ < kMaxRecords) {
            Fields rf(bytes_.constData() + r, bytes_.size() - r);
            const quint64 size = quint64(rf.u32(0)) * 2;
            const quint16 function = rf.u16(4);
            if (size < 6 || size > quint64(bytes_.size() - r))
                return false;
            if ((function & U_WMR_MASK) == U_WMR_SETWINDOWEXT && bounds.width() == 0) {
                const double h = rf.i16(6), w = rf.i16(8);
                bounds.setSize(QSizeF(std::abs(w), std::abs(h)));
            } else if ((function & U_WMR_MASK) == U_WMR_SETWINDOWORG) {
                bounds.moveTopLeft(QPointF(rf.i16(8), rf.i16(6)));
            }
            if ((function & U_WMR_MASK) == U_WMR_EOF)
                break;
            r += qsizetype(size);
        }
        if (bounds.isEmpty())
            return false;
        inch = 96;
    }
    if (inch <= 0)
        inch = 1440;
    frame_ = bounds;
    const qint64 width = std::llround(bounds.width() * 96 / inch);
    const qint64 height = std::llround(bounds.height() * 96 / inch);
    size_ = QSize(int(qBound<qint64>(1, width, kMaxSide + 1)), int(qBound<qint64>(1, height, kMaxSide + 1)));
    return true;
}

bool MetafilePlayer::checkWmfRecords()
{
    qsizetype at = firstRecord_;
    int count = 0;
    const char* end = bytes_.constData() + bytes_.size();
    while (at < bytes_.size()) {
        if (bytes_.size() - at < 6 || ++count > kMaxRecords)
            return false;
        Fields f(bytes_.constData() + at, bytes_.size() - at);
        const quint64 size = quint64(f.u32(0)) * 2;
        const quint16 function = f.u16(4);
        if (size < 6 || size > quint64(bytes_.size() - at))
            return false;
        if (U_WMRRECSAFE_get(bytes_.constData() + at, end) == 0)
            return false;
        at += qsizetype(size);
        if ((function & U_WMR_MASK) == U_WMR_EOF) {
            // Only a record can create an object: the header's table size
            // beyond that is never used, and playing would still set up and
            // search all of it.
            wmfObjects_ = qMin(wmfObjects_, count);
            return true;
        }
    }
    return false;
}

QImage MetafilePlayer::render(QSize size) const
{
    if (!valid_ || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The frame maps onto the whole image.
    const QTransform base = QTransform::fromTranslate(-frame_.left(), -frame_.top())
        * QTransform::fromScale(size.width() / frame_.width(), size.height() / frame_.height());
    if (format_ == Format::Emf) {
        Gdi gdi(painter, base, Device{deviceSize_, deviceMillimetres_});
        if (emfPlusOnly_) {
            EmfPlus plus(painter, base);
            EmfPlayback(bytes_, firstRecord_, gdi, &plus).run();
        } else {
            EmfPlayback(bytes_, firstRecord_, gdi).run();
        }
    } else {
        // A WMF plays into its bounds: window = bounds unless the file says
        // otherwise, viewport = the bounds in frame units.
        Gdi gdi(painter, QTransform(), Device{QSizeF(size), QSizeF(size) * 25.4 / 96});
        DcState& s = gdi.state();
        s.mapMode = 8;  // anisotropic
        s.windowOrg = frame_.topLeft();
        s.windowExt = frame_.size();
        s.viewportOrg = QPointF(0, 0);
        s.viewportExt = QSizeF(size);
        gdi.keepScalableExtents();
        WmfPlayback(bytes_, firstRecord_, wmfObjects_, gdi).run();
    }
    painter.end();
    return image;
}

} // namespace pel
