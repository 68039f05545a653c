// What the user sees: every picture of the bars exists at the bars' size,
// the buttons of every icon bar are shown whole, and the calendar's title
// reads as a Japanese one.
#include "app/Application.h"
#include "main/MainImages.h"
#include "main/MainFixture.h"
#include "tools/Pelnew.h"

#include <QCalendarWidget>

#include <QTest>
#include <QToolBar>
#include <QToolButton>

class TestLook : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { PelmoraApp::configureApplication(); }
    void everyPictureIsDrawn();
    void iconBarButtonsAreNotClipped_data();
    void iconBarButtonsAreNotClipped();
    void calendarTitleIsYearThenMonth();
};

void TestLook::everyPictureIsDrawn()
{
    for (int i = 0; i < MainImages::Count; ++i) {
        const QPixmap pixmap = MainImages::icon(i).pixmap(16, 16);
        QVERIFY2(!pixmap.isNull() && pixmap.width() <= 16 && pixmap.height() <= 16, qPrintable(QString::number(i)));
    }
    // The window icon is the program's own picture, 32 pixels included.
    QVERIFY(MainImages::programIcon().availableSizes().contains(QSize(32, 32)));
}

void TestLook::iconBarButtonsAreNotClipped_data()
{
    QTest::addColumn<QString>("bar");
    QTest::newRow("HTML icon bar") << "ToolBar4";
    QTest::newRow("standard icon bar") << "ToolBar5";
}

void TestLook::iconBarButtonsAreNotClipped()
{
    QFETCH(QString, bar);
    MainFixture f;
    f.start();
    f.main().resize(650, 490);
    f.main().show();
    f.run("HtmLIconBar1");
    QVERIFY(QTest::qWaitForWindowExposed(&f.main()));
    auto* toolBar = f.main().findChild<QToolBar*>(bar);
    QVERIFY(toolBar && toolBar->isVisible());
    int checked = 0;
    for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
        if (!button->isVisible() || button->objectName() == QLatin1String("qt_toolbar_ext_button"))
            continue;
        // Walk up to the main window: every ancestor must show the button's
        // full height.
        for (QWidget* w = button; w && w != &f.main(); w = w->parentWidget()) {
            const QRect inParent = QRect(w->mapTo(w->parentWidget(), QPoint(0, 0)), w->size());
            const QRect parentRect = w->parentWidget()->rect();
            QVERIFY2(inParent.top() >= parentRect.top() && inParent.bottom() <= parentRect.bottom(),
                     qPrintable(QStringLiteral("%1 cut by %2").arg(button->objectName(), w->parentWidget()->objectName())));
        }
        // And the icon fits inside its button.
        QVERIFY(button->iconSize().height() <= button->height() - 4);
        ++checked;
    }
    QVERIFY(checked > 10);
}

void TestLook::calendarTitleIsYearThenMonth()
{
    MainFixture f;
    f.start();
    QCalendarWidget* calendar = Form2->MonthCalendar1;
    Form2->show();
    auto* year = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    QVERIFY(year && month);
    calendar->setCurrentPage(2026, 12);
    QCOMPARE(year->text() + month->text(), QStringLiteral("2026年12月"));
    QVERIFY(year->geometry().right() < month->geometry().left());
    // Turning the page keeps the form.
    calendar->showNextMonth();
    QCOMPARE(year->text() + month->text(), QStringLiteral("2027年1月"));
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
