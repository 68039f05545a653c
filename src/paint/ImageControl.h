#pragma once
#include "paint/PaintCanvas.h"

#include <QWidget>

namespace pel {

// An image control: shows the picture of its canvas, as it is, centred or
// stretched, and reports mouse and drop events in picture coordinates
// (which are the control's own coordinates, whatever the display mode).
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    PaintCanvas& canvas() { return canvas_; }
    const PaintCanvas& canvas() const { return canvas_; }

    bool stretch() const { return stretch_; }
    void setStretch(bool on);
    bool center() const { return center_; }
    void setCenter(bool on);
    // While filling, the control covers its parent (the scroll area's
    // viewport) and follows its size; otherwise it has a size of its own.
    bool fillsArea() const { return fillsArea_; }
    void setFillsArea(bool on);
    // The control takes the picture's size (not while filling).
    void fitToPicture();

    // Repaints the part of the control that shows `pictureRect`.
    void updatePictureRect(const QRect& pictureRect);
    // Where the picture is drawn in the control.
    QRect pictureFrame() const;

    QSize sizeHint() const override;

    // The type of drag data an image control offers; its source is the control.
    static const char* const kDragFormat;

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, QPoint pos);
    void mouseMove(Qt::MouseButtons buttons, QPoint pos);
    void mouseUp(Qt::MouseButton button, QPoint pos);
    // Asks whether a drag from `source` may be dropped; the slot sets *accept.
    void dragOver(QObject* source, bool* accept);
    void dropped(QObject* source, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followArea();

    PaintCanvas canvas_;
    bool stretch_ = false;
    bool center_ = false;
    bool fillsArea_ = false;
};

} // namespace pel
