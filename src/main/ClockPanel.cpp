// The clock bar: date, time, uptime and the product label.
#include "main/ClockPanel.h"

#include "main/About.h"
#include "main/Pelmain.h"
#include "platform/EditorPort.h"
#include "text/DocumentSession.h"
#include "platform/Fonts.h"
#include "platform/Hints.h"
#include "platform/LocaleInfo.h"
#include "platform/Services.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

namespace {

const QColor kAqua(0x00, 0xFF, 0xFF);

QFont labelFont(int pixels)
{
    return pel::japaneseFont(pixels, true);
}

QFrame* makePanel(QWidget* parent, const QString& name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(3);
    panel->setAutoFillBackground(true);
    // A tool bar gives its children the button roles; ours are our own.
    panel->setBackgroundRole(QPalette::Window);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, kAqua);
    panel->setPalette(palette);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // the panel follows its label
    return panel;
}

QLabel* makeLabel(QFrame* panel, const QString& name, const QString& caption, const QString& hint,
                  int pixels)
{
    auto* label = new QLabel(caption, panel);
    label->setObjectName(name);
    label->setFont(labelFont(pixels));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setBackgroundRole(QPalette::Window);
    label->setForegroundRole(QPalette::WindowText);
    label->setTextFormat(Qt::PlainText);
    pel::setHint(label, hint);
    panel->layout()->addWidget(label);
    return label;
}

} // namespace

QString ClockCaptions::dateCaption(const QDate& date)
{
    return QStringLiteral(" ☆　Date　") + pel::LocaleInfo::shortDate(date) + QStringLiteral("　= ");
}

QString ClockCaptions::timeCaption(const QTime& time)
{
    return QStringLiteral("　Time　") + pel::LocaleInfo::longTime(time) + QStringLiteral("　☆ ");
}

QString ClockCaptions::uptimeCaption(qint64 milliseconds)
{
    const qint64 s = qMax<qint64>(milliseconds, 0) / 1000;
    return QStringLiteral(" ☆   %1時間%2分%3秒  ").arg(s / 3600).arg(s / 60 % 60).arg(s % 60);
}

ClockCaptions ClockCaptions::from(const pel::Clock& clock)
{
    const QDateTime now = clock.now();
    return {dateCaption(now.date()), timeCaption(now.time()), uptimeCaption(clock.uptimeMilliseconds())};
}

ClockPanel::ClockPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ClockPanel"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // The panels sit in a row of their natural size that this widget clips,
    // so they never squeeze over each other.
    row_ = new QWidget(this);
    auto* layout = new QHBoxLayout(row_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Panel2 = makePanel(row_, QStringLiteral("Panel2"));
    ibiDate = makeLabel(Panel2, QStringLiteral("ibiDate"), QStringLiteral("Date"),
                        QStringLiteral("日付|今日の年月日です"), 13);
    Panel4 = makePanel(row_, QStringLiteral("Panel4"));
    ibiTime = makeLabel(Panel4, QStringLiteral("ibiTime"), QStringLiteral("Time"),
                        QStringLiteral("時刻|現在の時刻です"), 13);
    Panel3 = makePanel(row_, QStringLiteral("Panel3"));
    WindowsLabel = makeLabel(Panel3, QStringLiteral("WindowsLabel"), QStringLiteral("Windows"),
                             QStringLiteral("ﾊﾟｿｺﾝ起動経過時間|クリックするとパソコン起動後の経過時間を転記します｡"), 13);
    Panel1 = makePanel(row_, QStringLiteral("Panel1"));
    PelmoraLabel = makeLabel(Panel1, QStringLiteral("PelmoraLabel"), QStringLiteral("☆  Pelmora　☆"),
                             QStringLiteral("バージョン情報|バージョン情報を表示します｡"), 12);
    PelmoraLabel->setFixedWidth(140);
    PelmoraLabel->setAlignment(Qt::AlignCenter);
    PelmoraLabel->setAutoFillBackground(true);  // the only label with a background of its own
    QPalette palette = PelmoraLabel->palette();
    palette.setColor(QPalette::Window, kAqua);
    PelmoraLabel->setPalette(palette);

    for (QFrame* panel : {Panel2, Panel4, Panel3, Panel1})
        layout->addWidget(panel);
    for (QLabel* label : {ibiDate, ibiTime, WindowsLabel, PelmoraLabel})
        label->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &ClockPanel::Timer1Timer);
    Timer1->start();
}

QSize ClockPanel::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

QSize ClockPanel::sizeHint() const
{
    return row_->sizeHint();
}

void ClockPanel::Timer1Timer()
{
    const ClockCaptions captions = ClockCaptions::from(pel::clock());
    ibiTime->setText(captions.time);
    ibiDate->setText(captions.date);
    WindowsLabel->setText(captions.uptime);
    updateGeometry();
}

bool ClockPanel::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a left-button release over the label that was pressed.
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            labelClicked(label);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ClockPanel::labelClicked(QLabel* label)
{
    // The captions as displayed: nothing is read from the clock again.
    if (label == ibiDate || label == ibiTime)
        Q_EMIT insertText(label->text());
    else if (label == WindowsLabel)
        Q_EMIT insertText(QStringLiteral("パソコン 起動経過時間は、") + WindowsLabel->text() + QStringLiteral("です｡"));
    else if (label == PelmoraLabel)
        Q_EMIT aboutRequested();
}

void TForm1::setupClockPanel()
{
    auto* panel = new ClockPanel(ControlBar2);
    ControlBar2->addWidget(panel);
    connect(panel, &ClockPanel::insertText, this, [this](const QString& text) { editorPort_->ReplaceEditorSelection(text); });
    connect(panel, &ClockPanel::aboutRequested, action(QStringLiteral("AboutAction")), &QAction::trigger);
}
