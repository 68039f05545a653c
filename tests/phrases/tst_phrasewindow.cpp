#include "phrases/PelJava.h"
#include "phrases/Pellist.h"
#include "platform/ColorNames.h"
#include "platform/EditorPort.h"
#include "platform/Hints.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

// A document with the caret at its end: what the window hands over lands
// there, one text behind the other.
class FakeEditor final : public pel::EditorPort {
public:
    QString inserted;
    int aboutShown = 0;
    void ReplaceEditorSelection(const QString& text) override { inserted += text; }
    QString selectedText() const override { return {}; }
    void showAboutModal() override { ++aboutShown; }
};

std::unique_ptr<PhraseListWindow> makeWindow(const QString& form, pel::EditorPort& editor)
{
    if (form == u"TForm3")
        return std::make_unique<TForm3>(editor);
    return std::make_unique<TForm5>(editor);
}

} // namespace

class TestPhraseWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void looks_data();
    void looks();
    void hints_data();
    void hints();
    void addButton_data();
    void addButton();
    void enterAddsEvenEmpty_data() { bothForms(); }
    void enterAddsEvenEmpty();
    void transcribesInListOrder_data() { bothForms(); }
    void transcribesInListOrder();
    void doubleClick_data() { bothForms(); }
    void doubleClick();
    void deleteActsOnFocusMark_data() { bothForms(); }
    void deleteActsOnFocusMark();
    void moves_data();
    void moves();
    void upToTheTop_data() { bothForms(); }
    void upToTheTop();
    void clearAndAbout_data() { bothForms(); }
    void clearAndAbout();
    void escapeAndExitHide_data() { bothForms(); }
    void escapeAndExitHide();
    void registerFile_data();
    void registerFile();

private:
    static void bothForms();
    // A shown window holding `entries`.
    void open(const QString& form, const QStringList& entries);
    void click(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void doubleClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QStringList selectedTexts() const;
    QPushButton* button(const QString& name) const;

    std::unique_ptr<pel::test::TestEnvironment> env_;
    FakeEditor editor_;
    std::unique_ptr<PhraseListWindow> window_;
};

void TestPhraseWindow::init()
{
    env_ = std::make_unique<pel::test::TestEnvironment>();
    editor_ = FakeEditor();
}

void TestPhraseWindow::cleanup()
{
    window_.reset();
    env_.reset();
}

void TestPhraseWindow::bothForms()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("ListBox") << QStringLiteral("TForm3");
    QTest::newRow("JavaJava") << QStringLiteral("TForm5");
}

void TestPhraseWindow::open(const QString& form, const QStringList& entries)
{
    window_ = makeWindow(form, editor_);
    for (const QString& entry : entries)
        window_->list().Append(entry);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestPhraseWindow::doubleClickRow(int row, Qt::KeyboardModifiers modifiers)
{
    // What the system sends: press, release, double-click, release.
    QListView* view = window_->ListBox1;
    const QPoint at = view->visualRect(window_->list().index(row)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, modifiers, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, modifiers, at);
}

void TestPhraseWindow::click(int row, Qt::KeyboardModifiers modifiers)
{
    QListView* view = window_->ListBox1;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                      view->visualRect(window_->list().index(row)).center());
}

QStringList TestPhraseWindow::selectedTexts() const
{
    QStringList texts;
    for (int row = 0; row < window_->list().count(); ++row)
        if (window_->ListBox1->selectionModel()->isRowSelected(row))
            texts << window_->list().entryText(row);
    return texts;
}

QPushButton* TestPhraseWindow::button(const QString& name) const
{
    auto* found = window_->findChild<QPushButton*>(name);
    if (!found)
        qWarning("no button %s", qPrintable(name));
    return found;
}

void TestPhraseWindow::looks_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("addName");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QColor>("fontColour");
    QTest::addColumn<int>("listPixels");
    QTest::addColumn<QColor>("labelColour");
    QTest::newRow("ListBox") << "TForm3" << "ListBox" << "AddItem" << QSize(257, 366) << QPoint(499, 13)
                             << QColor(0, 0, 128) << 13 << QColor(255, 255, 0);
    QTest::newRow("JavaJava") << "TForm5" << "JavaJava" << "Add" << QSize(269, 394) << QPoint(487, 24)
                              << QColor() << 15 << QColor(0, 255, 255);
}

