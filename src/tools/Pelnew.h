#pragma once
#include <QDialog>

namespace pel { class EditorPort; }
class ClickLabel;
class DatePicker;
class QCalendarWidget;
class QPushButton;

// "Calendar": a month calendar and a date field; a click on either writes the
// date between stars into a label, a double-click on the label inserts it.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(pel::EditorPort& editor, QWidget* parent = nullptr);

    // "\n☆  Date " + the short date + " ☆"
    static QString dateLabelText(const QDate& date);

    QCalendarWidget* MonthCalendar1 = nullptr;
    ClickLabel* Label1 = nullptr;
    DatePicker* DateTimePicker1 = nullptr;
    QPushButton* Button1 = nullptr;

    void MonthCalendar1Click();
    void DateTimePicker1Click();
    void Label1DblClick();
    void Button1Click();

private:
    pel::EditorPort& editor_;
};

extern TForm2* Form2;
