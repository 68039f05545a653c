#include "paint/PaintCanvas.h"

#include <QPainter>

namespace pel {

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

void PaintCanvas::replace(const QImage& image, PictureKind kind)
{
    image_ = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    kind_ = kind;
    state_ = DrawingState{};
}

void PaintCanvas::replaceWithWhite(int width, int height)
{
    replace(whiteBitmap(width, height));
}

void PaintCanvas::clear()
{
    image_ = QImage();
    kind_ = PictureKind::None;
    state_ = DrawingState{};
}

void PaintCanvas::assignContent(const QImage& image)
{
    image_ = image.convertToFormat(QImage::Format_RGB32);
}

} // namespace pel
