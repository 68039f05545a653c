#include "support/EditorDriver.h"
#include "app/Application.h"
#include "main/Pelmain.h"
#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "phrases/PhraseBar.h"
#include "phrases/PhraseList.h"
#include "platform/Hints.h"
#include "support/TestServices.h"
#include "tools/PelTime.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTest>
#include <memory>

namespace {
const QString kFieldStart = QStringLiteral("  NewText Box");
const QString kChanged = QStringLiteral("　変更　あり");
}

class TestPhraseBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void barStartsHiddenAndMovable();
    void transcribeAtStart_data();
    void transcribeAtStart();
    void edit1EnterAndClick();
    void comboEnterReplacesDocument();
    void comboDoubleClickReplacesSelection();
    void moves_data();
    void moves();
    void movesShowEntryOverTypedText();
    void hiddenActions_data();
    void hiddenActions();
    void memo_data();
    void memo();
    void speedButtonColours_data();
    void speedButtonColours();
    void toolButtonsShowTools();
    void fieldSurvivesListLoads();
    void backupsAndRestores();
    void restoreShowsInOpenWindow();
    void restoreWithoutBackup();
    void listWindowTranscribesIntoDocument();
    void clearKeepsRegister();

private:
    void start();
    template <typename T> T* control(const QString& name) const
    {
        T* found = pel::test::mainChild<QToolBar>("ToolBar3")->findChild<T*>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }
    QComboBox* combo() const { return control<QComboBox>(QStringLiteral("ComboBox1")); }
    QString field() const { return combo()->lineEdit()->text(); }
    pel::PhraseList& list() const { return Form1->phraseBarList(); }
    // Chooses the entry at `row` from the combo box's list with the keyboard.
    void choose(int row);
    void fillList(const QStringList& entries);

    std::unique_ptr<pel::test::TestEnvironment> env_;
};

void TestPhraseBar::init()
{
    env_ = std::make_unique<pel::test::TestEnvironment>();
}

void TestPhraseBar::cleanup()
{
    if (Form1)
        PelmoraApp::destroyWindows();
    env_.reset();
}

void TestPhraseBar::start()
{
    PelmoraApp::createWindows({});
    Form1->show();
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    Form1->action(QStringLiteral("NewTextBox1"))->trigger();
    QVERIFY(pel::test::mainChild<QToolBar>("ToolBar3")->isVisible());
}

void TestPhraseBar::fillList(const QStringList& entries)
{
    for (const QString& entry : entries)
        list().Append(entry);
}

void TestPhraseBar::choose(int row)
{
    QLineEdit* edit = combo()->lineEdit();
    if (combo()->currentIndex() > row || combo()->currentIndex() < 0) {
        QTest::keyClick(edit, Qt::Key_Home, Qt::NoModifier);
        QTest::keyClick(edit, Qt::Key_PageUp);
    }
    while (combo()->currentIndex() < row)
        QTest::keyClick(edit, Qt::Key_Down);
    QCOMPARE(list().current(), row);
    QCOMPARE(field(), list().entryText(row));
}

