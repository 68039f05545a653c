// The HTML commands through the real main window: what each one writes to
// the document file, where the caret ends, the bars and menus that run
// them, and the browser preview.
#include "support/EditorDriver.h"
#include "app/Application.h"
#include "html/HtmlBars.h"
#include "html/HtmlCommands.h"
#include "html/PageScroller.h"
#include "main/Pelmain.h"
#include "phrases/PelJava.h"
#include "platform/Cp932.h"
#include "platform/Dialogs.h"
#include "platform/Hints.h"
#include "support/TestServices.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using pel::html::HtmlCommand;
using pel::html::Shape;

namespace {

const QString kBefore = u"前の行 ﾃｷｽﾄ\n<P>前"_s;
const QString kAfter = u"後ろ&\"\n最後の行"_s;

QByteArray fileBytes(const QString& text)
{
    return pel::encodeTextFile(text).bytes;
}

} // namespace

class TestHtmlCommandsInWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void insertion_data();
    void insertion();
    void statedByteCountsOnDisk_data();
    void statedByteCountsOnDisk();
    void caretStandsBehindTheInsertion();
    void everyEntryRunsItsCommand_data();
    void everyEntryRunsItsCommand();
    void entriesShowTheirOwnCaptionHintAndIcon_data();
    void entriesShowTheirOwnCaptionHintAndIcon();
    void homePageBarButtons();
    void toolMenuEndsWithThePreview();
    void iconBarScrollsByButtons();
    void previewOfAnUnchangedDocument();
    void previewOfAModifiedDocumentSavesWithoutFilingIt();
    void previewCancelledStillShowsTheLastSavedFile();
    void previewWithoutAFileName();
    void previewStopsWhenTheWriteFails();

private:
    void setDocument(const QString& before, const QString& selection, const QString& after);
    QByteArray saveAndRead();
    pel::Selection cursor() const { return Form1->session().selection(); }

    std::unique_ptr<pel::test::TestEnvironment> env_;
    std::unique_ptr<QTemporaryDir> files_;
    int saved_ = 0;
};

void TestHtmlCommandsInWindow::initTestCase()
{
    env_ = std::make_unique<pel::test::TestEnvironment>();
    files_ = std::make_unique<QTemporaryDir>();
    PelmoraApp::createWindows({});
    QVERIFY(Form1);
}

void TestHtmlCommandsInWindow::cleanupTestCase()
{
    PelmoraApp::destroyWindows();
    env_.reset();
}

void TestHtmlCommandsInWindow::init()
{
    env_->dialogs->saveAnswers.clear();
    env_->dialogs->saveRequests.clear();
    env_->prompts->shown.clear();
    env_->shell->opened.clear();
}

void TestHtmlCommandsInWindow::setDocument(const QString& before, const QString& selection, const QString& after)
{
    const pel::test::EditorDriver editor = pel::test::mainEditor();
    editor.setText(before + selection + after);
    editor.select(before.size(), selection.size());
}

QByteArray TestHtmlCommandsInWindow::saveAndRead()
{
    const QString path = files_->filePath(u"saved%1.html"_s.arg(++saved_));
    env_->dialogs->saveAnswers.enqueue(path);
    Form1->action(u"SaveAsAction"_s)->trigger();
    if (Form1->session().fileName() != path)
        return "(not saved)";
    return pel::test::readFile(path);
}

void TestHtmlCommandsInWindow::insertion_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("selection");
    for (const HtmlCommand& c : pel::html::htmlCommands()) {
        const QByteArray n = c.name.toLatin1();
        QTest::newRow((n + " empty").constData()) << c.name << QString();
        QTest::newRow((n + " one line").constData()) << c.name << u"選択<&\"> ｶﾅ"_s;
        QTest::newRow((n + " lines").constData()) << c.name << u"一行目\n\n三行目\n"_s;
    }
}

void TestHtmlCommandsInWindow::insertion()
{
    QFETCH(QString, name);
    QFETCH(QString, selection);
    const HtmlCommand& c = *pel::html::findHtmlCommand(name);
    setDocument(kBefore, selection, kAfter);
    QVERIFY(Form1->runHtmlCommand(name));

    const QString inserted = c.shape == Shape::Fixed ? c.opening.join(u'\n')
                                                     : c.opening.join(u'\n') + selection + c.closing.join(u'\n');
    const QString expected = kBefore + inserted + kAfter;
    QCOMPARE(pel::test::mainEditor().text(), expected);
    QVERIFY(cursor().isEmpty());
    QCOMPARE(cursor().position, kBefore.size() + inserted.size());
    QCOMPARE(Form1->ChangeIndicator(), u"　変更　あり"_s);

    // Undo is not offered the insertion.
    Form1->action(u"UndoAction"_s)->trigger();
    QCOMPARE(pel::test::mainEditor().text(), expected);

    const QByteArray written = saveAndRead();
    QCOMPARE(written, fileBytes(expected));
    QVERIFY(!written.contains("\r\r"));
    QCOMPARE(written.count("\r\n"), expected.count(u'\n'));
}

