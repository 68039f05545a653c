#pragma once
#include <QDate>
#include <QWidget>

class ClickEdit;
class QCalendarWidget;
class QFrame;
class QToolButton;

// The month calendar's title as a Japanese calendar writes it, year first:
// "2026年 12月".
void japaneseCalendarTitle(QCalendarWidget* calendar);

// A date field in the locale's long date format with a drop-down month
// calendar. The arrow keys move the date by a day; Alt+Down or F4 opens
// the calendar.
class DatePicker : public QWidget {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    QDate date() const { return date_; }
    void setDate(const QDate& date);
    QString text() const;

    void showPopup();
    QCalendarWidget* popupCalendar() const { return calendar_; }
    ClickEdit* field() const { return field_; }
    QToolButton* dropButton() const { return button_; }

Q_SIGNALS:
    void clicked();                      // a click on the field
    void dateChosen(const QDate& date);  // a day clicked in the drop-down calendar
    void dateChanged(const QDate& date);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(const QDate& date);
    QPoint popupPosition(QSize popupSize) const;

    QDate date_;
    ClickEdit* field_;
    QToolButton* button_;
    QFrame* popup_;
    QCalendarWidget* calendar_;
};
