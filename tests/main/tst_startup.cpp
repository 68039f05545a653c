// Start-up: the windows, the main window's layout and commands, settings
// read at start-up, the command-line file and the view switches.
#include "MainFixture.h"

#include "main/About.h"
#include "paint/ImageSize.h"
#include "paint/PelFont.h"
#include "paint/PelPaint.h"
#include "paint/PelPreview.h"
#include "platform/UpDown.h"
#include "platform/Hints.h"
#include "platform/RegistryKey.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using pel::test::writeFile;

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { f.reset(); }

    void windowsAndCaptions();
    void firstRunDefaults();
    void storedSettingsApplied();
    void badSettings_data();
    void badSettings();
    void commandLineFile_data();
    void commandLineFile();
    void commandLineMissingFile();
    void commands_data();
    void commands();
    void iconBarOrder();
    void menuCaptions_data();
    void menuCaptions();
    void viewSwitches_data();
    void viewSwitches();
    void htmlIconBarSwitch();
    void toolWindowsShowAndHide();
    void paintFormFollowsItsDialogs();
    void settingsRoundTrip();

private:
    std::unique_ptr<MainFixture> f;
    void start(const QStringList& arguments = {})
    {
        if (!f)
            f = std::make_unique<MainFixture>();
        f->start(arguments);
    }
    void store(const char* section, const char* name, const QString& value)
    {
        if (!f)
            f = std::make_unique<MainFixture>();
        pel::RegistryKey key(QStringLiteral("Pelmora"));
        key.writeString(QString::fromLatin1(section), QString::fromLatin1(name), value);
        key.flush();
    }
};

void TestStartup::windowsAndCaptions()
{
    start();
    // No display name of its own (it then reads as the application name):
    // the toolkit would append one to every caption.
    QCOMPARE(QApplication::applicationDisplayName(), QApplication::applicationName());
    const QList<QPair<QWidget*, QString>> windows = {
        {Form1, QStringLiteral("Pelmora")},    {AboutBox, QStringLiteral("バージョン情報")},
    };
    for (const auto& [window, caption] : windows) {
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), caption);
    }
    const QStringList expected = {
        QStringLiteral("Calendar"), QStringLiteral("ListBox"), QStringLiteral("ColorControl"),
        QStringLiteral("JavaJava"), QStringLiteral("PelMediaPlayer"), QStringLiteral("PelPaint"),
        QStringLiteral("画像のサイズ"), QStringLiteral("Fontの位置"), QStringLiteral("画像の移動"),
        QStringLiteral("PelTime"), QStringLiteral("Preview")};
    const QStringList names = {
        QStringLiteral("TForm2"), QStringLiteral("TForm3"), QStringLiteral("TForm4"), QStringLiteral("TForm5"),
        QStringLiteral("TForm7"), QStringLiteral("TForm6"), QStringLiteral("TForm9"), QStringLiteral("TForm8"),
        QStringLiteral("TForm10"), QStringLiteral("TForm11"), QStringLiteral("TForm12")};
    for (int i = 0; i < names.size(); ++i) {
        auto* window = Form1->findChild<QWidget*>(names[i], Qt::FindDirectChildrenOnly);
        QVERIFY2(window, qPrintable(names[i]));
        QCOMPARE(window->windowTitle(), expected[i]);
        QVERIFY(!window->isVisible());
    }
}