void TestHtmlCommandsInWindow::statedByteCountsOnDisk_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("bytes");
    QTest::newRow("FormOptionAction") << u"FormOptionAction"_s << 55 << 2080;
    QTest::newRow("date page") << u"JavaDate2Click"_s << 26 << 681;
    QTest::newRow("clock page") << u"JavaTime2Click"_s << 26 << 545;
    QTest::newRow("NoShowAction") << u"NoShowAction"_s << 1 << 7;
    QTest::newRow("FormImageAction") << u"FormImageAction"_s << 1 << 44;
}

void TestHtmlCommandsInWindow::statedByteCountsOnDisk()
{
    QFETCH(QString, name);
    QFETCH(int, lines);
    QFETCH(int, bytes);
    setDocument({}, {}, {});
    Form1->runHtmlCommand(name);
    const QByteArray written = saveAndRead();
    QCOMPARE(written.count("\r\n") + 1, lines);
    QCOMPARE(written.size(), bytes);
    if (name == u"NoShowAction")
        QCOMPARE(written, QByteArray("<!\xA5\xA5\xA5\xA5>"));
}

void TestHtmlCommandsInWindow::caretStandsBehindTheInsertion()
{
    // A multi-line template in the middle of a line: the old rest of the
    // line follows its last line directly, and the caret stands between.
    setDocument(u"abc"_s, {}, u"xyz"_s);
    Form1->runHtmlCommand(u"LIOLAction"_s);
    const pel::TextDocument& text = Form1->session().document();
    const int line = text.lineAt(cursor().position);
    QCOMPARE(text.text(text.lineStart(line), text.lineLength(line)), u"</OL>xyz"_s);
    QCOMPARE(cursor().position - text.lineStart(line), 5);
    QCOMPARE(text.text(0, text.lineLength(0)), u"abc<OL>"_s);
    // The script block leaves the caret behind "</SCRIPT>", not on its empty line.
    setDocument({}, u"gone"_s, {});
    Form1->runHtmlCommand(u"JavaSclipt8Click"_s);
    QCOMPARE(text.text(text.lineStart(text.lineAt(cursor().position)), 9), u"</SCRIPT>"_s);
    QCOMPARE(cursor().position, text.length());
    QVERIFY(!pel::test::mainEditor().text().contains(u"gone"));
}

void TestHtmlCommandsInWindow::everyEntryRunsItsCommand_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("command");
    for (const pel::html::MenuTable& table : pel::html::htmlMenus())
        for (const pel::html::MenuRow& row : table.rows)
            if (row.kind == pel::html::MenuRow::Kind::Entry)
                QTest::newRow(qPrintable(table.name + u' ' + row.name)) << row.name << row.command;
    for (const pel::html::IconBarRow& row : pel::html::htmlIconBar())
        if (row.kind == pel::html::IconBarRow::Kind::Button)
            QTest::newRow(qPrintable(u"ToolBar4 "_s + row.name)) << row.name << row.command;
    QTest::newRow("ToolMenu ToolBruser1") << u"ToolBruser1"_s << u"BrowserAction"_s;
}

void TestHtmlCommandsInWindow::everyEntryRunsItsCommand()
{
    QFETCH(QString, object);
    QFETCH(QString, command);
    // A button is clicked; a menu entry is chosen.
    auto* button = Form1->findChild<QToolButton*>(object);
    QAction* entry = nullptr;
    for (QAction* a : Form1->findChildren<QAction*>(object))
        if (!button || button->defaultAction() == a)
            entry = a;
    QVERIFY2(entry, qPrintable(object));
    auto run = [&] {
        if (button)
            button->click();
        else
            entry->trigger();
    };
    if (button)
        QVERIFY(button->isVisibleTo(pel::test::mainChild<QToolBar>("ToolBar4")));

    if (command == u"JavaJavaAction") {
        Form5->hide();
        run();
        QVERIFY(Form5->isVisible());
        Form5->hide();
        return;
    }
    if (command == u"BrowserAction") {
        setDocument(u"x"_s, {}, {});
        Form1->session().setModifiedFlag(false);
        Form1->session().setFileName(u"/tmp/page.html"_s);
        run();
        QCOMPARE(env_->shell->opened, QStringList{u"/tmp/page.html"_s});
        return;
    }
    const HtmlCommand* c = pel::html::findHtmlCommand(command);
    QVERIFY(c);
    setDocument(u"<"_s, u"abc"_s, u">"_s);
    run();
    QCOMPARE(pel::test::mainEditor().text(), u"<"_s + c->result(u"abc"_s) + u">"_s);
}

