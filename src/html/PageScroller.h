#pragma once
// A strip that shows a wide bar through a window and scrolls it with two
// arrow buttons while the mouse rests on an arrow.
#include <QTimer>
#include <QWidget>
#include <functional>

class QToolButton;

namespace pel::html {

// The step the main window asks for at each scroll step, from the modifier
// keys held at that moment: Alt (with or without Shift or Ctrl) one pixel;
// no Shift and no Ctrl one button; Shift or Ctrl alone 0, which keeps the
// scroller's own default step.
int iconBarScrollStep(Qt::KeyboardModifiers modifiers, int buttonWidth);

class PageScroller : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultStep = 12;
    static constexpr int kArrowWidth = 12;
    static constexpr int kAutoScrollInterval = 60;  // milliseconds between steps

    explicit PageScroller(QWidget* parent = nullptr);

    // `content` is re-parented into the scroller's window.
    void setContent(QWidget* content);
    QWidget* content() const { return content_; }
    // Asked at every step; a result <= 0 keeps the default step.
    void setStepProvider(std::function<int(Qt::KeyboardModifiers)> provider);

    int position() const { return position_; }
    int maximumPosition() const;
    void setPosition(int position);
    bool arrowsShown() const;
    // One step towards the end (+1) or the start (-1), with `modifiers`
    // deciding the width. Returns the width of the step taken.
    int scrollStep(int direction, Qt::KeyboardModifiers modifiers);
    int autoScrollDirection() const { return timer_.isActive() ? direction_ : 0; }

    QToolButton* startArrow() const { return startArrow_; }
    QToolButton* endArrow() const { return endArrow_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize contentSize() const;
    void relayout();
    void onTimer();

    QWidget* window_ = nullptr;
    QWidget* content_ = nullptr;
    QToolButton* startArrow_ = nullptr;
    QToolButton* endArrow_ = nullptr;
    std::function<int(Qt::KeyboardModifiers)> provider_;
    QTimer timer_;
    int direction_ = 0;
    int position_ = 0;
};

} // namespace pel::html