void TestStartup::firstRunDefaults()
{
    start();
    QCOMPARE(f->main().size(), QSize(650, 490));
    QCOMPARE(f->main().windowState(), Qt::WindowNoState);
    QCOMPARE(f->editor().palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(f->editor().palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(f->editor().wraps());
    QVERIFY(f->main().action(QStringLiteral("WordWrapAction"))->isChecked());
    QVERIFY(!f->main().action(QStringLiteral("CutAction"))->isEnabled());
    QVERIFY(!f->main().action(QStringLiteral("CopyAction"))->isEnabled());
    QCOMPARE(f->main().ChangeIndicator(), QString());
    QVERIFY(!f->main().session().modifiedFlag());
    QVERIFY(f->editor().compositionColoured());
    QVERIFY(f->env->prompts->shown.isEmpty());
}

void TestStartup::storedSettingsApplied()
{
    store("Locate", "Height", QStringLiteral("300"));
    store("Locate", "Width", QStringLiteral("400"));
    store("Locate", "State", QStringLiteral("2"));
    store("Option", "Color", QStringLiteral("$00C0FFEE"));
    store("Option", "WordWarp", QStringLiteral("0"));
    store("Option", "FontSize", QStringLiteral("20"));
    store("File", "IniDir", QStringLiteral("/tmp/somewhere/"));
    start();
    QCOMPARE(f->main().size(), QSize(400, 300));
    QVERIFY(f->main().windowState() & Qt::WindowMaximized);
    QCOMPARE(f->editor().palette().color(QPalette::Base), QColor(0xEE, 0xFF, 0xC0));
    QVERIFY(!f->editor().wraps());
    QCOMPARE(f->editor().font().pointSize(), 20);
    QCOMPARE(f->main().openDialogInitialDir(), QStringLiteral("/tmp/somewhere/"));
}

void TestStartup::badSettings_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("colour garbage") << "Option" << "Color" << "grün" << "'grün' は整数ではありません";
    QTest::newRow("font colour garbage") << "Option" << "FontColor" << "xyz" << "'xyz' は整数ではありません";
    QTest::newRow("font style too large") << "Option" << "FontStyle" << "256" << "範囲チェックエラー";
    QTest::newRow("font style negative") << "Option" << "FontStyle" << "-1" << "範囲チェックエラー";
    QTest::newRow("top not a number") << "Locate" << "Top" << "abc" << "";
    QTest::newRow("width not a number") << "Locate" << "Width" << "wide" << "";
}

void TestStartup::badSettings()
{
    QFETCH(QString, section);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, message);
    store(section.toLatin1().constData(), name.toLatin1().constData(), value);
    store("Option", "WordWarp", QStringLiteral("0"));
    start();
    if (message.isEmpty()) {
        QVERIFY(f->env->prompts->shown.isEmpty());
        QCOMPARE(f->main().size(), QSize(650, 490));
        return;
    }
    QCOMPARE(f->env->prompts->texts(), QStringList{message});
    QCOMPARE(f->env->prompts->shown.first().caption, QStringLiteral("Pelmora"));
    // The bad value took its default and start-up went on: the stored word
    // wrap of a later step is applied.
    QVERIFY(!f->editor().wraps());
}

void TestStartup::commandLineFile_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("small: read before the window shows") << 1;
    QTest::newRow("large: read in the shown window, progress shown") << 400000;
}

void TestStartup::commandLineFile()
{
    QFETCH(int, lines);
    f = std::make_unique<MainFixture>();
    const QString path = f->env->path(QStringLiteral("arg.txt"));
    writeFile(path, QByteArray("\x93\xfa\x96\x7b\r\n").repeated(lines));  // 日本
    start({path});
    if (lines > 1) {
        QVERIFY(f->session().isEmpty());
        QStringList shown;
        connect(pel::test::mainChild<QStatusBar>("StatusBar1"), &QStatusBar::messageChanged, this, [&](const QString& text) { shown << text; });
        f->main().show();
        f->main().startWork();
        QCOMPARE(shown.value(0), QStringLiteral("ファイルを読み込んでいます… 0%"));
        QCOMPARE(pel::test::mainChild<QStatusBar>("StatusBar1")->currentMessage(), QString());
    }
    QCOMPARE(f->driver().text(), QStringLiteral("日本\n").repeated(lines));
    QCOMPARE(f->main().windowTitle(), QStringLiteral("Pelmora"));
    QCOMPARE(f->main().session().fileName(), QString());
    QVERIFY(!f->main().session().modifiedFlag());
    // The document has no file name: Save asks for one.
    f->run("SaveAction");
    QCOMPARE(f->env->dialogs->saveRequests.size(), 1);
}