void TestPhraseWindow::looks()
{
    QFETCH(QString, form);
    QFETCH(QString, caption);
    QFETCH(QString, addName);
    QFETCH(QSize, size);
    QFETCH(QPoint, position);
    QFETCH(QColor, fontColour);
    QFETCH(int, listPixels);
    QFETCH(QColor, labelColour);

    window_ = makeWindow(form, editor_);
    QCOMPARE(window_->objectName(), form);
    QCOMPARE(window_->windowTitle(), caption);
    QCOMPARE(window_->size(), size);
    QCOMPARE(window_->minimumSize(), size);
    QCOMPARE(window_->maximumSize(), size);
    QCOMPARE(window_->pos(), position);
    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(!(flags & Qt::WindowCloseButtonHint));
    QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    QCOMPARE(window_->palette().color(QPalette::Window), QColor(0, 128, 128));
    if (fontColour.isValid())
        QCOMPARE(window_->palette().color(QPalette::ButtonText), fontColour);
    QCOMPARE(window_->ListBox1->font().pixelSize(), listPixels);
    QCOMPARE(window_->ListBox1->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(window_->ListBox1->selectionMode(), QAbstractItemView::ExtendedSelection);
    auto* label = window_->findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("ここに↓新しいデーターを入力して下さい"));
    QCOMPARE(label->palette().color(QPalette::WindowText), labelColour);

    const QList<QPair<QString, QString>> captions = {
        {addName, "追加"}, {"Clear", "クリア"}, {"Delete", "削除"}, {"Button1", "移動"},
        {"Button2", "先頭"}, {"Button3", "最後部"}, {"About", "情報"}, {"Button4", "転記"},
        {"Button5", "↑"}, {"Button6", "↓"}, {"Exit", "終了"},
    };
    for (const auto& [name, text] : captions) {
        QPushButton* b = button(name);
        QVERIFY2(b, qPrintable(name));
        QCOMPARE(b->text(), text);
        // Every control lies inside the fixed client area.
        QVERIFY2(QRect(QPoint(), size).contains(b->geometry()), qPrintable(name));
    }
    QVERIFY(QRect(QPoint(), size).contains(window_->ListBox1->geometry()));
    QVERIFY(QRect(QPoint(), size).contains(window_->Edit1->geometry()));
}

void TestPhraseWindow::hints_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("toolTip");

    const auto row = [](const char* form, const char* control, const QString& hint, const QString& tip) {
        QTest::addRow("%s %s", form, control) << form << control << hint << tip;
    };
    row("TForm3", "", "|ダブルクリックすると転記出来ます｡", "");
    row("TForm3", "ListBox1", "ListBox|文字をダブルクリックして転記します", "");
    row("TForm3", "AddItem", "追加|新しいテーターを追加します", "");
    row("TForm3", "Clear", "クリア|すべてのテーターをクリアします", "");
    row("TForm3", "Delete", "削除|選択範囲を削除します", "");
    row("TForm3", "Button1", "移動|クリックすると登録したアイテム全体が1個づつ移動します", "移動");
    row("TForm3", "Button2", "先頭へ移動|選択したアイテムを先頭に移動します", "先頭へ移動");
    row("TForm3", "Button3", "最後部へ|選択したアイテムが最後部へ移動します", "最後部へ");
    row("TForm3", "About", "情報|バージョン情報", "");
    row("TForm3", "Button4", "転記|選択した複数のアイテムでも一度に転記出来ます｡", "転記");
    row("TForm3", "Button5", "選択したアイテムをひとつ上に移動します｡", "選択したアイテムをひとつ上に移動します｡");
    row("TForm3", "Button6", "", "");
    row("TForm3", "Edit1", "追加|追加ボタン押すとリストアップします", "追加");
    row("TForm3", "Exit", "終了|ListBoxを終了します", "");
    row("TForm5", "", "", "");
    row("TForm5", "ListBox1", "JavaList|ダブルクリックすると転記します", "");
    row("TForm5", "Add", "追加|Itemを追加します", "");
    row("TForm5", "Clear", "クリア|すべてのItemをクリアします", "");
    row("TForm5", "Delete", "削除|選択部分を削除します", "");
    row("TForm5", "Button1", "移動|クリックすると登録したアイテム全体が1個づつ移動します", "移動");
    row("TForm5", "Button2", "先頭へ移動|選択したアイテムが先頭へ移動します", "先頭へ移動");
    row("TForm5", "Button3", "最後部へ移動|選択したアイテムが最後部へ移動します", "最後部へ移動");
    row("TForm5", "About", "情報|バージョン情報", "");
    row("TForm5", "Button4", "転記|選択した複数のアイテムでも一度に転記出来ます", "転記");
    row("TForm5", "Edit1", "|Itemを入力して下さい", "");
    row("TForm5", "Exit", "終了|JavaJavaを終了します", "");
}

