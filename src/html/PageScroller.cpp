#include "html/PageScroller.h"

#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QToolButton>

namespace pel::html {

int iconBarScrollStep(Qt::KeyboardModifiers modifiers, int buttonWidth)
{
    if (modifiers & Qt::AltModifier)
        return 1;
    if (!(modifiers & (Qt::ShiftModifier | Qt::ControlModifier)))
        return buttonWidth;
    return 0;
}

PageScroller::PageScroller(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    window_ = new QWidget(this);
    window_->setObjectName(QStringLiteral("PageScrollerWindow"));
    auto makeArrow = [this](Qt::ArrowType type, const char* name) {
        auto* arrow = new QToolButton(this);
        arrow->setObjectName(QString::fromLatin1(name));
        arrow->setArrowType(type);
        arrow->setAutoRaise(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->hide();
        arrow->installEventFilter(this);
        return arrow;
    };
    startArrow_ = makeArrow(Qt::LeftArrow, "PageScrollerStartArrow");
    endArrow_ = makeArrow(Qt::RightArrow, "PageScrollerEndArrow");
    connect(startArrow_, &QToolButton::clicked, this,
            [this] { scrollStep(-1, QGuiApplication::queryKeyboardModifiers()); });
    connect(endArrow_, &QToolButton::clicked, this,
            [this] { scrollStep(+1, QGuiApplication::queryKeyboardModifiers()); });
    timer_.setInterval(kAutoScrollInterval);
    connect(&timer_, &QTimer::timeout, this, &PageScroller::onTimer);
}

void PageScroller::setContent(QWidget* content)
{
    if (content_)
        content_->removeEventFilter(this);
    content_ = content;
    if (content_) {
        content_->setParent(window_);
        content_->installEventFilter(this);
    }
    position_ = 0;
    relayout();
    updateGeometry();
}

void PageScroller::setStepProvider(std::function<int(Qt::KeyboardModifiers)> provider)
{
    provider_ = std::move(provider);
}

QSize PageScroller::contentSize() const
{
    return content_ ? content_->sizeHint().expandedTo(content_->minimumSize()) : QSize();
}

int PageScroller::maximumPosition() const
{
    if (!content_)
        return 0;
    return qMax(0, contentSize().width() - window_->width());
}

void PageScroller::setPosition(int position)
{
    position_ = qBound(0, position, maximumPosition());
    relayout();
}

bool PageScroller::arrowsShown() const
{
    return !startArrow_->isHidden();
}

int PageScroller::scrollStep(int direction, Qt::KeyboardModifiers modifiers)
{
    int step = provider_ ? provider_(modifiers) : 0;
    if (step <= 0)
        step = kDefaultStep;
    setPosition(position_ + (direction < 0 ? -step : step));
    return step;
}

QSize PageScroller::sizeHint() const
{
    const int height = content_ ? contentSize().height() : 22;
    return {3 * kArrowWidth, height};
}

QSize PageScroller::minimumSizeHint() const
{
    return sizeHint();
}

void PageScroller::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

bool PageScroller::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == content_) {
        if (event->type() == QEvent::LayoutRequest) {
            relayout();
            updateGeometry();
        }
        return false;
    }
    if (watched == startArrow_ || watched == endArrow_) {
        // Scrolls while the pointer rests on an arrow.
        if (event->type() == QEvent::Enter) {
            direction_ = watched == startArrow_ ? -1 : +1;
            timer_.start();
        } else if (event->type() == QEvent::Leave || event->type() == QEvent::Hide) {
            timer_.stop();
            direction_ = 0;
        }
    }
    return false;
}

void PageScroller::onTimer()
{
    const int before = position_;
    scrollStep(direction_, QGuiApplication::queryKeyboardModifiers());
    if (position_ == before)
        timer_.stop();
}

void PageScroller::relayout()
{
    const int contentWidth = content_ ? contentSize().width() : 0;
    const bool overflow = contentWidth > width();
    if (overflow) {
        startArrow_->setGeometry(0, 0, kArrowWidth, height());
        endArrow_->setGeometry(width() - kArrowWidth, 0, kArrowWidth, height());
        window_->setGeometry(kArrowWidth, 0, qMax(0, width() - 2 * kArrowWidth), height());
    } else {
        window_->setGeometry(rect());
    }
    startArrow_->setVisible(overflow);
    endArrow_->setVisible(overflow);
    position_ = qBound(0, position_, qMax(0, contentWidth - window_->width()));
    if (content_) {
        const int contentHeight = qMin(height(), contentSize().height());
        content_->setGeometry(-position_, (height() - contentHeight) / 2, contentWidth, contentHeight);
    }
    startArrow_->setEnabled(position_ > 0);
    endArrow_->setEnabled(position_ < qMax(0, contentWidth - window_->width()));
}

} // namespace pel::html
