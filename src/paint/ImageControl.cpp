#include "paint/ImageControl.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace pel {

const char* const ImageControl::kDragFormat = "application/x-pelmora-image-control";

ImageControl::ImageControl(QWidget* parent) : QWidget(parent)
{
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setMouseTracking(true);
    fitToPicture();
}

void ImageControl::setStretch(bool on)
{
    stretch_ = on;
    update();
}

void ImageControl::setCenter(bool on)
{
    center_ = on;
    update();
}

void ImageControl::setFillsArea(bool on)
{
    if (on == fillsArea_)
        return;
    fillsArea_ = on;
    if (QWidget* area = parentWidget()) {
        if (on)
            area->installEventFilter(this);
        else
            area->removeEventFilter(this);
    }
    if (on)
        followArea();
    else
        fitToPicture();
    update();
}

void ImageControl::fitToPicture()
{
    if (fillsArea_) {
        followArea();
    } else {
        const QSize size = canvas_.hasPicture() ? canvas_.image().size() : QSize(0, 0);
        resize(size.expandedTo(QSize(0, 0)));
    }
    update();
}

void ImageControl::followArea()
{
    if (QWidget* area = parentWidget()) {
        move(0, 0);
        resize(area->size());
    }
}

bool ImageControl::eventFilter(QObject* watched, QEvent* event)
{
    if (fillsArea_ && watched == parentWidget() && event->type() == QEvent::Resize)
        followArea();
    return QWidget::eventFilter(watched, event);
}

QSize ImageControl::sizeHint() const
{
    return size();
}

QRect ImageControl::pictureFrame() const
{
    const QSize picture = canvas_.image().size();
    if (stretch_)
        return rect();
    if (center_)
        return QRect(QPoint((width() - picture.width()) / 2, (height() - picture.height()) / 2), picture);
    return QRect(QPoint(0, 0), picture);
}

void ImageControl::updatePictureRect(const QRect& pictureRect)
{
    if (pictureRect.isEmpty())
        return;
    const QRect frame = pictureFrame();
    const QSize picture = canvas_.image().size();
    if (stretch_ && !picture.isEmpty()) {
        const double sx = double(frame.width()) / picture.width();
        const double sy = double(frame.height()) / picture.height();
        const QRect scaled(int(pictureRect.left() * sx) - 1, int(pictureRect.top() * sy) - 1,
                           int(pictureRect.width() * sx) + 3, int(pictureRect.height() * sy) + 3);
        update(scaled);
    } else {
        update(pictureRect.translated(frame.topLeft()));
    }
}

void ImageControl::paintEvent(QPaintEvent* event)
{
    if (!canvas_.hasPicture() || canvas_.image().isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect());
    const QRect frame = pictureFrame();
    if (frame.size() == canvas_.image().size()) {
        const QRect dirty = event->rect() & frame;
        painter.drawImage(dirty.topLeft(), canvas_.image(), dirty.translated(-frame.topLeft()));
    } else if (canvas_.isBitmap()) {
        painter.drawImage(frame, canvas_.image());
    } else {
        painter.drawImage(frame.topLeft(), canvas_.rendered(frame.size()));
    }
}

void ImageControl::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT mouseDown(event->button(), event->position().toPoint());
}

void ImageControl::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT mouseMove(event->buttons(), event->position().toPoint());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event)
{
    Q_EMIT mouseUp(event->button(), event->position().toPoint());
}

void ImageControl::dragEnterEvent(QDragEnterEvent* event)
{
    bool accept = false;
    Q_EMIT dragOver(event->source(), &accept);
    if (accept)
        event->acceptProposedAction();
    else
        event->ignore();
}

void ImageControl::dragMoveEvent(QDragMoveEvent* event)
{
    bool accept = false;
    Q_EMIT dragOver(event->source(), &accept);
    if (accept)
        event->acceptProposedAction();
    else
        event->ignore();
}

void ImageControl::dropEvent(QDropEvent* event)
{
    bool accept = false;
    Q_EMIT dragOver(event->source(), &accept);
    if (!accept) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT dropped(event->source(), event->position().toPoint());
}

} // namespace pel