void TestPhraseBar::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QColor>("captionColour");

    const QColor black(0, 0, 0), blue(0, 0, 255), none;
    QTest::newRow("KaigaSpButton") << "KaigaSpButton" << "flat" << "絵画フォーム(&K)"
                                   << "絵画フォーム|絵画フォームを起ち上げます｡" << black;
    QTest::newRow("IdouButton") << "IdouButton" << "button" << "移動"
                                << "移動|クリックすると全体が1個づつ移動します" << none;
    QTest::newRow("TopButton") << "TopButton" << "button" << "先頭"
                               << "先頭へ移動|クリックすると登録したアイテムが先頭へ移動します" << blue;
    QTest::newRow("BottomButton") << "BottomButton" << "button" << "後部"
                                  << "最後部へ移動|選択のアイテムが最後部へ移動します" << none;
    QTest::newRow("DeleteButton") << "DeleteButton" << "button" << "削除"
                                  << "削除|選択したアイテムを削除します" << blue;
    QTest::newRow("Edit1") << "Edit1" << "edit" << ""
                           << "新規登録ｳｲﾝﾄﾞｳ|文字入力後エンターキィを押すと最後部に登録します,マウスでクリックしても同様です"
                           << none;
    QTest::newRow("UpSpButton") << "UpSpButton" << "flat" << "↑" << "上へ|ひとつ上に移動する" << black;
    QTest::newRow("DownSpButton") << "DownSpButton" << "flat" << "↓" << "下へ|ひとつ下へ移動する" << black;
    QTest::newRow("ComboBox1") << "ComboBox1" << "combo" << "  NewText Box" << "文字の登録|登録した文字を選択中"
                               << none;
    QTest::newRow("TenkiSpButton") << "TenkiSpButton" << "flat" << "転記"
                                   << "転記|選択したアイテムをメインキャンバスへ転記します｡" << black;
    QTest::newRow("MemoButton") << "MemoButton" << "button" << "メモ" << "メモ帳|Windowsのメモ帳を開きます。"
                                << none;
    QTest::newRow("DateTimeSpButton") << "DateTimeSpButton" << "flat" << "日付表示"
                                      << "日付表示|日付表示ダイアログを開きます｡" << black;
}

void TestPhraseBar::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(QColor, captionColour);
    start();

    // Left to right in the order of the rows above.
    static const QStringList order = {"KaigaSpButton", "IdouButton", "TopButton", "BottomButton",
                                      "DeleteButton", "Edit1", "UpSpButton", "DownSpButton",
                                      "ComboBox1", "TenkiSpButton", "MemoButton", "DateTimeSpButton"};
    QStringList onBar;
    for (QAction* entry : pel::test::mainChild<QToolBar>("ToolBar3")->actions())
        if (QWidget* widget = pel::test::mainChild<QToolBar>("ToolBar3")->widgetForAction(entry))
            onBar << widget->objectName();
    QCOMPARE(onBar, order);
    // The bar has a row of its own: on a window a little wider than the
    // default, nothing hides in the bar's overflow menu.
    Form1->resize(800, Form1->height());
    QTRY_VERIFY(control<QWidget>(order.last())->isVisible());
    for (const QString& each : order)
        QVERIFY2(control<QWidget>(each)->isVisible(), qPrintable(each));
    QCOMPARE(pel::test::mainChild<QToolBar>("ToolBar3")->y(), pel::test::mainChild<QToolBar>("ToolBar1")->y() + pel::test::mainChild<QToolBar>("ToolBar1")->height());

    QWidget* widget = control<QWidget>(name);
    QVERIFY(widget);
    QCOMPARE(pel::hintOf(widget), hint);
    QCOMPARE(widget->toolTip(), pel::hintShortPart(hint));
    if (kind == u"flat") {
        auto* button = qobject_cast<QToolButton*>(widget);
        QVERIFY(button);
        QVERIFY(button->autoRaise());
        QCOMPARE(button->text(), caption);
    } else if (kind == u"button") {
        auto* button = qobject_cast<QPushButton*>(widget);
        QVERIFY(button);
        QVERIFY(!button->isFlat());
        QCOMPARE(button->text(), caption);
    } else if (kind == u"edit") {
        QVERIFY(qobject_cast<QLineEdit*>(widget));
        QVERIFY(static_cast<QLineEdit*>(widget)->text().isEmpty());
    } else {
        auto* box = qobject_cast<QComboBox*>(widget);
        QVERIFY(box && box->isEditable());
        QCOMPARE(box->lineEdit()->text(), caption);
        QCOMPARE(box->maxVisibleItems(), 40);
        QCOMPARE(box->model(), static_cast<QAbstractItemModel*>(&list()));
    }
    if (captionColour.isValid())
        QCOMPARE(widget->palette().color(QPalette::ButtonText), captionColour);
    // Nothing on the bar is ever disabled.
    QVERIFY(widget->isEnabled());
}

