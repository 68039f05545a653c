#pragma once
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace pel { class Clock; }

// The three clock captions, exactly as the clock bar shows them.
struct ClockCaptions {
    QString date;    // " ☆　Date　2024/05/06　= "
    QString time;    // "　Time　13:04:05　☆ "
    QString uptime;  // " ☆   25時間0分0秒  "

    static QString dateCaption(const QDate& date);
    static QString timeCaption(const QTime& time);
    // From the 64-bit count of milliseconds since start-up: no wrap after
    // 49.7 days, and hours are not folded into days.
    static QString uptimeCaption(qint64 milliseconds);
    static ClockCaptions from(const pel::Clock& clock);
};

// The clock bar's contents: date, time, time since the machine started and
// the product label, each on its own aqua panel. The timer runs from
// creation to the end, whether the bar is shown or not.
class ClockPanel : public QWidget {
    Q_OBJECT
public:
    explicit ClockPanel(QWidget* parent = nullptr);

    // One tick: refreshes the three captions from pel::clock().
    void Timer1Timer();

    QFrame* Panel2 = nullptr;
    QLabel* ibiDate = nullptr;
    QFrame* Panel4 = nullptr;
    QLabel* ibiTime = nullptr;
    QFrame* Panel3 = nullptr;
    QLabel* WindowsLabel = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* PelmoraLabel = nullptr;
    QTimer* Timer1 = nullptr;

private:
    QWidget* row_ = nullptr;  // the four panels at their own sizes

Q_SIGNALS:
    // A caption to put into the document.
    void insertText(const QString& text);
    void aboutRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Nothing of the clock may widen the window: a narrow window cuts the
    // bar off at its right edge instead.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

private:
    void labelClicked(QLabel* label);
};
