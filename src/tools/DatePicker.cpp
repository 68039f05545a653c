#include "tools/DatePicker.h"

#include "platform/LocaleInfo.h"
#include "tools/ClickableControls.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

DatePicker::DatePicker(QWidget* parent)
    : QWidget(parent), date_(QDate::currentDate())
{
    field_ = new ClickEdit(this);
    field_->setObjectName(QStringLiteral("DateField"));
    field_->setReadOnly(true);
    field_->installEventFilter(this);
    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("DropButton"));
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(field_, 1);
    layout->addWidget(button_);
    setFocusProxy(field_);

    popup_ = new QFrame(this, Qt::Popup);
    popup_->setFrameShape(QFrame::StyledPanel);
    calendar_ = new QCalendarWidget(popup_);
    calendar_->setObjectName(QStringLiteral("DropCalendar"));
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    auto* popupLayout = new QVBoxLayout(popup_);
    popupLayout->setContentsMargins(1, 1, 1, 1);
    popupLayout->addWidget(calendar_);

    connect(field_, &ClickEdit::clicked, this, &DatePicker::clicked);
    connect(button_, &QToolButton::clicked, this, &DatePicker::showPopup);
    connect(calendar_, &QCalendarWidget::clicked, this, &DatePicker::choose);
    connect(calendar_, &QCalendarWidget::activated, this, &DatePicker::choose);

    field_->setText(text());
}

void DatePicker::setDate(const QDate& date)
{
    if (!date.isValid() || date == date_)
        return;
    date_ = date;
    field_->setText(text());
    Q_EMIT dateChanged(date_);
}

QString DatePicker::text() const
{
    return pel::LocaleInfo::longDate(date_);
}

void DatePicker::showPopup()
{
    calendar_->setSelectedDate(date_);
    popup_->adjustSize();
    popup_->move(mapToGlobal(QPoint(0, height())));
    popup_->show();
    calendar_->setFocus();
}

void DatePicker::choose(const QDate& date)
{
    popup_->hide();
    setDate(date);
    field_->setFocus();
    Q_EMIT dateChosen(date_);
}

bool DatePicker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier))) {
            showPopup();
            return true;
        }
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            setDate(date_.addDays(key->key() == Qt::Key_Up ? 1 : -1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
