// The clock bar: captions from an injected clock, clicks, and the timer.
#include "support/EditorDriver.h"
#include "app/Application.h"
#include "main/About.h"
#include "main/ClockPanel.h"
#include "main/Pelmain.h"
#include "platform/LocaleInfo.h"
#include "support/TestServices.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>

class ClockTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

    ClockPanel* panel() const { return pel::test::mainChild<QToolBar>("ControlBar2")->findChild<ClockPanel*>(); }
    QLabel* label(const QString& name) const { return pel::test::mainChild<QToolBar>("ControlBar2")->findChild<QLabel*>(name); }
    QString editorText() const { return pel::test::mainEditor().text(); }

private Q_SLOTS:
    void initTestCase() { pel::LocaleInfo::setLocaleName(QStringLiteral("ja_JP")); }
    void init()
    {
        env = std::make_unique<pel::test::TestEnvironment>();
        PelmoraApp::createWindows({});
    }
    void cleanup()
    {
        PelmoraApp::destroyWindows();
        env.reset();
    }

    void captions_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<qint64>("uptime");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("uptimeCaption");

        const QDateTime day(QDate(2024, 5, 6), QTime(13, 4, 5));
        QTest::newRow("afternoon") << day << qint64(0) << QStringLiteral(" ☆　Date　2024/05/06　= ")
                                   << QStringLiteral("　Time　13:04:05　☆ ") << QStringLiteral(" ☆   0時間0分0秒  ");
        QTest::newRow("midnight, 2005") << QDateTime(QDate(2005, 1, 2), QTime(0, 0, 0)) << qint64(999)
                                        << QStringLiteral(" ☆　Date　2005/01/02　= ")
                                        << QStringLiteral("　Time　0:00:00　☆ ") << QStringLiteral(" ☆   0時間0分0秒  ");
        QTest::newRow("last second of a day") << QDateTime(QDate(2005, 12, 31), QTime(23, 59, 59)) << qint64(3599999)
                                              << QStringLiteral(" ☆　Date　2005/12/31　= ")
                                              << QStringLiteral("　Time　23:59:59　☆ ")
                                              << QStringLiteral(" ☆   0時間59分59秒  ");
        QTest::newRow("25 hours, no day count") << day << qint64(25) * 3600 * 1000
                                                << QStringLiteral(" ☆　Date　2024/05/06　= ")
                                                << QStringLiteral("　Time　13:04:05　☆ ")
                                                << QStringLiteral(" ☆   25時間0分0秒  ");
        // A 32-bit count would have wrapped to 1時間2分3秒 here.
        QTest::newRow("beyond 49.7 days") << day << (qint64(1) << 32) + 3723000
                                          << QStringLiteral(" ☆　Date　2024/05/06　= ")
                                          << QStringLiteral("　Time　13:04:05　☆ ")
                                          << QStringLiteral(" ☆   1194時間4分50秒  ");
        QTest::newRow("100 days") << day << qint64(100) * 24 * 3600 * 1000
                                  << QStringLiteral(" ☆　Date　2024/05/06　= ")
                                  << QStringLiteral("　Time　13:04:05　☆ ") << QStringLiteral(" ☆   2400時間0分0秒  ");
    }

    // The plain computation, and the same values on the labels after a tick.
    void captions()
    {
        QFETCH(QDateTime, now);
        QFETCH(qint64, uptime);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, uptimeCaption);
        env->clock->current = now;
        env->clock->uptime = uptime;

        const ClockCaptions captions = ClockCaptions::from(*env->clock);
        QCOMPARE(captions.date, date);
        QCOMPARE(captions.time, time);
        QCOMPARE(captions.uptime, uptimeCaption);

        panel()->Timer1Timer();
        QCOMPARE(label("ibiDate")->text(), date);
        QCOMPARE(label("ibiTime")->text(), time);
        QCOMPARE(label("WindowsLabel")->text(), uptimeCaption);
    }

    void clicksInsertCaptions_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("inserted");
        QTest::newRow("date before the first tick") << false << "ibiDate" << QStringLiteral("Date");
        QTest::newRow("time before the first tick") << false << "ibiTime" << QStringLiteral("Time");
        QTest::newRow("uptime before the first tick")
            << false << "WindowsLabel" << QStringLiteral("パソコン 起動経過時間は、Windowsです｡");
        QTest::newRow("date") << true << "ibiDate" << QStringLiteral(" ☆　Date　2024/05/06　= ");
        QTest::newRow("time") << true << "ibiTime" << QStringLiteral("　Time　13:04:05　☆ ");
        QTest::newRow("uptime") << true << "WindowsLabel"
                                << QStringLiteral("パソコン 起動経過時間は、 ☆   25時間0分0秒  です｡");
    }

    void clicksInsertCaptions()
    {
        QFETCH(bool, ticked);
        QFETCH(QString, label);
        QFETCH(QString, inserted);
        env->clock->uptime = qint64(25) * 3600 * 1000;
        if (ticked)
            panel()->Timer1Timer();
        // The caption of the last tick goes in, not the clock's time now.
        env->clock->current = env->clock->current.addSecs(1);
        env->clock->uptime += 1000;

        Form1->show();
        Form1->action(QStringLiteral("TimeBar1"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        pel::test::mainEditor().setText(QStringLiteral("ab"));
        pel::test::mainEditor().placeCaret(1);

        QTest::mouseClick(this->label(label), Qt::LeftButton);
        QCOMPARE(editorText(), QStringLiteral("a") + inserted + QStringLiteral("b"));
        QCOMPARE(pel::test::mainEditor().caret(), 1 + inserted.size());
        QVERIFY(Form1->session().modifiedFlag());
    }

    void rightClickInsertsNothing()
    {
        Form1->show();
        Form1->action(QStringLiteral("TimeBar1"))->trigger();
        QTest::mouseClick(label("ibiDate"), Qt::RightButton);
        QVERIFY(editorText().isEmpty());
    }

    void productLabelOpensAboutBoxModeless()
    {
        Form1->show();
        Form1->action(QStringLiteral("TimeBar1"))->trigger();
        QTest::mouseClick(label("PelmoraLabel"), Qt::LeftButton);
        QVERIFY(AboutBox->isVisible());
        QVERIFY(!AboutBox->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(editorText().isEmpty());
    }

    void panelsInOrder()
    {
        Form1->show();
        Form1->action(QStringLiteral("TimeBar1"))->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        const QStringList order = {"Panel2", "Panel4", "Panel3", "Panel1"};
        int right = -1;
        for (const QString& name : order) {
            auto* panel = pel::test::mainChild<QToolBar>("ControlBar2")->findChild<QWidget*>(name);
            QVERIFY2(panel && panel->isVisible(), qPrintable(name));
            const QRect box(panel->mapTo(Form1, QPoint(0, 0)), panel->size());
            QVERIFY2(box.left() >= right, qPrintable(name));
            right = box.right();
        }
        // Each panel follows its label when the caption grows.
        auto* date = label("ibiDate");
        const int before = date->parentWidget()->width();
        panel()->Timer1Timer();
        QTRY_VERIFY(date->parentWidget()->width() > before);
        QVERIFY(date->parentWidget()->width() >= date->sizeHint().width());
    }

    // The bar starts hidden; its timer runs all the same.
    void hiddenBarStillTicks()
    {
        QVERIFY(pel::test::mainChild<QToolBar>("ControlBar2")->isHidden());
        auto* timer = pel::test::mainChild<QToolBar>("ControlBar2")->findChild<QTimer*>("Timer1");
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        env->clock->uptime = qint64(2) * 3600 * 1000 + 61000;
        QTRY_COMPARE_WITH_TIMEOUT(label("WindowsLabel")->text(), QStringLiteral(" ☆   2時間1分1秒  "), 3000);
        QVERIFY(pel::test::mainChild<QToolBar>("ControlBar2")->isHidden());
    }
};

QTEST_MAIN(ClockTest)
#include "tst_clock.moc"
