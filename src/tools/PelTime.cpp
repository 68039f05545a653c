#include "tools/PelTime.h"

#include "platform/EditorPort.h"
#include "platform/Hints.h"
#include "platform/Services.h"
#include "platform/UpDown.h"
#include "tools/ClickableControls.h"
#include "tools/ToolWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TForm11* Form11 = nullptr;

namespace {

struct FormatLabelRow {
    const char16_t* name;
    const char16_t* format;
    const char16_t* hint;
    Qt::GlobalColor colour;
};

// The label texts: era and weekday dates, 12-hour times, and plain dates
// whose slashes stay "/" whatever the locale's separator.
const FormatLabelRow kFormatLabels[8] = {
    {u"Label6", u"\"\"ggg\"年\"mm\"月\"dd\"日(\"aaaa\")\"", u"元号、月日が二桁で表示", Qt::green},
    {u"Label7", u"\"\"ggg\"年\"m\"月\"d\"日(\"aaaa\")\"", u"元号、月日が一桁で表示", Qt::green},
    {u"Label8", u"\"\"ampm hh\"時\" mm\"分\" ss\"秒\"", u"元号、時刻が二桁で表示", Qt::green},
    {u"Label9", u"\"\"ampm h\"時\" m\"分\" s\"秒\"", u"元号、時刻が一桁で表示", Qt::green},
    {u"Label10", u"\"\"yyyy\"/\"mm\"/\"dd\"", u"西暦、年四桁　月日、二桁で表示", Qt::yellow},
    {u"Label11", u"\"\"yyyy\"/\"m\"/\"d\"", u"西暦、年四桁　月日、一桁で表示", Qt::yellow},
    {u"Label12", u"\"\"yy\"/\"mm\"/\"dd\"", u"西暦、年二桁　月日、二桁で表示", Qt::yellow},
    {u"Label13", u"\"\"yy\"/\"m\"/\"d\"", u"西暦、年二桁　月日、一桁で表示", Qt::yellow},
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, Qt::GlobalColor colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    setPaletteColor(label, QPalette::WindowText, colour);
    return label;
}

QLineEdit* makeNumberField(QWidget* parent, const QString& name, const QString& hint)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFrame(false);
    edit->setFixedWidth(32);
    edit->setAlignment(Qt::AlignRight);
    setPaletteColor(edit, QPalette::Base, QColor(0x00, 0x80, 0x80));
    setPaletteColor(edit, QPalette::Text, Qt::yellow);
    pel::setHint(edit, hint);
    return edit;
}

// Arrows from 0 to `maximum` beside `field`, which starts at 0.
pel::UpDown* makeUpDown(QWidget* parent, QLineEdit* field, const QString& name, int maximum)
{
    auto* arrows = new pel::UpDown(parent);
    arrows->setObjectName(name);
    arrows->setFixedSize(16, 22);
    arrows->setRange(0, maximum);
    arrows->setAssociate(field, pel::UpDown::Typed::AtNextStep);
    return arrows;
}

} // namespace

TForm11::TForm11(pel::EditorPort& editor, QWidget* parent)
    : QDialog(parent), editor_(editor)
{
    setupToolWindow(this, QStringLiteral("TForm11"), QStringLiteral("PelTime"),
                    QSize(372, 443), QPoint(391, 62), QColor(0x00, 0x80, 0x80));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(14);

    Label4 = makeLabel(this, QStringLiteral("Label4"),
                       QStringLiteral("日時の形式を選んでクリックすると、下記の表示の通りメインフォームに入力できます｡"),
                       Qt::cyan);
    Label4->setWordWrap(true);
    layout->addWidget(Label4);

    QFont labelFont = font();
    labelFont.setPixelSize(16);
    labelFont.setBold(true);
    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(12);
    dates->setVerticalSpacing(10);
    for (int i = 0; i < 8; ++i) {
        const FormatLabelRow& row = kFormatLabels[i];
        auto* label = makeClickLabel(this, QString::fromUtf16(row.name), QString(), labelFont, row.colour,
                                     QString::fromUtf16(row.hint));
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &ClickLabel::clicked, this, [this, label] { LabelClick(label); });
        formatLabels_[i] = label;
        formats_[i] = DateTimeFormat(QString::fromUtf16(row.format));
        // Four full-width rows, then two rows of two side by side.
        if (i < 4)
            dates->addWidget(label, i, 0, 1, 2);
        else
            dates->addWidget(label, 4 + (i - 4) / 2, (i - 4) % 2);
    }
    Label6 = formatLabels_[0];
    Label7 = formatLabels_[1];
    Label8 = formatLabels_[2];
    Label9 = formatLabels_[3];
    Label10 = formatLabels_[4];
    Label11 = formatLabels_[5];
    Label12 = formatLabels_[6];
    Label13 = formatLabels_[7];
    layout->addLayout(dates);

    Label5 = makeLabel(this, QStringLiteral("Label5"),
                       QStringLiteral("日付、時刻の表示方法には、一桁表示と二桁表示とがあります｡　ヒントを参照してお好みの表示方法を撰んで下さい｡"),
                       Qt::white);
    Label5->setWordWrap(true);
    layout->addWidget(Label5);

    Label3 = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("時刻を入力して下さい。午後は13時から23時"), Qt::cyan);
    layout->addWidget(Label3);

    Edit1 = makeNumberField(this, QStringLiteral("Edit1"), QStringLiteral("何時ですか?"));
    UpDown1 = makeUpDown(this, Edit1, QStringLiteral("UpDown1"), 23);
    Label1 = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("時"), Qt::yellow);
    Edit2 = makeNumberField(this, QStringLiteral("Edit2"), QStringLiteral("何分ですか?"));
    UpDown2 = makeUpDown(this, Edit2, QStringLiteral("UpDown2"), 59);
    Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("分"), Qt::yellow);

    Button1 = new QPushButton(QStringLiteral("入力"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("閉じる"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    auto* timeRow = new QHBoxLayout;
    timeRow->setSpacing(2);
    timeRow->addWidget(Edit1);
    timeRow->addWidget(UpDown1);
    timeRow->addSpacing(4);
    timeRow->addWidget(Label1);
    timeRow->addSpacing(12);
    timeRow->addWidget(Edit2);
    timeRow->addWidget(UpDown2);
    timeRow->addSpacing(4);
    timeRow->addWidget(Label2);
    timeRow->addStretch(1);
    timeRow->addWidget(Button1);
    timeRow->addSpacing(8);
    timeRow->addWidget(Button2);
    layout->addLayout(timeRow);
    layout->addStretch(1);

    connect(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm11::Button2Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TForm11::Timer1Timer);
    // Filled at once too, so a click can never insert a design name.
    Timer1Timer();
    Timer1->start();
}

void TForm11::Timer1Timer()
{
    // One reading for all eight, so the labels never straddle a second.
    const QDateTime now = pel::clock().now();
    for (size_t i = 0; i < formatLabels_.size(); ++i)
        formatLabels_[i]->setText(formats_[i].format(now));
}

void TForm11::LabelClick(const ClickLabel* label)
{
    editor_.ReplaceEditorSelection(label->text());
}

void TForm11::Button1Click()
{
    // Inserted as typed: nothing is checked or padded.
    editor_.ReplaceEditorSelection(Edit1->text() + Label1->text() + Edit2->text() + Label2->text());
    Edit1->setFocus();
    Edit2->setFocus();
}

void TForm11::Button2Click()
{
    hide();
}