void TestPhraseWindow::hints()
{
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(QString, hint);
    QFETCH(QString, toolTip);
    window_ = makeWindow(form, editor_);
    QWidget* widget = control.isEmpty() ? window_.get() : window_->findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(pel::hintOf(widget), hint);
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestPhraseWindow::addButton_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("addName");
    QTest::addColumn<bool>("emptyFocusesField");
    QTest::newRow("ListBox") << "TForm3" << "AddItem" << false;
    QTest::newRow("JavaJava") << "TForm5" << "Add" << true;
}

void TestPhraseWindow::addButton()
{
    QFETCH(QString, form);
    QFETCH(QString, addName);
    QFETCH(bool, emptyFocusesField);
    open(form, {"A"});
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->ListBox1->setFocus();

    // Empty field: nothing is added.
    QTest::mouseClick(button(addName), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), QStringList{"A"});
    QCOMPARE(window_->Edit1->hasFocus(), emptyFocusesField);

    // A text is appended, the field emptied and focused.
    window_->ListBox1->setFocus();
    window_->Edit1->setText(QStringLiteral("新しい"));
    QTest::mouseClick(button(addName), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), (QStringList{"A", "新しい"}));
    QVERIFY(window_->Edit1->text().isEmpty());
    QVERIFY(window_->Edit1->hasFocus());
}

void TestPhraseWindow::enterAddsEvenEmpty()
{
    QFETCH(QString, form);
    open(form, {});
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    window_->Edit1->setFocus();
    QTest::keyClicks(window_->Edit1, QStringLiteral("abc"));
    QTest::keyClick(window_->Edit1, Qt::Key_Return);
    QTest::keyClick(window_->Edit1, Qt::Key_Enter);
    QCOMPARE(window_->list().texts(), (QStringList{"abc", ""}));
    QVERIFY(window_->Edit1->text().isEmpty());
    QVERIFY(window_->Edit1->hasFocus());
    // Enter did not reach the window: it is still open.
    QVERIFY(window_->isVisible());
}

void TestPhraseWindow::transcribesInListOrder()
{
    QFETCH(QString, form);
    open(form, {"A", "B", "C", "D"});
    // C selected before A; the document gets A then C.
    click(2);
    click(0, Qt::ControlModifier);
    QCOMPARE(selectedTexts(), (QStringList{"A", "C"}));
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QCOMPARE(editor_.inserted, QStringLiteral("AC"));
    // The selection stays; the same entries go again.
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QCOMPARE(editor_.inserted, QStringLiteral("ACAC"));

    // A range with Shift.
    editor_.inserted.clear();
    click(1);
    click(3, Qt::ShiftModifier);
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QCOMPARE(editor_.inserted, QStringLiteral("BCD"));

    // Nothing selected: nothing happens.
    editor_.inserted.clear();
    window_->ListBox1->clearSelection();
    QTest::mouseClick(button("Button4"), Qt::LeftButton);
    QVERIFY(editor_.inserted.isEmpty());
}

