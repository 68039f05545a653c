#include "tools/DatePicker.h"

#include "platform/LocaleInfo.h"
#include "tools/ClickableControls.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

// The title as a Japanese month calendar writes it: year first, "2026年12月".
void japaneseCalendarTitle(QCalendarWidget* calendar)
{
    auto* year = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    auto* yearEdit = calendar->findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"));
    auto* bar = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
    auto* layout = bar ? qobject_cast<QBoxLayout*>(bar->layout()) : nullptr;
    if (!year || !month || !yearEdit || !layout)
        return;
    // The calendar reads a typed year back from the edit's text: a suffix
    // there would make every typed year unreadable (year 1, or -1 on Tab).
    // The button shows "年"; the edit holds the digits alone.
    yearEdit->setSuffix(QString());
    // Years the calendar can show and the edit accepts as typed.
    calendar->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    layout->removeWidget(year);
    layout->removeWidget(yearEdit);
    const int at = layout->indexOf(month);
    layout->insertWidget(at, yearEdit);
    layout->insertWidget(at, year);
    const auto label = [calendar, year] {
        year->setText(QStringLiteral("%1年").arg(calendar->yearShown()));
    };
    label();
    QObject::connect(calendar, &QCalendarWidget::currentPageChanged, year, label);
    // The calendar writes the bare number on the button after editing, also
    // when the page stays the same.
    QObject::connect(yearEdit, &QSpinBox::editingFinished, year, label);
}

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

    // Frameless, so that where it is moved is where its days are.
    popup_ = new QFrame(this, Qt::Popup | Qt::FramelessWindowHint);
    popup_->setFrameShape(QFrame::StyledPanel);
    calendar_ = new QCalendarWidget(popup_);
    calendar_->setObjectName(QStringLiteral("DropCalendar"));
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    japaneseCalendarTitle(calendar_);
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
    popup_->move(popupPosition(popup_->size()));
    popup_->show();
    calendar_->setFocus();
}

QPoint DatePicker::popupPosition(QSize popupSize) const
{
    // Below the field, or above it where the screen ends below; never past
    // the screen's edges, so every day of the month can be clicked.
    const QPoint below = mapToGlobal(QPoint(0, height()));
    const QScreen* shownOn = screen();
    if (!shownOn)
        return below;
    const QRect area = shownOn->availableGeometry();
    QPoint at = below;
    if (at.y() + popupSize.height() > area.bottom() + 1) {
        const int above = mapToGlobal(QPoint(0, 0)).y() - popupSize.height();
        at.setY(above >= area.top() ? above : area.bottom() + 1 - popupSize.height());
    }
    at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() + 1 - popupSize.width())));
    at.setY(qMax(area.top(), at.y()));
    return at;
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
