#include "tools/Pelnew.h"

#include "platform/EditorPort.h"
#include "platform/Fonts.h"
#include "platform/Hints.h"
#include "platform/LocaleInfo.h"
#include "platform/Services.h"
#include "tools/ClickableControls.h"
#include "tools/DatePicker.h"
#include "tools/ToolWindow.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextCharFormat>
#include <QVBoxLayout>

TForm2* Form2 = nullptr;

namespace {

const QColor kNavy(0x00, 0x00, 0x80);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kMonthBackground(0xE8, 0xFF, 0xFF);

void styleMonthCalendar(QCalendarWidget* calendar)
{
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    calendar->setGridVisible(false);

    calendar->setFont(pel::japaneseFont(16));

    QPalette palette = calendar->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, kMonthBackground);
    palette.setColor(QPalette::AlternateBase, kMonthBackground);
    palette.setColor(QPalette::Text, kNavy);
    palette.setColor(QPalette::WindowText, kNavy);
    // Days of the neighbouring months are drawn with the disabled text colour.
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::red);

    // The title bar takes the highlight colours: blue with aqua text.
    palette.setColor(QPalette::Highlight, Qt::blue);
    palette.setColor(QPalette::HighlightedText, Qt::cyan);
    calendar->setPalette(palette);

    // Weekends in the same navy as every other day.
    QTextCharFormat plain;
    plain.setForeground(kNavy);
    calendar->setWeekdayTextFormat(Qt::Saturday, plain);
    calendar->setWeekdayTextFormat(Qt::Sunday, plain);
}

} // namespace

TForm2::TForm2(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setupToolWindow(this, QStringLiteral("TForm2"), QStringLiteral("Calendar"),
                    QSize(442, 298), QPoint(297, 102), kTeal);

    const QDate today = pel::clock().now().date();

    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setFixedSize(401, 193);
    styleMonthCalendar(MonthCalendar1);
    japaneseCalendarTitle(MonthCalendar1);
    MonthCalendar1->setSelectedDate(today);
    pel::setHint(MonthCalendar1, QStringLiteral("複数日表示|複数日表示します。"));

    QFont labelFont = font();
    labelFont.setPixelSize(16);
    labelFont.setBold(true);
    Label1 = makeClickLabel(this, QStringLiteral("Label1"), QStringLiteral("日付表示場所"), labelFont, Qt::yellow,
                            QStringLiteral("ダブルクリックで転記|ダブルクリックでメインキャンバスに転記します。"));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    Label1->setMinimumHeight(40);

    DateTimePicker1 = new DatePicker(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setDate(today);
    DateTimePicker1->setFixedWidth(186);
    pel::setHint(DateTimePicker1, QStringLiteral("１日のみ表示|１日のみ表示します。"));

    Button1 = new QPushButton(QStringLiteral("閉じる"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 8, 20, 10);
    layout->setSpacing(4);
    layout->addWidget(MonthCalendar1, 0, Qt::AlignHCenter);
    layout->addWidget(Label1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(DateTimePicker1);
    bottom->addStretch(1);
    bottom->addWidget(Button1);
    layout->addLayout(bottom);
    layout->addStretch(1);

    connect(MonthCalendar1, &QCalendarWidget::clicked, this, &TForm2::MonthCalendar1Click);
    connect(DateTimePicker1, &DatePicker::clicked, this, &TForm2::DateTimePicker1Click);
    connect(DateTimePicker1, &DatePicker::dateChosen, this, &TForm2::DateTimePicker1Click);
    connect(Label1, &ClickLabel::doubleClicked, this, &TForm2::Label1DblClick);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

QString TForm2::dateLabelText(const QDate& date)
{
    // A bare line feed, not CR LF: the inserted text starts with it.
    return QStringLiteral("\n☆  Date ") + pel::LocaleInfo::shortDate(date) + QStringLiteral(" ☆");
}

void TForm2::MonthCalendar1Click()
{
    Label1->setText(dateLabelText(MonthCalendar1->selectedDate()));
}

void TForm2::DateTimePicker1Click()
{
    Label1->setText(dateLabelText(DateTimePicker1->date()));
}

void TForm2::Label1DblClick()
{
    editor_.ReplaceEditorSelection(Label1->text());
}

void TForm2::Button1Click()
{
    hide();
}