void TestPhraseWindow::doubleClick()
{
    QFETCH(QString, form);
    open(form, {"A", "B", "C"});
    click(0);
    click(1, Qt::ControlModifier);
    // A plain double-click selects that entry alone and transcribes it.
    doubleClickRow(2);
    QCOMPARE(selectedTexts(), QStringList{"C"});
    QCOMPARE(editor_.inserted, QStringLiteral("C"));

    // With Ctrl: every entry selected after the click, in list order.
    editor_.inserted.clear();
    doubleClickRow(0, Qt::ControlModifier);
    QCOMPARE(selectedTexts(), (QStringList{"A", "C"}));
    QCOMPARE(editor_.inserted, QStringLiteral("AC"));
}

void TestPhraseWindow::deleteActsOnFocusMark()
{
    QFETCH(QString, form);
    open(form, {"A", "B", "C", "D"});
    click(0);
    click(3, Qt::ControlModifier);
    click(1, Qt::ControlModifier);  // the focus mark is on B
    QCOMPARE(window_->list().current(), 1);
    QCOMPARE(selectedTexts(), (QStringList{"A", "B", "D"}));
    QTest::mouseClick(button("Delete"), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), (QStringList{"A", "C", "D"}));
    QCOMPARE(selectedTexts(), (QStringList{"A", "D"}));
    // The mark stays in place, on the entry that moved up.
    QCOMPARE(window_->list().current(), 1);
    QCOMPARE(window_->ListBox1->currentIndex().row(), 1);

    // A focus mark on an entry that is not selected is still what goes.
    click(2, Qt::ControlModifier);  // D deselected, mark on D
    QCOMPARE(selectedTexts(), QStringList{"A"});
    QTest::mouseClick(button("Delete"), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), (QStringList{"A", "C"}));
    QCOMPARE(window_->list().current(), 1);

    QTest::mouseClick(button("Delete"), Qt::LeftButton);
    QTest::mouseClick(button("Delete"), Qt::LeftButton);
    QVERIFY(window_->list().texts().isEmpty());
    // On an empty list it does nothing.
    QTest::mouseClick(button("Delete"), Qt::LeftButton);
    QCOMPARE(window_->list().current(), -1);
}

void TestPhraseWindow::moves_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<int>("markRow");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("markAfter");

    for (const char* form : {"TForm3", "TForm5"}) {
        QTest::addRow("%s rotate", form) << form << "Button1" << 1 << QStringList{"B", "C", "D", "A"} << 0;
        QTest::addRow("%s top", form) << form << "Button2" << 2 << QStringList{"C", "A", "B", "D"} << 0;
        QTest::addRow("%s bottom", form) << form << "Button3" << 1 << QStringList{"A", "C", "D", "B"} << 3;
        QTest::addRow("%s up", form) << form << "Button5" << 2 << QStringList{"A", "C", "B", "D"} << 1;
        QTest::addRow("%s down", form) << form << "Button6" << 1 << QStringList{"A", "C", "B", "D"} << 2;
        QTest::addRow("%s up on first", form) << form << "Button5" << 0 << QStringList{"A", "B", "C", "D"} << 0;
        QTest::addRow("%s down on last", form) << form << "Button6" << 3 << QStringList{"A", "B", "C", "D"} << 3;
    }
}

void TestPhraseWindow::moves()
{
    QFETCH(QString, form);
    QFETCH(QString, buttonName);
    QFETCH(int, markRow);
    QFETCH(QStringList, after);
    QFETCH(int, markAfter);
    open(form, {"A", "B", "C", "D"});
    // Everything selected, the mark on markRow.
    click(0);
    click(3, Qt::ShiftModifier);
    click(markRow, Qt::ControlModifier);
    click(markRow, Qt::ControlModifier);
    QCOMPARE(window_->list().current(), markRow);
    const QString marked = window_->list().entryText(markRow);
    QCOMPARE(selectedTexts(), (QStringList{"A", "B", "C", "D"}));

    QTest::mouseClick(button(buttonName), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), after);
    QCOMPARE(window_->list().current(), markAfter);
    QCOMPARE(window_->ListBox1->currentIndex().row(), markAfter);
    QCOMPARE(window_->list().entryText(markAfter), marked);
    QStringList stillSelected = after;
    if (after != QStringList{"A", "B", "C", "D"}) {
        // The moved entry loses its selection; the others keep theirs.
        const QString moved = buttonName == u"Button1" ? QStringLiteral("A") : marked;
        stillSelected.removeOne(moved);
    }
    QCOMPARE(selectedTexts(), stillSelected);
}