void TestStartup::commandLineMissingFile()
{
    f = std::make_unique<MainFixture>();
    const QString path = f->env->path(QStringLiteral("missing.txt"));
    start({path});
    QCOMPARE(f->env->prompts->texts(), QStringList{QStringLiteral("ファイル %1 は開けません").arg(path)});
    QVERIFY(f->driver().text().isEmpty());
    // The start-up stopped at the file: the composition keeps the input
    // method's own colours until Clear runs the start-up steps again.
    QVERIFY(!f->editor().compositionColoured());
    f->main().action(QStringLiteral("ClearAction"))->trigger();
    QVERIFY(f->editor().compositionColoured());
}

void TestStartup::commands_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::newRow("exit") << "ExitAction" << "終了" << "終了";
    QTest::newRow("new") << "NewAction" << "新規作成" << "新規作成";
    QTest::newRow("open") << "OpenAction" << "開く" << "開く";
    QTest::newRow("save") << "SaveAction" << "上書き保存" << "上書き保存";
    QTest::newRow("save as") << "SaveAsAction" << "名前を付けて保存" << "名前を付けて保存";
    QTest::newRow("print") << "PrintAction" << "印刷" << "印刷";
    QTest::newRow("printer") << "PrinterAction" << "プリンタ設定" << "プリンタ設定";
    QTest::newRow("win end") << "WinEndAction" << "Win終了" << "";
    QTest::newRow("undo") << "UndoAction" << "元に戻す" << "";
    QTest::newRow("clear") << "ClearAction" << "クリア" << "編集中のテキストをクリアします｡";
    QTest::newRow("copy") << "CopyAction" << "コピー" << "コピー";
    QTest::newRow("cut") << "CutAction" << "切り取り" << "切り取り";
    QTest::newRow("paste") << "PasteAction" << "貼り付け" << "貼り付け";
    QTest::newRow("find") << "FindAction" << "検索" << "検索";
    QTest::newRow("replace") << "ReplaceAction" << "置き換え" << "置き換え";
    QTest::newRow("font") << "FontAction" << "フォントの設定" << "フォントの設定";
    QTest::newRow("back colour") << "BackColorAction" << "背景色の設定" << "背景色の設定";
    QTest::newRow("word wrap") << "WordWrapAction" << "折り返し改行" << "折り返し改行";
    QTest::newRow("date tm") << "DateTMAction" << "DateTMAction" << "";
    QTest::newRow("calendar") << "CalendarAction" << "カレンダー" << "カレンダーを表示します";
    QTest::newRow("list box") << "ListBoxAction" << "リストボックス" << "リストボックスを表示します";
    QTest::newRow("java") << "JavaJavaAction" << "JAVA" << "Javaソースのリストボックスを表示します";
    QTest::newRow("colour") << "ColorAction" << "ColorBox" << "HTMLツールを表示します";
    QTest::newRow("paint") << "PaintAction" << "絵画フォーム" << "ペイントボックスを開きます";
    QTest::newRow("player") << "PlayerAction" << "Player" << "Playerを起動します";
    QTest::newRow("help") << "HelpAction" << "ヘルプ" << "ヘルプ";
    QTest::newRow("about") << "AboutAction" << "バージョン情報" << "バージョン情報";
    QTest::newRow("update") << "VerUpAction" << "UpDate(最新版)"
                            << "UpDate=作者のホームページへアクセスして最新版を入手してください｡";
    QTest::newRow("email") << "EmailAction" << "EmailAction" << "";
}

void TestStartup::commands()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    start();
    QAction* command = f->main().action(name);
    QVERIFY2(command, qPrintable(name));
    QCOMPARE(command->objectName(), name);
    QCOMPARE(command->text(), caption);
    QCOMPARE(pel::hintOf(command), hint);
}