void TestPhraseBar::barStartsHiddenAndMovable()
{
    PelmoraApp::createWindows({});
    Form1->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form1));
    QToolBar* bar = pel::test::mainChild<QToolBar>("ToolBar3");
    QCOMPARE(bar->windowTitle(), QStringLiteral("NewTextBox"));
    QVERIFY(!bar->isVisible());
    QVERIFY(bar->isMovable());
    QVERIFY(bar->isFloatable());
    QCOMPARE(bar->allowedAreas(), Qt::AllToolBarAreas);
    // Hiding and showing the bar does not touch the register.
    fillList({"A"});
    Form1->action(QStringLiteral("NewTextBox1"))->trigger();
    Form1->action(QStringLiteral("NewTextBox1"))->trigger();
    QCOMPARE(list().texts(), QStringList{"A"});
}

void TestPhraseBar::transcribeAtStart_data()
{
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionEnd");
    QTest::addColumn<QString>("expected");
    QTest::newRow("selection replaced") << 6 << 11 << QString("hello " + kFieldStart + "\nline two");
    QTest::newRow("at the caret") << 5 << 5 << QString("hello" + kFieldStart + " world\nline two");
}

void TestPhraseBar::transcribeAtStart()
{
    QFETCH(int, selectionStart);
    QFETCH(int, selectionEnd);
    QFETCH(QString, expected);
    start();
    pel::test::mainEditor().setText(QStringLiteral("hello world\nline two"));
    pel::test::mainEditor().session().select(selectionStart, selectionEnd);
    combo()->lineEdit()->setFocus();

    QTest::mouseClick(control<QToolButton>("TenkiSpButton"), Qt::LeftButton);
    QCOMPARE(pel::test::mainEditor().text(), expected);
    QVERIFY(pel::test::mainEditor().view().hasFocus());
    QVERIFY(list().texts().isEmpty());
}

void TestPhraseBar::edit1EnterAndClick()
{
    start();
    auto* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    edit->insert(QStringLiteral("あいう"));  // as an input method commits it
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(list().texts(), QStringList{"あいう"});
    QVERIFY(edit->text().isEmpty());
    QVERIFY(edit->hasFocus());

    // Enter in the empty field adds an empty entry.
    QTest::keyClick(edit, Qt::Key_Enter);
    QCOMPARE(list().texts(), (QStringList{"あいう", ""}));

    // A click into the empty field adds nothing but takes the focus.
    pel::test::mainEditor().view().setFocus();
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(list().count(), 2);
    QVERIFY(edit->hasFocus());

    // A click into a field holding text registers the text.
    edit->setText(QStringLiteral("xyz"));
    pel::test::mainEditor().view().setFocus();
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(list().texts(), (QStringList{"あいう", "", "xyz"}));
    QVERIFY(edit->text().isEmpty());
    QVERIFY(edit->hasFocus());
    // The combo box's field is not touched by any of it.
    QCOMPARE(field(), kFieldStart);
    // Registering is not a change of the document.
    QVERIFY(pel::test::mainEditor().text().isEmpty());
}

void TestPhraseBar::comboEnterReplacesDocument()
{
    start();
    fillList({"T"});
    pel::test::mainEditor().setText(QStringLiteral("line one\nline two\nline three"));
    Form1->session().setModifiedFlag(false);
    pel::test::mainEditor().placeCaret(5);

    QLineEdit* edit = combo()->lineEdit();
    edit->setFocus();
    edit->setText(QStringLiteral("T"));
    // As a user types it: to the focused control, the combo box.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("T"));
    // Appended even though it was already an entry.
    QCOMPARE(list().texts(), (QStringList{"T", "T"}));
    QCOMPARE(Form1->ChangeIndicator(), kChanged);
    QVERIFY(Form1->session().modifiedFlag());
    QCOMPARE(field(), QStringLiteral("T"));
    // The old text can be had back.
    pel::edit::undo(Form1->session());
    QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("line one\nline two\nline three"));

    // An empty field empties the document and adds an empty entry.
    edit->clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QVERIFY(pel::test::mainEditor().text().isEmpty());
    QCOMPARE(list().texts(), (QStringList{"T", "T", ""}));
}