void TestPhraseWindow::upToTheTop()
{
    QFETCH(QString, form);
    open(form, {"A", "B", "C", "D"});
    click(3);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(button("Button5"), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), (QStringList{"D", "A", "B", "C"}));
    QTest::mouseClick(button("Button5"), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), (QStringList{"D", "A", "B", "C"}));
    QCOMPARE(window_->list().current(), 0);
    // Back down with the keyboard's focus mark untouched in between.
    QTest::mouseClick(button("Button6"), Qt::LeftButton);
    QCOMPARE(window_->list().texts(), (QStringList{"A", "D", "B", "C"}));
}

void TestPhraseWindow::clearAndAbout()
{
    QFETCH(QString, form);
    open(form, {"A", "B"});
    click(1);
    QTest::mouseClick(button("Clear"), Qt::LeftButton);
    QVERIFY(window_->list().texts().isEmpty());
    QCOMPARE(window_->list().current(), -1);
    // The moves on an empty list do nothing.
    for (const char* name : {"Button1", "Button2", "Button3", "Button5", "Button6", "Delete", "Button4"})
        QTest::mouseClick(button(name), Qt::LeftButton);
    QVERIFY(window_->list().texts().isEmpty());
    QVERIFY(editor_.inserted.isEmpty());

    QTest::mouseClick(button("About"), Qt::LeftButton);
    QCOMPARE(editor_.aboutShown, 1);
    QVERIFY(window_->isVisible());
}

void TestPhraseWindow::escapeAndExitHide()
{
    QFETCH(QString, form);
    open(form, {"A", "B"});
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    click(1);
    QTest::keyClick(window_->ListBox1, Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
    window_->show();
    QCOMPARE(window_->list().texts(), (QStringList{"A", "B"}));
    QCOMPARE(window_->ListBox1->model()->rowCount(), 2);
    QTest::mouseClick(button("Exit"), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
    QCOMPARE(window_->list().texts(), (QStringList{"A", "B"}));
}

void TestPhraseWindow::registerFile_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("ListBox") << "TForm3" << "HOMELOG.TXT";
    QTest::newRow("JavaJava") << "TForm5" << "JAVALOG.TXT";
}

void TestPhraseWindow::registerFile()
{
    QFETCH(QString, form);
    QFETCH(QString, fileName);
    const QString path = env_->path(fileName);
    pel::test::writeFile(path, "one\ntwo\r\n");
    window_ = makeWindow(form, editor_);
    QCOMPARE(window_->list().texts(), (QStringList{"one", "two"}));
    window_->list().Append(QStringLiteral("ｱ"));
    // Written at the end even when never shown.
    window_.reset();
    QCOMPARE(pel::test::readFile(path), QByteArray("one\r\ntwo\r\n\xB1\r\n"));
    QVERIFY(env_->prompts->shown.isEmpty());

    // An unreadable register file is reported and the list starts empty.
    QFile::remove(path);
    QVERIFY(QDir(env_->programDirectory()).mkdir(fileName));
    window_ = makeWindow(form, editor_);
    QVERIFY(window_->list().texts().isEmpty());
    QCOMPARE(env_->prompts->shown.size(), 1);
    QVERIFY(env_->prompts->texts().first().startsWith(QStringLiteral("ファイル %1 は開けません\r\n").arg(path)));
    // Nothing is written over a register that could not be read.
    window_.reset();
    QCOMPARE(env_->prompts->shown.size(), 1);
    QVERIFY(QFileInfo(path).isDir());
}

QTEST_MAIN(TestPhraseWindow)
#include "tst_phrasewindow.moc"