void TestStartup::iconBarOrder()
{
    start();
    QStringList names;
    for (QToolButton* button : pel::test::mainChild<QToolBar>("ToolBar5")->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (!button->objectName().startsWith(QLatin1String("qt_")))
            names << button->objectName();
    const QStringList expected = {
        QStringLiteral("ExitButton"), QStringLiteral("NewButton"), QStringLiteral("OpenButton"),
        QStringLiteral("SaveButton"), QStringLiteral("SaveAsButton"), QStringLiteral("PrintButton"),
        QStringLiteral("PrinterButton"), QStringLiteral("CopyButton"), QStringLiteral("CutButton"),
        QStringLiteral("PasteButton"), QStringLiteral("FindButton"), QStringLiteral("WradWrapButton"),
        QStringLiteral("FontButton"), QStringLiteral("ColorButton"), QStringLiteral("ReturnButton"),
        QStringLiteral("AllSelButton"), QStringLiteral("NotSelButton"), QStringLiteral("DelertButton"),
        QStringLiteral("HelpButton")};
    QCOMPARE(names, expected);
    for (QToolButton* button : pel::test::mainChild<QToolBar>("ToolBar5")->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (button->defaultAction())
            QVERIFY2(!button->icon().isNull(), qPrintable(button->objectName()));
    auto* returnButton = pel::test::mainChild<QToolBar>("ToolBar5")->findChild<QToolButton*>(QStringLiteral("ReturnButton"));
    QCOMPARE(returnButton->defaultAction()->text(), QStringLiteral("元へ戻す"));
}

void TestStartup::menuCaptions_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("file") << "FileButton" << "ファイル(&F)"
                          << QStringList{"新規作成(&N)　　　　　　", "開く(&O)                    ",
                                         "文字コードを指定して開き直す(&K)...", "", "上書き保存(&S)          ",
                                         "名前を付けて保存", "", "印刷", "プリンタ設定", "",
                                         "データーの復元", "Windows終了(&W)", "", "終了"};
    QTest::newRow("edit") << "EditButton" << "編集(&E)"
                          << QStringList{"元に戻す(&U)      ", "", "クリア(&E)           ", "削除(&N)           ", "",
                                         "コピー", "切り取り", "貼り付け", "", "検索", "置き換え", "",
                                         "すべてを選択(&L)", "選択の切り替え(&A)"};
    QTest::newRow("view") << "ShowButton" << "表示(&V)"
                          << QStringList{"折り返し改行", "", "標準アイコンバーの表示(&I)", "NewTextBoxの表示(&N)",
                                         "タイムバーの表示(&T)", "", "ﾎｰﾑﾍﾟｰｼﾞ制作用ﾊﾞｰの表示(&H)",
                                         "Htmlアイコンバーの表示(&E)"};
    QTest::newRow("option") << "OptionButton" << "オプション(&O)"
                            << QStringList{"フォントの設定", "背景色の設定", "", "日付表示  (&D)"};
    QTest::newRow("help") << "HelpMenuButton" << "ヘルプ(&H)"
                          << QStringList{"ヘルプ", "バージョン情報", "", "UpDate(最新版)", "Email(作者へメール)(&E)"};
}

void TestStartup::menuCaptions()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QStringList, entries);
    start();
    auto* menuButton = pel::test::mainChild<QToolBar>("ToolBar1")->findChild<QToolButton*>(button);
    QVERIFY(menuButton);
    QCOMPARE(menuButton->text(), caption);
    QStringList texts;
    for (QAction* entry : menuButton->menu()->actions())
        texts << (entry->isSeparator() ? QString() : entry->text());
    QCOMPARE(texts, entries);
}

void TestStartup::viewSwitches_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<bool>("shownAtStart");
    QTest::newRow("icon bar") << "IConBar1" << "ToolBar5" << true;
    QTest::newRow("phrase bar") << "NewTextBox1" << "ToolBar3" << false;
    QTest::newRow("time bar") << "TimeBar1" << "ControlBar2" << false;
    QTest::newRow("home page bar") << "WebPageBar1" << "ToolBar2" << false;
}