void TestPhraseBar::comboDoubleClickReplacesSelection()
{
    start();
    fillList({"A", "B"});
    choose(1);
    pel::test::mainEditor().setText(QStringLiteral("one two three"));
    pel::test::mainEditor().session().select(4, 7);

    QTest::mouseDClick(combo()->lineEdit(), Qt::LeftButton);
    QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("one B three"));
    QCOMPARE(list().texts(), (QStringList{"A", "B"}));

    // Typed text that is no entry goes in just the same.
    combo()->lineEdit()->setText(QStringLiteral("typed"));
    QTest::mouseDClick(combo()->lineEdit(), Qt::LeftButton);
    QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("one Btyped three"));
}

void TestPhraseBar::moves_data()
{
    QTest::addColumn<int>("chosen");     // -1: nothing chosen
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("chosenAfter");
    QTest::addColumn<QString>("fieldAfter");

    const QStringList abc{"A", "B", "C"};
    QTest::newRow("up") << 1 << "UpSpButton" << QStringList{"B", "A", "C"} << 0 << "B";
    QTest::newRow("down") << 1 << "DownSpButton" << QStringList{"A", "C", "B"} << 2 << "B";
    QTest::newRow("top") << 1 << "TopButton" << QStringList{"B", "A", "C"} << 0 << "B";
    QTest::newRow("bottom") << 1 << "BottomButton" << QStringList{"A", "C", "B"} << 2 << "B";
    QTest::newRow("up on first") << 0 << "UpSpButton" << abc << 0 << "A";
    QTest::newRow("down on last") << 2 << "DownSpButton" << abc << 2 << "C";
    // Rotate keeps the chosen entry chosen wherever it goes.
    QTest::newRow("rotate") << 1 << "IdouButton" << QStringList{"B", "C", "A"} << 0 << "B";
    QTest::newRow("rotate nothing chosen") << -1 << "IdouButton" << QStringList{"B", "C", "A"} << -1 << kFieldStart;
    for (const char* name : {"UpSpButton", "DownSpButton", "TopButton", "BottomButton", "DeleteButton"})
        QTest::addRow("%s nothing chosen", name) << -1 << name << abc << -1 << kFieldStart;
    // The field keeps the deleted text: it may still be registered again.
    QTest::newRow("delete") << 1 << "DeleteButton" << QStringList{"A", "C"} << -1 << "B";
}

void TestPhraseBar::moves()
{
    QFETCH(int, chosen);
    QFETCH(QString, button);
    QFETCH(QStringList, after);
    QFETCH(int, chosenAfter);
    QFETCH(QString, fieldAfter);
    start();
    fillList({"A", "B", "C"});
    QCOMPARE(field(), kFieldStart);
    QCOMPARE(list().current(), -1);
    if (chosen >= 0)
        choose(chosen);

    QTest::mouseClick(control<QAbstractButton>(button), Qt::LeftButton);
    QCOMPARE(list().texts(), after);
    QCOMPARE(list().current(), chosenAfter);
    QCOMPARE(combo()->currentIndex(), chosenAfter);
    QCOMPARE(field(), fieldAfter);
    QCOMPARE(control<QAbstractButton>(button)->palette().color(QPalette::ButtonText),
             button == u"TopButton" || button == u"DeleteButton" ? QColor(0, 0, 255) : QColor(0, 0, 0));
}

