#include "paint/UpDownControl.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace pel {

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    for (QToolButton* button : {up_, down_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        button->setFixedWidth(15);
        layout->addWidget(button);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    setFixedWidth(15);
}

void UpDownControl::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    setPosition(position_);
}

void UpDownControl::setPosition(int value)
{
    const int kept = qBound(minimum_, value, maximum_);
    const bool changed = kept != position_;
    position_ = kept;
    showPosition();
    if (changed)
        Q_EMIT positionChanged(position_);
}

void UpDownControl::setAssociate(QLineEdit* edit)
{
    edit_ = edit;
    if (edit_) {
        connect(edit_, &QLineEdit::textEdited, this, &UpDownControl::takeTypedText);
        showPosition();
    }
}

void UpDownControl::step(int direction)
{
    if (edit_)
        takeTypedText(edit_->text());
    setPosition(position_ + direction);
    Q_EMIT clicked(direction);
}

void UpDownControl::takeTypedText(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (ok && value >= minimum_ && value <= maximum_ && value != position_) {
        position_ = value;
        Q_EMIT positionChanged(position_);
    }
}

void UpDownControl::showPosition()
{
    if (edit_ && edit_->text() != QString::number(position_))
        edit_->setText(QString::number(position_));
}

} // namespace pel