void TestStartup::viewSwitches()
{
    QFETCH(QString, entry);
    QFETCH(QString, bar);
    QFETCH(bool, shownAtStart);
    start();
    f->main().show();
    auto* toolBar = f->main().findChild<QToolBar*>(bar);
    QAction* item = f->main().action(entry);
    QCOMPARE(toolBar->isVisible(), shownAtStart);
    QCOMPARE(item->isChecked(), shownAtStart);
    item->trigger();
    QCOMPARE(toolBar->isVisible(), !shownAtStart);
    QCOMPARE(item->isChecked(), !shownAtStart);
    item->trigger();
    QCOMPARE(toolBar->isVisible(), shownAtStart);
    QCOMPARE(item->isChecked(), shownAtStart);
}

void TestStartup::htmlIconBarSwitch()
{
    start();
    f->main().show();
    QAction* item = f->main().action(QStringLiteral("HtmLIconBar1"));
    QVERIFY(!pel::test::mainChild<QToolBar>("PageScroller1")->isVisible());
    item->trigger();
    QVERIFY(pel::test::mainChild<QToolBar>("PageScroller1")->isVisible());
    QVERIFY(pel::test::mainChild<QToolBar>("ToolBar4")->isVisible());
    QVERIFY(item->isChecked());
    item->trigger();
    QVERIFY(!pel::test::mainChild<QToolBar>("PageScroller1")->isVisible());
    QVERIFY(!item->isChecked());
}

// What the paint form's dialogs hold reaches the form, and the preview shows
// the form's picture.
void TestStartup::paintFormFollowsItsDialogs()
{
    start();
    QCOMPARE(Form6->textPosition(), QPoint(5, 5));
    Form8->UpDown1->setPosition(30);
    Form8->UpDown2->setPosition(40);
    QCOMPARE(Form6->textPosition(), QPoint(30, 40));
    Form10->UpDown1->setPosition(-7);
    Form10->UpDown3->setPosition(9);
    QCOMPARE(Form6->toolDrag().figureOffset.h, -7);
    QCOMPARE(Form6->toolDrag().figureOffset.s, 9);
    Form6->bitmap().fill(Qt::red);
    QVERIFY(Form12->preparePreview());
    QCOMPARE(Form12->previewPage().pixel(pel::PreviewGeometry::kMargin + 1, pel::PreviewGeometry::kMargin + 1),
             QColor(Qt::red).rgb());
}

void TestStartup::toolWindowsShowAndHide()
{
    start();
    const QList<QPair<const char*, const char*>> launches = {
        {"CalendarAction", "TForm2"}, {"ListBoxAction", "TForm3"}, {"JavaJavaAction", "TForm5"},
        {"ColorAction", "TForm4"}, {"DateTMAction", "TForm11"}};
    for (const auto& [command, window] : launches) {
        auto* tool = Form1->findChild<QWidget*>(QString::fromLatin1(window), Qt::FindDirectChildrenOnly);
        f->run(command);
        QVERIFY2(tool->isVisible(), window);
        tool->close();  // closing only hides
        QVERIFY(!tool->isVisible());
        QVERIFY(Form1->findChild<QWidget*>(QString::fromLatin1(window), Qt::FindDirectChildrenOnly));
    }
}

void TestStartup::settingsRoundTrip()
{
    start();
    f->main().resize(500, 333);
    QPalette palette = f->editor().palette();
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(200, 0, 0));
    f->editor().setPalette(palette);
    f->editor().setWordWrap(false);
    QVERIFY(f->main().writeSettings());
    PelmoraApp::destroyWindows();
    start();
    QCOMPARE(f->main().size(), QSize(500, 333));
    QCOMPARE(f->editor().palette().color(QPalette::Base), QColor(1, 2, 3));
    QCOMPARE(f->editor().palette().color(QPalette::Text), QColor(200, 0, 0));
    QVERIFY(!f->editor().wraps());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
