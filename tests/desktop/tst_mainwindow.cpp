// The main window on a real desktop: input to the focused control, what is
// visible at the window's size.
#include "support/EditorDriver.h"
#include "DesktopTest.h"
#include "app/Application.h"
#include "main/About.h"
#include "main/FindReplaceDialogs.h"
#include "main/Pelmain.h"
#include "phrases/PhraseList.h"
#include "platform/Fonts.h"
#include "platform/RegistryKey.h"
#include "support/TestServices.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QToolBar>
#include <memory>

using namespace pel::desktop;

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<pel::test::TestEnvironment> env;

    void start()
    {
        PelmoraApp::createWindows({});
        QVERIFY(showAndActivate(Form1));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(onX(), "run under run-under-x.sh");
        pel::installFontSubstitutions();
    }
    void init() { env = std::make_unique<pel::test::TestEnvironment>(); }
    void cleanup()
    {
        if (Form1)
            PelmoraApp::destroyWindows();
        env.reset();
    }

    // Every menu button opens its menu with Alt and its letter, also when the
    // window is too narrow to show them all.
    void menuButtonsReachable_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("menu");
        for (int width : {650, 500, 360}) {
            QTest::addRow("%d alt+f", width) << width << "alt+f" << "FileMenu";
            QTest::addRow("%d alt+h", width) << width << "alt+h" << "HelpMenu";
        }
    }
    void menuButtonsReachable()
    {
        QFETCH(int, width);
        QFETCH(QString, keys);
        QFETCH(QString, menu);
        start();
        Form1->resize(width, Form1->height());
        QTRY_VERIFY_WITH_TIMEOUT(Form1->width() <= qMax(width, Form1->minimumSizeHint().width()), kWait);
        pel::test::mainEditor().view().setFocus();
        auto* shown = Form1->findChild<QMenu*>(menu);
        QVERIFY(shown);
        const MenuWatch watch(shown);
        xKey(keys);
        QTRY_VERIFY_WITH_TIMEOUT(watch.popped, kWait);
        QVERIFY(pel::test::mainEditor().text().isEmpty());
    }

    // The home-page bar's Alt letters open its menus from the editor, also
    // when the bar was dragged off the window; no letter is typed.
    void homePageBarLetters_data()
    {
        QTest::addColumn<bool>("floating");
        QTest::newRow("docked") << false;
        QTest::newRow("floating") << true;
    }
    void homePageBarLetters()
    {
        QFETCH(bool, floating);
        start();
        Form1->action(QStringLiteral("WebPageBar1"))->trigger();
        QToolBar* bar = pel::test::mainChild<QToolBar>("ToolBar2");
        QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible(), kWait);
        if (floating) {
            // Step by step, each step handled before the next, as a hand drags.
            // In the window's own coordinates, wherever the window manager put it.
            const QPoint handle = bar->mapTo(Form1, QPoint(6, bar->height() / 2));
            const auto to = [](QPoint at) {
                return QStringList{QStringLiteral("mousemove"), QStringLiteral("--window"), windowId(Form1),
                                   QString::number(at.x()), QString::number(at.y())};
            };
            xdotool(to(handle) << QStringLiteral("mousedown") << QStringLiteral("1"));
            for (int step = 1; step <= 6; ++step) {
                QTest::qWait(200);
                xdotool(to(handle + QPoint(10 * step, 50 * step)));
            }
            QTest::qWait(200);
            xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
            QTRY_VERIFY_WITH_TIMEOUT(bar->isFloating(), kWait);
            QVERIFY(showAndActivate(Form1));
        }
        pel::test::mainEditor().view().setFocus();
        const MenuWatch watch(pel::test::mainChild<QMenu>("HtmlMenu"));
        xKey(QStringLiteral("alt+w"));
        QTRY_VERIFY_WITH_TIMEOUT(watch.popped, kWait);
        QVERIFY(pel::test::mainEditor().text().isEmpty());
    }

    // With every band of the top bar shown, each button is visible at the
    // default size and the window keeps its width.
    void barsFitAtDefaultSize_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::newRow("phrase and home-page bars") << QStringList{"NewTextBox1", "WebPageBar1"};
        QTest::newRow("time bar") << QStringList{"TimeBar1"};
        QTest::newRow("all") << QStringList{"NewTextBox1", "WebPageBar1", "TimeBar1", "HtmLIconBar1"};
    }
    void barsFitAtDefaultSize()
    {
        QFETCH(QStringList, switches);
        env->clock->uptime = qint64(99) * 3600000 + 3599000;  // 99:59:59 up
        start();
        const QSize size = Form1->size();
        QCOMPARE(size, QSize(650, 490));
        for (const QString& name : switches)
            Form1->action(name)->trigger();
        // The clock's captions widen at its first tick.
        auto* time = Form1->findChild<QLabel*>(QStringLiteral("ibiTime"));
        QTRY_VERIFY_WITH_TIMEOUT(time->text() != QLatin1String("Time"), kWait);
        QTRY_VERIFY2_WITH_TIMEOUT(controlsOutside(Form1).isEmpty(), qPrintable(controlsOutside(Form1).join(u'\n')), kWait);
        QCOMPARE(Form1->size(), size);
        for (QToolBar* bar : Form1->findChildren<QToolBar*>()) {
            if (!bar->isVisible() || isScrolled(bar))
                continue;
            for (QWidget* button : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
                if (button->objectName() != QLatin1String("qt_toolbar_ext_button"))
                    QVERIFY2(isClickable(button), qPrintable(nameOf(button)));
        }
    }

    // The clock's panels as drawn: aqua, with blue bold captions.
    void clockColours()
    {
        start();
        Form1->action(QStringLiteral("TimeBar1"))->trigger();
        for (const char* name : {"Panel2", "Panel4", "Panel3", "Panel1"}) {
            auto* panel = Form1->findChild<QFrame*>(QString::fromLatin1(name));
            QVERIFY(QTest::qWaitForWindowExposed(Form1));
            QTRY_VERIFY_WITH_TIMEOUT(panel->isVisible(), kWait);
            const QImage image = panel->grab().toImage();
            QCOMPARE(QColor(image.pixel(4, image.height() / 2)), QColor(Qt::cyan));
            auto* label = panel->findChild<QLabel*>();
            QVERIFY(label->font().bold());
            const QImage text = label->grab().toImage();
            int blue = 0;
            for (int y = 0; y < text.height(); ++y)
                for (int x = 0; x < text.width(); ++x)
                    blue += QColor(text.pixel(x, y)) == QColor(Qt::blue);
            QVERIFY2(blue > 10, name);
        }
    }

    void storedStateApplies_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("expected");
        QTest::newRow("normal") << 0 << int(Qt::WindowNoState);
        QTest::newRow("minimised") << 1 << int(Qt::WindowMinimized);
        QTest::newRow("maximised") << 2 << int(Qt::WindowMaximized);
    }
    void storedStateApplies()
    {
        QFETCH(int, state);
        QFETCH(int, expected);
        {
            pel::RegistryKey key(QStringLiteral("Pelmora"));
            key.writeInteger(QStringLiteral("Locate"), QStringLiteral("State"), state);
        }
        PelmoraApp::createWindows({});
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1) || expected == Qt::WindowMinimized);
        QTRY_COMPARE_WITH_TIMEOUT(int(Form1->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)),
                                  expected, kWait);
        // What the window manager was told.
        const QString wmState = x11(QStringLiteral("xprop"), {QStringLiteral("-id"), windowId(Form1),
                                                              QStringLiteral("_NET_WM_STATE")});
        QCOMPARE(wmState.contains(QLatin1String("_NET_WM_STATE_HIDDEN")), expected == Qt::WindowMinimized);
    }

    void aboutBoxTextsFit()
    {
        start();
        Form1->action(QStringLiteral("AboutAction"))->trigger();
        QVERIFY(QTest::qWaitForWindowActive(AboutBox, kWait));
        PEL_VERIFY_NONE(clippedTexts(AboutBox));
        PEL_VERIFY_NONE(controlsOutside(AboutBox));
        closeThroughWindowManager(AboutBox);
        QTRY_VERIFY_WITH_TIMEOUT(!AboutBox->isVisible(), kWait);
    }

    // The find dialog lies on the screen, caption included, and can be
    // closed from it.
    void findDialogOnScreen()
    {
        start();
        Form1->action(QStringLiteral("FindAction"))->trigger();
        QWidget* dialog = pel::test::mainChild<FindDialog>("FindDialog1");
        QVERIFY(QTest::qWaitForWindowActive(dialog, kWait));
        const QRect screen = dialog->screen()->availableGeometry();
        QTRY_VERIFY_WITH_TIMEOUT(dialog->frameGeometry().top() < dialog->geometry().top(), kWait);
        QTRY_VERIFY2_WITH_TIMEOUT(screen.contains(dialog->frameGeometry()),
                 qPrintable(QStringLiteral("frame at %1,%2").arg(dialog->frameGeometry().x()).arg(dialog->frameGeometry().y())), kWait);
        QVERIFY(isUncovered(dialog));
        closeThroughWindowManager(dialog);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kWait);
    }

    // Entries as the menus draw them.
    void menuEntries()
    {
        start();
        for (const char* name : {"AllSelction1", "NoSelection1"}) {
            auto* entry = pel::test::mainChild<QMenu>("EditMenu")->findChild<QAction*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
            if (!entry)
                for (QAction* a : pel::test::mainChild<QMenu>("EditMenu")->actions())
                    if (a->objectName() == QLatin1String(name))
                        entry = a;
            QVERIFY(entry);
            QVERIFY2(entry->icon().isNull(), name);
        }
        QMenu* tools = pel::test::mainChild<QMenu>("ToolMenu");
        tools->popup(Form1->mapToGlobal(QPoint(20, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(tools));
        QAction* last = tools->actions().constLast();
        QVERIFY(last->isSeparator());
        QVERIFY(!tools->actionGeometry(last).isEmpty());
        tools->hide();
    }

    void comboEnterReplacesDocument()
    {
        start();
        Form1->action(QStringLiteral("NewTextBox1"))->trigger();
        auto* combo = pel::test::mainChild<QToolBar>("ToolBar3")->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        QVERIFY(combo);
        pel::test::mainEditor().setText(QStringLiteral("old text"));
        const int entries = Form1->phraseBarList().texts().size();

        click(combo->lineEdit());
        QTRY_VERIFY_WITH_TIMEOUT(combo->hasFocus(), kWait);
        combo->lineEdit()->selectAll();
        typeToFocus(QStringLiteral("T"));
        keyToFocus(Qt::Key_Return);
        QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("T"));
        QCOMPARE(Form1->phraseBarList().texts().size(), entries + 1);
        QCOMPARE(Form1->phraseBarList().texts().last(), QStringLiteral("T"));
    }

    // A UTF-8 file named on the command line, typed into and saved: it
    // stays UTF-8 with its own line breaks.
    void typedAndSavedAsUtf8_data()
    {
        QTest::addColumn<QByteArray>("lineBreak");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF") << QByteArray("\r\n") << QStringLiteral("UTF-8  CR+LF");
        QTest::newRow("LF") << QByteArray("\n") << QStringLiteral("UTF-8  LF");
    }
    void typedAndSavedAsUtf8()
    {
        QFETCH(QByteArray, lineBreak);
        QFETCH(QString, shown);
        const QByteArray lines = QStringLiteral("日本語の文書%1二行目%1").arg(QString::fromLatin1(lineBreak)).toUtf8();
        const QString path = env->path(QStringLiteral("utf8.txt"));
        pel::test::writeFile(path, lines);
        PelmoraApp::createWindows({path});
        QVERIFY(showAndActivate(Form1));
        const pel::test::EditorDriver editor = pel::test::mainEditor();
        QCOMPARE(editor.text(), QStringLiteral("日本語の文書\n二行目\n"));
        QTRY_VERIFY_WITH_TIMEOUT(editor.view().hasFocus(), kWait);

        // The caret to the end through the X server, then the character to
        // the focused control as a key with its text. (xdotool's typing of a
        // character the keyboard lacks lends a key only for the moment of the
        // press; a test window busy then reads no character.)
        xKey(QStringLiteral("ctrl+End"));
        QTRY_COMPARE_WITH_TIMEOUT(editor.caret(), editor.text().size(), kWait);
        QCOMPARE(QApplication::focusWidget(), &editor.view());
        typeToFocus(QStringLiteral("あ"));
        QCOMPARE(editor.text(), QStringLiteral("日本語の文書\n二行目\nあ"));

        // 上書き保存 from the file menu: a file named on the command line
        // is saved through the save dialog, onto itself.
        env->dialogs->saveAnswers.enqueue(path);
        env->prompts->answers.enqueue(pel::Prompts::Answer::Yes);
        QMenu* fileMenu = Form1->findChild<QMenu*>(QStringLiteral("FileMenu"));
        const MenuWatch watch(fileMenu, QStringLiteral("s"));
        xKey(QStringLiteral("alt+f"));
        // UTF-8, its line breaks as they were, あ where it was typed.
        QTRY_COMPARE_WITH_TIMEOUT(pel::test::readFile(path), lines + "\xe3\x81\x82", kWait);
        QCOMPARE(Form1->findChild<QLabel*>(QStringLiteral("EncodingLabel"))->text(), shown);
        // For a look by hand.
        QTRY_VERIFY_WITH_TIMEOUT(!fileMenu->isVisible(), kWait);
        if (const QString shots = qEnvironmentVariable("PELMORA_SCREENSHOTS"); !shots.isEmpty())
            x11(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                           QDir(shots).filePath(QStringLiteral("typed-utf8-%1.png").arg(QTest::currentDataTag()))});
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
