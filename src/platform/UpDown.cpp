#include "platform/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace pel {

UpDown::UpDown(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName(QStringLiteral("UpButton"));
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName(QStringLiteral("DownButton"));
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    setFixedWidth(15);
}

void UpDown::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    setPosition(position_);
}

void UpDown::setPosition(int value)
{
    const int kept = qBound(minimum_, value, maximum_);
    const bool changed = kept != position_;
    position_ = kept;
    showPosition();
    if (changed)
        Q_EMIT positionChanged(position_);
}

void UpDown::setAssociate(QLineEdit* edit, Typed typed)
{
    edit_ = edit;
    typed_ = typed;
    if (!edit_)
        return;
    if (typed_ == Typed::WithinLimits)
        connect(edit_, &QLineEdit::textEdited, this, &UpDown::takeTypedText);
    else
        edit_->installEventFilter(this);
    showPosition();
}

void UpDown::step(int direction)
{
    if (edit_)
        takeTypedText(edit_->text());
    setPosition(position_ + direction);
    Q_EMIT clicked(direction);
}

void UpDown::takeTypedText(const QString& text)
{
    bool ok = false;
    int value = text.trimmed().toInt(&ok);
    if (!ok)
        return;
    if (typed_ == Typed::AtNextStep)
        value = qBound(minimum_, value, maximum_);
    else if (value < minimum_ || value > maximum_)
        return;
    if (value != position_) {
        position_ = value;
        Q_EMIT positionChanged(position_);
    }
}

void UpDown::showPosition()
{
    if (edit_ && edit_->text() != QString::number(position_))
        edit_->setText(QString::number(position_));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pel
