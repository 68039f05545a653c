#include "platform/LocaleInfo.h"
#include "support/TestServices.h"
#include "tools/ClickableControls.h"
#include "tools/DatePicker.h"
#include "tools/Pelnew.h"
#include "tools/ToolTestSupport.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QTest>
#include <memory>

class TestCalendar : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<pel::test::TestEnvironment> env;
    pel::test::FakeEditorPort editor;
    std::unique_ptr<TForm2> form;

    QCalendarWidget* calendar() const { return form->findChild<QCalendarWidget*>(u"MonthCalendar1"_qs); }
    DatePicker* picker() const { return form->findChild<DatePicker*>(u"DateTimePicker1"_qs); }
    ClickLabel* label() const { return form->findChild<ClickLabel*>(u"Label1"_qs); }

    // Clicks the cell of `day` in the shown month the way a user does.
    static void clickDay(QCalendarWidget* calendar, int day)
    {
        auto* view = calendar->findChild<QTableView*>(u"qt_calendar_calendarview"_qs);
        QVERIFY(view);
        QAbstractItemModel* model = view->model();
        // Days 13 to 21 appear once in a month grid, so the first match is the shown month.
        QVERIFY(day >= 13 && day <= 21);
        for (int row = 1; row < model->rowCount(); ++row)
            for (int column = 1; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                if (index.data().toString() == QString::number(day)) {
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
                    return;
                }
            }
        QFAIL("day not in the grid");
    }