void TestHtmlCommandsInWindow::entriesShowTheirOwnCaptionHintAndIcon_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("icon");
    QTest::newRow("FontBB1") << u"FontBB1"_s << u"太文字"_s << u"太文字"_s << true;
    QTest::newRow("FontII1") << u"FontII1"_s << u"斜体文字"_s << u"斜体文字(イタリック体)"_s << true;
    QTest::newRow("FontUnder1") << u"FontUnder1"_s << u"下線"_s << u"文字の下に線を引きます｡"_s << true;
    QTest::newRow("Tenpu1") << u"Tenpu1"_s << u"標準テンプレート"_s << u"標準HTML作成テンプレート"_s << false;
    QTest::newRow("TextM15") << u"TextM15"_s << u"リスト文字"_s << u"リストに英大文字その他いろいろを付ける"_s << false;
    QTest::newRow("Line2") << u"Line2"_s << u"罫線( 標準 )"_s << u"罫線を引く"_s << true;
    QTest::newRow("RardURL1") << u"RardURL1"_s << u"ロード ( URL )"_s
                              << u"情報を提供する等に使います｡一定の時間がたつと指定のページへリンクします｡"_s << false;
    QTest::newRow("FLEAME4") << u"FLEAME4"_s << u"フレーム横2分割"_s << u"フレームを横に2分割します｡"_s << true;
    QTest::newRow("Table4") << u"Table4"_s << u"テーブル(全体のサイズ)"_s << u"テーブルの大きさを決める｡"_s << false;
    QTest::newRow("Table13") << u"Table13"_s << u"テープル(表の位置)"_s << u"表を表示させる位置を設定する"_s << false;
    QTest::newRow("ScrollM1") << u"ScrollM1"_s << u"スクロール"_s << u"文字などをスクロールさせる I.E のみ"_s << true;
    QTest::newRow("JAVA3") << u"JAVA3"_s << u"JavaListBox"_s << u"Javaソースのリストボックスを表示します"_s << false;
    QTest::newRow("JavaTime2") << u"JavaTime2"_s << u"Java  雛形 ( Time )"_s << u"Java時刻表示用サンプルタグ"_s << false;
    QTest::newRow("JavaApret9") << u"JavaApret9"_s << u"Java (アプレット)"_s << u"Javaアプレットの標準タグです｡"_s
                                << false;
    QTest::newRow("JavaSclipt2") << u"JavaSclipt2"_s << u"Java(スクリブト)"_s << u"Java　雛形 ( Date )"_s << false;
    QTest::newRow("hBButton") << u"hBButton"_s << u"太字書体"_s << u"太字書体|太字書体に設定する"_s << true;
    QTest::newRow("hIButton") << u"hIButton"_s << u"斜字"_s << u"斜体文字|文字を斜体に設定する"_s << true;
    QTest::newRow("hURLButton") << u"hURLButton"_s << u"URLアドレス"_s << u"URL"_s << true;
    QTest::newRow("hJavaScliptButton") << u"hJavaScliptButton"_s << QString() << u"Javaスクリプト|Javaスクリプトソース"_s
                                       << true;
    QTest::newRow("ToolBruser1") << u"ToolBruser1"_s << u"ブラウザ"_s << u"ブラウザで動作を確認します｡"_s << true;
}

void TestHtmlCommandsInWindow::entriesShowTheirOwnCaptionHintAndIcon()
{
    QFETCH(QString, object);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, icon);
    QAction* entry = nullptr;
    for (QAction* a : Form1->findChildren<QAction*>(object))
        entry = a;
    QVERIFY2(entry, qPrintable(object));
    QCOMPARE(entry->text(), caption);
    QCOMPARE(pel::hintOf(entry), hint);
    QCOMPARE(!entry->icon().isNull(), icon);
}

