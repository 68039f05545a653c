// The small tool windows on a real desktop.
#include "DesktopTest.h"
#include "app/Application.h"
#include "main/About.h"
#include "support/EditorDriver.h"
#include "main/Pelmain.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "platform/Fonts.h"
#include "support/TestServices.h"
#include "tools/PelPlayer.h"
#include "tools/PelTime.h"
#include "tools/PelTool.h"
#include "tools/ClickableControls.h"
#include "tools/Pelnew.h"

#include <QCalendarWidget>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTableView>
#include <QToolBar>
#include <memory>

using namespace pel::desktop;

class ToolWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(onX(), "run under run-under-x.sh");
        pel::installFontSubstitutions();
    }
    void init()
    {
        env = std::make_unique<pel::test::TestEnvironment>();
        PelmoraApp::createWindows({});
        QVERIFY(showAndActivate(Form1));
    }
    void cleanup()
    {
        PelmoraApp::destroyWindows();
        env.reset();
    }

    // Windows without a system menu or close box ask the window manager for
    // neither closing nor minimising nor maximising.
    void noCloseBox_data()
    {
        QTest::addColumn<QString>("form");
        for (const char* form : {"TForm11", "TForm2", "TForm4", "TForm3", "TForm5"})
            QTest::newRow(form) << QString::fromLatin1(form);
    }
    void noCloseBox()
    {
        QFETCH(QString, form);
        QWidget* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (QLatin1String(top->metaObject()->className()) == form)
                window = top;
        QVERIFY(window);
        QVERIFY(showAndActivate(window));
        QString actions;
        QTRY_VERIFY_WITH_TIMEOUT(
            (actions = x11(QStringLiteral("xprop"), {QStringLiteral("-id"), windowId(window),
                                                     QStringLiteral("_NET_WM_ALLOWED_ACTIONS")}))
                .contains(QLatin1String("_NET_WM_ACTION_MOVE")),
            kWait);
        // What the window asks for is in its Motif hints (flags, functions,
        // ...); openbox keeps its own close and minimise actions whatever a
        // window asks.
        const QStringList hints = x11(QStringLiteral("xprop"), {QStringLiteral("-id"), windowId(window),
                                                               QStringLiteral("_MOTIF_WM_HINTS")})
                                      .section(u'=', 1).split(u',');
        QVERIFY2(hints.size() >= 2, qPrintable(hints.join(u',')));
        enum { Functions = 1, All = 1, Minimise = 8, Maximise = 16, Close = 32 };
        QVERIFY2(hints.at(0).trimmed().toUInt(nullptr, 0) & Functions, qPrintable(hints.join(u',')));
        QCOMPARE(hints.at(1).trimmed().toUInt(nullptr, 0) & (All | Minimise | Maximise | Close), 0u);
        PEL_VERIFY_NONE(clippedTexts(window));
        PEL_VERIFY_NONE(controlsOutside(window));
    }

    // Every day of the month can be seen and clicked, and the label takes
    // the date in the Japanese short format.
    void calendarShowsWholeMonth_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("shown");
        QTest::newRow("2026-08-30") << QDate(2026, 8, 30) << "2026/08/30";
        QTest::newRow("2026-08-31") << QDate(2026, 8, 31) << "2026/08/31";
        QTest::newRow("2019-04-30") << QDate(2019, 4, 30) << "2019/04/30";
    }
    void calendarShowsWholeMonth()
    {
        QFETCH(QDate, date);
        QFETCH(QString, shown);
        Form2->MonthCalendar1->setSelectedDate(date.addDays(-date.day() + 1));
        QVERIFY(showAndActivate(Form2));
        auto* view = Form2->MonthCalendar1->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(view);
        const QRect area = view->viewport()->rect();
        QModelIndex target;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            for (int column = 0; column < view->model()->columnCount(); ++column) {
                const QModelIndex index = view->model()->index(row, column);
                QVERIFY2(area.contains(view->visualRect(index)),
                         qPrintable(QStringLiteral("cell %1,%2 cut off").arg(row).arg(column)));
                if (row > 0 && column > 0 && index.data().toInt() == date.day())
                    target = index;
            }
        QVERIFY(target.isValid());
        // A click on the cell itself: the window manager may still be
        // moving the window, so screen positions are not yet settled.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(target).center());
        QTRY_COMPARE_WITH_TIMEOUT(Form2->Label1->text(), QStringLiteral("\n☆  Date ") + shown + QStringLiteral(" ☆"),
                                  kWait);
        PEL_VERIFY_NONE(clippedTexts(Form2));
    }

    // "情報" of a list window, which stays on top, opens the modal about box
    // above it, not under it; afterwards the box is the main window's again.
    void aboutBoxAboveListWindow_data()
    {
        QTest::addColumn<QString>("form");
        QTest::newRow("TForm3") << QStringLiteral("TForm3");
        QTest::newRow("TForm5") << QStringLiteral("TForm5");
    }
    void aboutBoxAboveListWindow()
    {
        QFETCH(QString, form);
        QWidget* list = form == QLatin1String("TForm3") ? static_cast<QWidget*>(Form3) : Form5;
        // Over the middle of the screen, where the box opens.
        list->move(list->screen()->geometry().center() - QPoint(list->width() / 2, list->height() / 2));
        QVERIFY(showAndActivate(list));
        bool uncovered = false;
        int polls = 0;
        QTimer poll;
        poll.setInterval(100);
        connect(&poll, &QTimer::timeout, this, [&] {
            if (AboutBox->isVisible() && isUncovered(AboutBox))
                uncovered = true;
            if (uncovered || ++polls > kWait / 100) {
                poll.stop();
                AboutBox->reject();
            }
        });
        auto* about = list->findChild<QPushButton*>(QStringLiteral("About"));
        QTRY_VERIFY_WITH_TIMEOUT(isClickable(about), kWait);
        poll.start();
        click(about);
        QTRY_VERIFY_WITH_TIMEOUT(!poll.isActive(), kWait * 2);
        QVERIFY2(uncovered, "the about box opened under the list window");
        QTRY_VERIFY(!AboutBox->isVisible());
        QCOMPARE(AboutBox->parentWidget(), static_cast<QWidget*>(Form1));
        QVERIFY(!AboutBox->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        list->hide();
    }

    // A tool window that puts text into the document gives the keys back:
    // the main window comes forward and what is typed next goes on in the
    // document, not into the tool window.
    void insertingGivesTheKeysBack_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("control");
        QTest::newRow("ListBox 転記") << "TForm3" << "Button4";
        QTest::newRow("PelTime label") << "TForm11" << "Label6";
        QTest::newRow("ColorControl label") << "TForm4" << "Label1";
    }
    void insertingGivesTheKeysBack()
    {
        QFETCH(QString, form);
        QFETCH(QString, control);
        QWidget* tool = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (QLatin1String(top->metaObject()->className()) == form)
                tool = top;
        QVERIFY(tool);
        if (form == QLatin1String("TForm3")) {
            Form3->list().Append(QStringLiteral("定型文"));
            Form3->list().setCurrent(0);
        }
        const pel::test::EditorDriver editor = pel::test::mainEditor();
        QWidget* document = &editor.view();
        QVERIFY(showAndActivate(tool));
        if (form == QLatin1String("TForm3")) {
            auto* list = tool->findChild<QListView*>(QStringLiteral("ListBox1"));
            QVERIFY(list);
            list->setCurrentIndex(list->model()->index(0, 0));
        }
        auto* target = tool->findChild<QWidget*>(control);
        QVERIFY(target);
        QTRY_VERIFY_WITH_TIMEOUT(isClickable(target) && !target->property("text").toString().isEmpty(), kWait);
        const QString before = editor.text();
        click(target);
        QTRY_VERIFY_WITH_TIMEOUT(editor.text() != before, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(isActive(Form1), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), static_cast<QWidget*>(document), kWait);
        const QString inserted = editor.text();
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("zq")});
        QTRY_COMPARE_WITH_TIMEOUT(editor.text().size(), inserted.size() + 2, kWait);
        QVERIFY(editor.text().contains(QStringLiteral("zq")));
        tool->hide();
    }

    // The player: a black tool strip, and Escape leaves it open.
    void player()
    {
        QVERIFY(showAndActivate(Form7));
        auto* strip = Form7->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        QVERIFY(strip);
        const QImage image = strip->grab().toImage();
        QCOMPARE(QColor(image.pixel(image.width() - 3, image.height() / 2)), QColor(Qt::black));
        keyToFocus(Qt::Key_Escape);
        QVERIFY(Form7->isVisible());
        Form7->hide();
    }
};

QTEST_MAIN(ToolWindowsTest)
#include "tst_toolwindows.moc"
