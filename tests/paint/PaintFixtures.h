#pragma once
// Small generated pictures and pixel checks for the paint tests.
#include "paint/PaintCanvas.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>

namespace paintfx {

inline constexpr QRgb kGrey = 0xFF808080u;
inline constexpr QRgb kWhite = 0xFFFFFFFFu;
inline constexpr QRgb kBlack = 0xFF000000u;
inline constexpr QRgb kRed = 0xFFFF0000u;
inline constexpr QRgb kBlue = 0xFF0000FFu;

inline QImage filled(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture where neighbouring pixels all differ, so any stray write shows.
inline QImage noisy(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            image.setPixel(x, y, 0xFF000000u | (seed >> 8));
        }
    }
    return image;
}

inline QList<QPoint> changedPixels(const QImage& before, const QImage& after)
{
    QList<QPoint> points;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                points << QPoint(x, y);
    return points;
}

inline QRect boundsOf(const QList<QPoint>& points)
{
    QRect r;
    for (const QPoint& p : points)
        r |= QRect(p, QSize(1, 1));
    return r;
}

} // namespace paintfx