void TestHtmlCommandsInWindow::homePageBarButtons()
{
    const struct { const char* name; const char* caption; QMenu* menu; Qt::Key key; } buttons[] = {
        {"HTMLButton", "HTML(&W)", pel::test::mainChild<QMenu>("HtmlMenu"), Qt::Key_W},
        {"ImageButton", "イメージ(&I)", pel::test::mainChild<QMenu>("IMAGEMenu"), Qt::Key_I},
        {"LinkButton", "リンク(&L)", pel::test::mainChild<QMenu>("LinkMenu"), Qt::Key_L},
        {"JavaButton", "JAVA(&J)", pel::test::mainChild<QMenu>("JavaMenu"), Qt::Key_J},
    };
    const QList<QAction*> items = pel::test::mainChild<QToolBar>("ToolBar2")->actions();
    QCOMPARE(items.size(), 4);
    for (int i = 0; i < 4; ++i) {
        auto* button = qobject_cast<QToolButton*>(pel::test::mainChild<QToolBar>("ToolBar2")->widgetForAction(items.at(i)));
        QVERIFY(button);
        QCOMPARE(button->objectName(), QString::fromLatin1(buttons[i].name));
        QCOMPARE(button->text(), QString::fromUtf8(buttons[i].caption));
        QVERIFY(buttons[i].menu);
        QCOMPARE(button->menu(), buttons[i].menu);
        QCOMPARE(button->height(), 20);
        QCOMPARE(button->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(button->shortcut(), QKeySequence(Qt::ALT | buttons[i].key));
    }
    QCOMPARE(pel::hintOf(Form1->findChild<QToolButton*>(u"JavaButton"_s)), u"Java  ( Alt + J )|Java関係"_s);
    QCOMPARE(pel::test::mainChild<QToolBar>("ToolBar2")->windowTitle(), u"ホームページ制作支援ツールバー"_s);
    QCOMPARE(pel::test::mainChild<QToolBar>("ToolBar4")->windowTitle(), u"ホームページ製作用ツールバー"_s);
}

void TestHtmlCommandsInWindow::toolMenuEndsWithThePreview()
{
    const QList<QAction*> entries = pel::test::mainChild<QMenu>("ToolMenu")->actions();
    QVERIFY(entries.size() >= 2);
    QVERIFY(entries.constLast()->isSeparator());
    QCOMPARE(entries.at(entries.size() - 2)->objectName(), u"ToolBruser1"_s);
    QCOMPARE(entries.at(entries.size() - 3)->objectName(), u"ToolPlayer1"_s);
}

void TestHtmlCommandsInWindow::iconBarScrollsByButtons()
{
    Form1->show();
    if (!pel::test::mainChild<QToolBar>("PageScroller1")->isVisible())
        Form1->action(QStringLiteral("HtmLIconBar1"))->trigger();
    QVERIFY(pel::test::mainChild<QToolBar>("PageScroller1")->isVisible());
    QVERIFY(pel::test::mainChild<QToolBar>("ToolBar4")->isVisible());
    auto* scroller = Form1->findChild<pel::html::PageScroller*>();
    QVERIFY(scroller);
    Form1->resize(300, Form1->height());
    QTRY_VERIFY(scroller->arrowsShown());
    scroller->setPosition(0);
    scroller->scrollStep(+1, Qt::NoModifier);
    QCOMPARE(scroller->position(), 23);
    scroller->scrollStep(+1, Qt::AltModifier | Qt::ShiftModifier);
    QCOMPARE(scroller->position(), 24);
    scroller->scrollStep(+1, Qt::ControlModifier);
    QCOMPARE(scroller->position(), 24 + pel::html::PageScroller::kDefaultStep);
    // Wide enough: every button in view, no arrows.
    Form1->resize(1200, Form1->height());
    QTRY_VERIFY(!scroller->arrowsShown());
    QCOMPARE(scroller->position(), 0);
    Form1->action(QStringLiteral("HtmLIconBar1"))->trigger();
    QVERIFY(!pel::test::mainChild<QToolBar>("PageScroller1")->isVisible());
}

void TestHtmlCommandsInWindow::previewOfAnUnchangedDocument()
{
    const QString path = files_->filePath(u"opened.html"_s);
    pel::test::writeFile(path, "<HTML>\r\n</HTML>");
    pel::test::mainEditor().setText({});
    env_->dialogs->openAnswers.enqueue(path);
    Form1->action(QStringLiteral("OpenAction"))->trigger();
    QCOMPARE(Form1->session().fileName(), path);
    QVERIFY(!Form1->session().modifiedFlag());
    Form1->action(u"BrowserAction"_s)->trigger();
    QVERIFY(env_->dialogs->saveRequests.isEmpty());
    QCOMPARE(env_->shell->opened, QStringList{path});
}

void TestHtmlCommandsInWindow::previewOfAModifiedDocumentSavesWithoutFilingIt()
{
    const QString old = files_->filePath(u"old.html"_s);
    const QString chosen = files_->filePath(u"preview.html"_s);
    pel::test::writeFile(chosen, "previous content");  // overwritten after the question
    setDocument(u"<B>"_s, {}, u"</B>\n2"_s);
    Form1->session().setFileName(old);
    Form1->setWindowTitle(u"old.html"_s);
    Form1->session().setModifiedFlag(true);
    env_->dialogs->saveAnswers.enqueue(chosen);
    env_->prompts->setAnswers({pel::Prompts::Answer::Yes});
    Form1->action(u"BrowserAction"_s)->trigger();

    QCOMPARE(env_->dialogs->saveRequests.size(), 1);
    const pel::FileDialogRequest request = env_->dialogs->saveRequests.constFirst();
    QCOMPARE(request.fileName, old);
    QCOMPARE(request.filters.size(), 4);
    QCOMPARE(request.filters.constLast().description, u"すべてのファイル(*.*)"_s);
    QCOMPARE(request.defaultSuffix, u"txt"_s);
    QCOMPARE(env_->prompts->texts(),
             QStringList{u"preview.html\r\nと同じ名前のファイルがあります。\r\n 上書きしてよろしいですか ?"_s});
    QCOMPARE(pel::test::readFile(chosen), QByteArray("<B></B>\r\n2"));
    QCOMPARE(Form1->session().fileName(), chosen);
    QCOMPARE(Form1->windowTitle(), u"old.html"_s);
    QVERIFY(Form1->session().modifiedFlag());
    QCOMPARE(env_->shell->opened, QStringList{chosen});

    // Still modified: the next preview asks again; a later Save uses the name.
    Form1->action(u"BrowserAction"_s)->trigger();
    QCOMPARE(env_->dialogs->saveRequests.size(), 2);
    QCOMPARE(env_->dialogs->saveRequests.constLast().fileName, chosen);
}

void TestHtmlCommandsInWindow::previewCancelledStillShowsTheLastSavedFile()
{
    const QString old = files_->filePath(u"kept.html"_s);
    pel::test::writeFile(old, "kept");
    setDocument(u"changed"_s, {}, {});
    Form1->session().setFileName(old);
    Form1->session().setModifiedFlag(true);
    Form1->action(u"BrowserAction"_s)->trigger();  // the dialog is cancelled
    QCOMPARE(env_->dialogs->saveRequests.size(), 1);
    QCOMPARE(pel::test::readFile(old), QByteArray("kept"));
    QCOMPARE(Form1->session().fileName(), old);
    QCOMPARE(env_->shell->opened, QStringList{old});
}

void TestHtmlCommandsInWindow::previewWithoutAFileName()
{
    // Never saved and not modified: no dialog, nothing to open.
    setDocument(u"text"_s, {}, {});
    Form1->session().setFileName({});
    Form1->session().setModifiedFlag(false);
    Form1->action(u"BrowserAction"_s)->trigger();
    QVERIFY(env_->dialogs->saveRequests.isEmpty());
    QVERIFY(env_->shell->opened.isEmpty());
    // Modified, dialog cancelled: still nothing to open.
    Form1->session().setModifiedFlag(true);
    Form1->action(u"BrowserAction"_s)->trigger();
    QCOMPARE(env_->dialogs->saveRequests.size(), 1);
    QVERIFY(env_->shell->opened.isEmpty());
    QVERIFY(env_->prompts->shown.isEmpty());
}

void TestHtmlCommandsInWindow::previewStopsWhenTheWriteFails()
{
    const QString unwritable = files_->filePath(u"no such folder/page.html"_s);
    setDocument(u"text"_s, {}, {});
    Form1->session().setFileName({});
    Form1->session().setModifiedFlag(true);
    env_->dialogs->saveAnswers.enqueue(unwritable);
    Form1->action(u"BrowserAction"_s)->trigger();
    QCOMPARE(env_->prompts->shown.size(), 1);
    QVERIFY(env_->prompts->shown.constFirst().text.contains(u"を作成できません"));
    QVERIFY(env_->shell->opened.isEmpty());
    QVERIFY(!QFile::exists(unwritable));
    QVERIFY(Form1->session().modifiedFlag());
}

QTEST_MAIN(TestHtmlCommandsInWindow)
#include "tst_htmlcommands.moc"