void TestPhraseBar::movesShowEntryOverTypedText()
{
    start();
    fillList({"A", "B", "C", "D"});
    choose(2);
    combo()->lineEdit()->setText(QStringLiteral("typed"));
    // Rotating leaves what the user typed alone.
    QTest::mouseClick(control<QPushButton>("IdouButton"), Qt::LeftButton);
    QCOMPARE(field(), QStringLiteral("typed"));
    QCOMPARE(list().texts(), (QStringList{"B", "C", "D", "A"}));
    QCOMPARE(list().current(), 1);
    // A move shows the moved entry again; repeated clicks move it further.
    QTest::mouseClick(control<QToolButton>("UpSpButton"), Qt::LeftButton);
    QCOMPARE(field(), QStringLiteral("C"));
    QCOMPARE(list().texts(), (QStringList{"C", "B", "D", "A"}));
    QTest::mouseClick(control<QToolButton>("UpSpButton"), Qt::LeftButton);
    QCOMPARE(list().texts(), (QStringList{"C", "B", "D", "A"}));
    QCOMPARE(list().current(), 0);
    QTest::mouseClick(control<QToolButton>("DownSpButton"), Qt::LeftButton);
    QTest::mouseClick(control<QToolButton>("DownSpButton"), Qt::LeftButton);
    QCOMPARE(list().texts(), (QStringList{"B", "D", "C", "A"}));
    QCOMPARE(list().current(), 2);
    QCOMPARE(field(), QStringLiteral("C"));
    // Registering with Enter in Edit1 leaves the chosen entry and the field.
    auto* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("E"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(list().texts(), (QStringList{"B", "D", "C", "A", "E"}));
    QCOMPARE(list().current(), 2);
    QCOMPARE(field(), QStringLiteral("C"));
}

void TestPhraseBar::hiddenActions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("ItemUPAction") << "ItemUPAction" << "上へ" << QStringList{"B", "A", "C"};
    QTest::newRow("ItemDownAction") << "ItemDownAction" << "下へ" << QStringList{"A", "C", "B"};
}

void TestPhraseBar::hiddenActions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QStringList, after);
    start();
    QAction* command = Form1->action(name);
    QVERIFY(command);
    QCOMPARE(command->text(), caption);
    QCOMPARE(command->property("category").toString(), QStringLiteral("ToolMenu"));
    // No menu, button or shortcut runs it.
    QVERIFY(command->associatedObjects().isEmpty());
    QVERIFY(command->shortcut().isEmpty());
    fillList({"A", "B", "C"});
    choose(1);
    command->trigger();
    QCOMPARE(list().texts(), after);
    QCOMPARE(field(), QStringLiteral("B"));
}

void TestPhraseBar::memo_data()
{
    QTest::addColumn<bool>("starts");
    QTest::newRow("editor starts") << true;
    QTest::newRow("editor fails silently") << false;
}

void TestPhraseBar::memo()
{
    QFETCH(bool, starts);
    start();
    env_->shell->result = starts;
    QTest::mouseClick(control<QPushButton>("MemoButton"), Qt::LeftButton);
    QCOMPARE(env_->shell->editorsStarted.size(), 1);
    QVERIFY(env_->prompts->shown.isEmpty());
    QVERIFY(pel::test::mainEditor().text().isEmpty());
}

void TestPhraseBar::speedButtonColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    for (const char* name : {"KaigaSpButton", "UpSpButton", "DownSpButton", "TenkiSpButton", "DateTimeSpButton"}) {
        QTest::addRow("%s left", name) << name << Qt::LeftButton;
        QTest::addRow("%s right", name) << name << Qt::RightButton;
    }
}

void TestPhraseBar::speedButtonColours()
{
    QFETCH(QString, name);
    QFETCH(Qt::MouseButton, mouseButton);
    start();
    auto* button = control<QToolButton>(name);
    const QColor red(255, 0, 0), black(0, 0, 0);
    QCOMPARE(button->palette().color(QPalette::ButtonText), black);
    QTest::mousePress(button, mouseButton);
    QCOMPARE(button->palette().color(QPalette::ButtonText), red);
    // Still red with the pointer off the button while it is held.
    const QPoint outside(button->width() + 40, button->height() + 40);
    QTest::mouseMove(button, outside);
    QCOMPARE(button->palette().color(QPalette::ButtonText), red);
    // Released off the button: black again, and no click.
    QTest::mouseRelease(button, mouseButton, Qt::NoModifier, outside);
    QCOMPARE(button->palette().color(QPalette::ButtonText), black);
    QVERIFY(Form1->isVisible());
    QVERIFY(pel::test::mainEditor().text().isEmpty());
}