private Q_SLOTS:
    void init()
    {
        pel::LocaleInfo::setLocaleName(u"ja_JP"_qs);
        env = std::make_unique<pel::test::TestEnvironment>();
        env->clock->current = QDateTime(QDate(2026, 12, 7), QTime(23, 59, 0));
        editor.inserted.clear();
        form = std::make_unique<TForm2>(editor);
    }
    void cleanup()
    {
        form.reset();
        env.reset();
        pel::LocaleInfo::setLocaleName(u"ja_JP"_qs);
    }

    void window()
    {
        QCOMPARE(form->windowTitle(), u"Calendar"_qs);
        QCOMPARE(form->size(), QSize(442, 298));
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(form->windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(calendar()->size(), QSize(401, 193));
        QCOMPARE(calendar()->firstDayOfWeek(), Qt::Sunday);
        QCOMPARE(calendar()->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
        QCOMPARE(calendar()->toolTip(), u"複数日表示"_qs);
        QCOMPARE(label()->toolTip(), u"ダブルクリックで転記"_qs);
        QCOMPARE(picker()->toolTip(), u"１日のみ表示"_qs);
        QCOMPARE(label()->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QVERIFY(label()->font().bold());
        // Neighbouring months' days in red, weekends like every other day.
        QCOMPARE(calendar()->palette().color(QPalette::Disabled, QPalette::Text), QColor(Qt::red));
        QCOMPARE(calendar()->palette().color(QPalette::Base), QColor(0xE8, 0xFF, 0xFF));
        QCOMPARE(calendar()->weekdayTextFormat(Qt::Sunday).foreground().color(), QColor(0, 0, 0x80));
    }

    void bothControlsStartOnToday()
    {
        QCOMPARE(calendar()->selectedDate(), QDate(2026, 12, 7));
        QCOMPARE(picker()->date(), QDate(2026, 12, 7));
        QCOMPARE(picker()->field()->text(), u"2026年12月7日"_qs);
        // Past midnight the controls still hold the day the window was made.
        env->clock->current = QDateTime(QDate(2026, 12, 8), QTime(0, 1, 0));
        form->show();
        QCOMPARE(calendar()->selectedDate(), QDate(2026, 12, 7));
        QCOMPARE(picker()->date(), QDate(2026, 12, 7));
    }

    void doubleClickBeforeAnyDate()
    {
        form->show();
        QCOMPARE(label()->text(), u"日付表示場所"_qs);
        pel::test::doubleClick(label());
        QCOMPARE(editor.inserted, QStringList{u"日付表示場所"_qs});
    }

    void calendarClickWritesTheLabel()
    {
        form->show();
        clickDay(calendar(), 15);
        QCOMPARE(calendar()->selectedDate(), QDate(2026, 12, 15));
        const QString expected = u"\n☆  Date 2026/12/15 ☆"_qs;
        QCOMPARE(label()->text(), expected);
        QVERIFY(editor.inserted.isEmpty());
        pel::test::doubleClick(label());
        QCOMPARE(editor.inserted, QStringList{expected});
        QCOMPARE(editor.inserted.first().at(0), QChar(u'\n'));
        QVERIFY(!editor.inserted.first().contains(u'\r'));
    }

    void pickerClickWritesTheLabel()
    {
        form->show();
        picker()->setDate(QDate(2005, 3, 1));
        QCOMPARE(label()->text(), u"日付表示場所"_qs);  // changing the date alone writes nothing
        QTest::mouseClick(picker()->field(), Qt::LeftButton);
        QCOMPARE(label()->text(), u"\n☆  Date 2005/03/01 ☆"_qs);
    }

    void dateChosenFromTheDropDown()
    {
        form->show();
        QTest::mouseClick(picker()->dropButton(), Qt::LeftButton);
        QCalendarWidget* dropDown = picker()->popupCalendar();
        QVERIFY(dropDown->isVisible());
        // Year first, as in the month calendar above it.
        auto* year = dropDown->findChild<QToolButton*>(u"qt_calendar_yearbutton"_qs);
        auto* month = dropDown->findChild<QToolButton*>(u"qt_calendar_monthbutton"_qs);
        QCOMPARE(year->text(), u"2026年"_qs);
        QVERIFY(year->x() < month->x());
        clickDay(dropDown, 20);
        QVERIFY(!dropDown->isVisible());
        QCOMPARE(picker()->date(), QDate(2026, 12, 20));
        QCOMPARE(picker()->field()->text(), u"2026年12月20日"_qs);
        QCOMPARE(label()->text(), u"\n☆  Date 2026/12/20 ☆"_qs);
    }

    // Wherever the window stands, the drop-down calendar opens inside the
    // screen, above the field when there is no room below it.
    void dropDownStaysOnScreen_data()
    {
        QTest::addColumn<QPoint>("fromBottomRight");  // the window's distance from the screen's corner
        QTest::newRow("bottom edge") << QPoint(300, 0);
        QTest::newRow("right edge") << QPoint(0, 250);
        QTest::newRow("corner") << QPoint(0, 0);
    }
    void dropDownStaysOnScreen()
    {
        QFETCH(QPoint, fromBottomRight);
        form->show();
        const QRect area = form->screen()->availableGeometry();
        // The field at the right edge or the window at the bottom edge.
        const int left = fromBottomRight.x() == 0 ? area.right() + 1 - picker()->width() - picker()->x()
                                                  : area.left() + fromBottomRight.x();
        form->move(left, area.bottom() + 1 - form->height() - fromBottomRight.y());
        QTest::mouseClick(picker()->dropButton(), Qt::LeftButton);
        QWidget* dropDown = picker()->popupCalendar()->window();
        QVERIFY(dropDown->isVisible());
        QVERIFY2(area.contains(dropDown->geometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(dropDown->x()).arg(dropDown->y())
                                .arg(dropDown->width()).arg(dropDown->height())));
        const QRect field(picker()->mapToGlobal(QPoint(0, 0)), picker()->size());
        QVERIFY(!dropDown->geometry().intersects(field));
        clickDay(picker()->popupCalendar(), 20);
        QCOMPARE(picker()->date(), QDate(2026, 12, 20));
    }

    // A year typed into the title, as a user does: click the year, type,
    // Enter or Tab. Digits past the last year are refused as typed.
    void typedYearIsTaken_data()
    {
        QTest::addColumn<bool>("dropDown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("year");
        QTest::newRow("month calendar, Enter") << false << "2020" << int(Qt::Key_Return) << 2020;
        QTest::newRow("month calendar, Tab") << false << "1999" << int(Qt::Key_Tab) << 1999;
        QTest::newRow("same year") << false << "2026" << int(Qt::Key_Return) << 2026;
        QTest::newRow("too many digits") << false << "12345" << int(Qt::Key_Return) << 1234;
        QTest::newRow("drop-down, Enter") << true << "2031" << int(Qt::Key_Return) << 2031;
    }
    void typedYearIsTaken()
    {
        QFETCH(bool, dropDown);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, year);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCalendarWidget* shown = calendar();
        if (dropDown) {
            QTest::mouseClick(picker()->dropButton(), Qt::LeftButton);
            shown = picker()->popupCalendar();
        }
        auto* button = shown->findChild<QToolButton*>(u"qt_calendar_yearbutton"_qs);
        auto* edit = shown->findChild<QSpinBox*>(u"qt_calendar_yearedit"_qs);
        QVERIFY(button && edit);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(edit->isVisible());
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key(key));
        QCOMPARE(shown->yearShown(), year);
        QCOMPARE(shown->monthShown(), 12);
        QTRY_VERIFY(button->isVisible());
        QCOMPARE(button->text(), QString::number(year) + u"年"_qs);
    }

    void shortDateFollowsTheLocale()
    {
        pel::LocaleInfo::setLocaleName(u"en_US"_qs);
        form->show();
        clickDay(calendar(), 15);
        QCOMPARE(label()->text(), u"\n☆  Date 12/15/2026 ☆"_qs);
    }

    void closeAndEscapeHide()
    {
        form->show();
        QTest::mouseClick(form->findChild<QPushButton*>(u"Button1"_qs), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        form->show();
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(editor.inserted.isEmpty());
    }
};

QTEST_MAIN(TestCalendar)
#include "tst_calendar.moc"
