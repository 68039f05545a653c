#include "paint/FloodFill.h"

#include <vector>

namespace pel {

namespace {

struct Span {
    int y;
    int left;
    int right;  // inclusive
};

} // namespace

QRect floodFill(QImage& image, QPoint start, const BrushState& brush, PenMode mode)
{
    if (!image.rect().contains(start))
        return {};
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32
        && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_RGB32);

    const int width = image.width();
    const int height = image.height();
    const qsizetype stride = image.bytesPerLine() / 4;
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    const QRgb target = pixels[start.y() * stride + start.x()] & 0x00FFFFFFu;

    std::vector<unsigned char> taken(static_cast<size_t>(width) * height, 0);
    auto inArea = [&](int x, int y) {
        return !taken[static_cast<size_t>(y) * width + x]
               && (pixels[y * stride + x] & 0x00FFFFFFu) == target;
    };

    std::vector<Span> spans;
    std::vector<QPoint> seeds{start};
    int top = start.y(), bottom = start.y(), left = start.x(), right = start.x();
    while (!seeds.empty()) {
        const QPoint seed = seeds.back();
        seeds.pop_back();
        const int y = seed.y();
        if (!inArea(seed.x(), y))
            continue;
        int l = seed.x();
        while (l > 0 && inArea(l - 1, y))
            --l;
        int r = seed.x();
        while (r + 1 < width && inArea(r + 1, y))
            ++r;
        std::fill_n(taken.begin() + static_cast<qsizetype>(y) * width + l, r - l + 1, 1);
        spans.push_back({y, l, r});
        top = qMin(top, y);
        bottom = qMax(bottom, y);
        left = qMin(left, l);
        right = qMax(right, r);
        for (int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= height)
                continue;
            // One seed per run of area pixels next to this span.
            bool inRun = false;
            for (int x = l; x <= r; ++x) {
                const bool in = inArea(x, ny);
                if (in && !inRun)
                    seeds.emplace_back(x, ny);
                inRun = in;
            }
        }
    }

    if (brush.style != BrushStyle::Clear) {
        const QRgb colour = brush.color.rgb();
        auto* out = reinterpret_cast<QRgb*>(image.bits());
        for (const Span& span : spans) {
            QRgb* row = out + span.y * stride;
            if (brush.style == BrushStyle::Solid) {
                for (int x = span.left; x <= span.right; ++x)
                    row[x] = combinePixel(row[x], colour, mode);
            } else {
                for (int x = span.left; x <= span.right; ++x) {
                    if (brushPaints(brush.style, x, span.y))
                        row[x] = combinePixel(row[x], colour, mode);
                }
            }
        }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace pel