void TestPhraseBar::toolButtonsShowTools()
{
    start();
    QVERIFY(!Form11->isVisible());
    QTest::mouseClick(control<QToolButton>("DateTimeSpButton"), Qt::LeftButton);
    QVERIFY(Form11->isVisible());

    // The paint form runs modally with the main window hidden; close it
    // from inside its loop.
    QSignalSpy paint(Form1->action(QStringLiteral("PaintAction")), &QAction::triggered);
    bool mainHidden = false;
    QTimer::singleShot(0, [&mainHidden] {
        mainHidden = !Form1->isVisible();
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    QTest::mouseClick(control<QToolButton>("KaigaSpButton"), Qt::LeftButton);
    QCOMPARE(paint.size(), 1);
    QVERIFY(mainHidden);
    QVERIFY(Form1->isVisible());
}

void TestPhraseBar::fieldSurvivesListLoads()
{
    // Loaded at start-up, the register fills the list but not the field.
    pel::test::writeFile(env_->path("COMBLOG.TXT"), "one\r\ntwo\r\n");
    pel::test::writeFile(env_->path("COMBOLOG.bak"), "x\r\n");
    start();
    QCOMPARE(list().texts(), (QStringList{"one", "two"}));
    QCOMPARE(field(), kFieldStart);
    QCOMPARE(combo()->currentIndex(), -1);
    choose(1);
    combo()->lineEdit()->setText(QStringLiteral("mine"));
    Form1->action(QStringLiteral("COMBbakAction"))->trigger();
    QCOMPARE(list().texts(), QStringList{"x"});
    QCOMPARE(list().current(), -1);
    QCOMPARE(combo()->currentIndex(), -1);
    QCOMPARE(field(), QStringLiteral("mine"));
    // Appending to an empty list does not choose the new entry either.
    list().ClearAll();
    fillList({"first"});
    QCOMPARE(combo()->currentIndex(), -1);
    QCOMPARE(field(), QStringLiteral("mine"));
}

void TestPhraseBar::backupsAndRestores()
{
    start();
    fillList({"bar ｱ", ""});
    Form3->list().Append(QStringLiteral("list"));
    Form5->list().Append(QStringLiteral("java"));

    // The close writes the three backups.
    QVERIFY(Form1->close());
    QCOMPARE(pel::test::readFile(env_->path("COMBOLOG.bak")), QByteArray("bar \xB1\r\n\r\n"));
    QCOMPARE(pel::test::readFile(env_->path("HOMELOG.bak")), QByteArray("list\r\n"));
    QCOMPARE(pel::test::readFile(env_->path("JAVALOG.bak")), QByteArray("java\r\n"));

    // Work changes the lists; each restore brings its own list back.
    list().ClearAll();
    Form3->list().Append(QStringLiteral("more"));
    Form5->list().ClearAll();
    Form1->action(QStringLiteral("COMBbakAction"))->trigger();
    QCOMPARE(list().texts(), (QStringList{"bar ｱ", ""}));
    QCOMPARE(Form3->list().texts(), (QStringList{"list", "more"}));
    Form1->action(QStringLiteral("ListAction"))->trigger();
    QCOMPARE(Form3->list().texts(), QStringList{"list"});
    QVERIFY(Form5->list().texts().isEmpty());
    Form1->action(QStringLiteral("JAVAAction"))->trigger();
    QCOMPARE(Form5->list().texts(), QStringList{"java"});
    QVERIFY(env_->prompts->shown.isEmpty());

    // At the end every list reaches its file, equal to its backup.
    PelmoraApp::destroyWindows();
    QCOMPARE(pel::test::readFile(env_->path("COMBLOG.TXT")), pel::test::readFile(env_->path("COMBOLOG.bak")));
    QCOMPARE(pel::test::readFile(env_->path("HOMELOG.TXT")), pel::test::readFile(env_->path("HOMELOG.bak")));
    QCOMPARE(pel::test::readFile(env_->path("JAVALOG.TXT")), pel::test::readFile(env_->path("JAVALOG.bak")));
}

void TestPhraseBar::restoreShowsInOpenWindow()
{
    pel::test::writeFile(env_->path("HOMELOG.bak"), "r1\r\nr2\r\n");
    pel::test::writeFile(env_->path("JAVALOG.bak"), "j1\r\n");
    start();
    Form3->list().Append(QStringLiteral("old"));
    Form1->action(QStringLiteral("ListBoxAction"))->trigger();
    QVERIFY(Form3->isVisible());
    QListView* view = Form3->findChild<QListView*>(QStringLiteral("ListBox1"));
    QVERIFY(view);
    QCOMPARE(view->model()->rowCount(), 1);

    // Open: the restored list shows at once.
    Form1->action(QStringLiteral("ListAction"))->trigger();
    QCOMPARE(view->model()->rowCount(), 2);
    QCOMPARE(view->model()->index(1, 0).data().toString(), QStringLiteral("r2"));

    // Hidden: it shows the restored list when shown next.
    Form5->list().Append(QStringLiteral("old"));
    QVERIFY(!Form5->isVisible());
    Form1->action(QStringLiteral("JAVAAction"))->trigger();
    Form1->action(QStringLiteral("JavaJavaAction"))->trigger();
    QVERIFY(Form5->isVisible());
    QListView* javaView = Form5->findChild<QListView*>(QStringLiteral("ListBox1"));
    QCOMPARE(javaView->model()->rowCount(), 1);
    QCOMPARE(javaView->model()->index(0, 0).data().toString(), QStringLiteral("j1"));
}

void TestPhraseBar::restoreWithoutBackup()
{
    start();
    fillList({"keep"});
    Form1->action(QStringLiteral("COMBbakAction"))->trigger();
    const QString path = QDir::toNativeSeparators(env_->path("COMBOLOG.bak"));
    QCOMPARE(env_->prompts->texts(), QStringList{QStringLiteral("ファイル %1 は開けません").arg(path)});
    QCOMPARE(list().texts(), QStringList{"keep"});
}

void TestPhraseBar::clearKeepsRegister()
{
    pel::test::writeFile(env_->path("COMBLOG.TXT"), "a\r\nb\r\n");
    start();
    fillList({"added"});
    Form3->list().Append(QStringLiteral("kept"));
    pel::test::mainEditor().setText(QStringLiteral("document"));
    for (int i = 0; i < 4; ++i)
        env_->prompts->answers.enqueue(pel::Prompts::Answer::Yes);
    Form1->action(QStringLiteral("ClearAction"))->trigger();
    QCOMPARE(pel::test::mainEditor().text(), QString());
    // Nothing registered since start is thrown away.
    QCOMPARE(list().texts(), (QStringList{"a", "b", "added"}));
    QCOMPARE(Form3->list().texts(), QStringList{"kept"});
    QCOMPARE(field(), kFieldStart);
}

void TestPhraseBar::listWindowTranscribesIntoDocument()
{
    start();
    for (const char* text : {"A", "B", "C"})
        Form5->list().Append(QString::fromLatin1(text));
    Form1->action(QStringLiteral("JavaJavaAction"))->trigger();
    QListView* view = Form5->findChild<QListView*>(QStringLiteral("ListBox1"));
    view->selectionModel()->select(view->model()->index(2, 0), QItemSelectionModel::Select);
    view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::Select);
    pel::test::mainEditor().setText(QStringLiteral("x[sel]y"));
    pel::test::mainEditor().session().select(1, 6);

    QTest::mouseClick(Form5->findChild<QPushButton*>(QStringLiteral("Button4")), Qt::LeftButton);
    QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("xACy"));
    QCOMPARE(pel::test::mainEditor().caret(), 3);
    QCOMPARE(Form1->ChangeIndicator(), kChanged);
    // Again at once: the window kept its selection.
    QTest::mouseClick(Form5->findChild<QPushButton*>(QStringLiteral("Button4")), Qt::LeftButton);
    QCOMPARE(pel::test::mainEditor().text(), QStringLiteral("xACACy"));
}

QTEST_MAIN(TestPhraseBar)
#include "tst_phrasebar.moc"
