// Find and replace through the main window's dialogs.
#include "MainFixture.h"

#include "main/FindReplaceDialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

using Icon = pel::Prompts::Icon;

namespace {

// 200 short lines; "apple" on lines 5, 50 and 150, "Apple" on line 120.
QString orchard()
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("行%1").arg(i);
    lines[5] = QStringLiteral("apple");
    lines[50] = QStringLiteral("an apple pie");
    lines[120] = QStringLiteral("Apple");
    lines[150] = QStringLiteral("apple");
    return lines.join(u'\n');
}

} // namespace

class TestFind : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { f.reset(); }

    void findDialogAtFirstShow();
    void replaceDialogControls();
    void findGoingDown_data();
    void findGoingDown();
    void repeatedFindsWalkDown();
    void findGoingUp_data();
    void findGoingUp();
    void findsBeyondFourKilobytes();
    void findsAcrossAWrap();
    void lineMatchWithoutMatchBehindSelection();
    void clearEmptiesSearchText();
    void replace_data();
    void replace();
    void replaceNotFound();
    void replaceFindNextDoesNothing();

private:
    std::unique_ptr<MainFixture> f;
    FindDialog* findDialog() const { return pel::test::mainChild<FindDialog>("FindDialog1"); }
    ReplaceDialog* replaceDialog() const { return pel::test::mainChild<ReplaceDialog>("ReplaceDialog1"); }
    int linePosition(int line) const { return int(f->session().document().lineStart(line)); }
    int topLine() const { return f->session().document().lineAt(f->driver().positionAt(QPoint(2, 2))); }
    int caretLine() const { return f->session().document().lineAt(f->driver().caret()); }
    void setCaret(int position, int length = 0) { f->driver().select(position, length); }
    void find(const QString& needle, bool down = true)
    {
        f->run("FindAction");
        findDialog()->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->setText(needle);
        findDialog()->findChild<QRadioButton*>(down ? QStringLiteral("DownButton") : QStringLiteral("UpButton"))->click();
        QTest::mouseClick(findDialog()->findChild<QPushButton*>(QStringLiteral("FindNextButton")), Qt::LeftButton);
    }
};

void TestFind::init()
{
    f = std::make_unique<MainFixture>();
    f->start();
    f->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f->main()));
}

void TestFind::findDialogAtFirstShow()
{
    QVERIFY(!findDialog()->isVisible());
    QTest::mouseClick(f->main().findChild<QToolButton*>(QStringLiteral("FindButton")), Qt::LeftButton);
    FindDialog* dialog = findDialog();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->objectName(), QStringLiteral("FindDialog1"));
    QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("DownButton"))->isChecked());
    QVERIFY(!dialog->findChild<QRadioButton*>(QStringLiteral("UpButton"))->isChecked());
    QVERIFY(dialog->findChild<QCheckBox*>(QStringLiteral("MatchCaseBox"))->isChecked());
    QVERIFY(dialog->findChild<QCheckBox*>(QStringLiteral("WholeWordBox"))->isVisible());
    // Left edge at the editor's top offset, top edge at its left offset.
    const QRect editor = f->editor().geometry();
    QVERIFY(editor.top() > 0);
    QCOMPARE(dialog->pos(), QPoint(editor.top(), editor.left()));
    // Nothing to search for yet: the button waits for text.
    auto* next = dialog->findChild<QPushButton*>(QStringLiteral("FindNextButton"));
    QVERIFY(!next->isEnabled());
    dialog->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->setText(QStringLiteral("a"));
    QVERIFY(next->isEnabled());
    // The editor is still usable while the dialog is open.
    QVERIFY(f->editor().isEnabled());
}

void TestFind::replaceDialogControls()
{
    f->main().findChild<QAction*>(QStringLiteral("Okikae1"))->trigger();
    ReplaceDialog* dialog = replaceDialog();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->isVisible());
    QVERIFY(dialog->findChild<QLineEdit*>(QStringLiteral("ReplaceEdit"))->isVisible());
    QVERIFY(!dialog->findChild<QCheckBox*>(QStringLiteral("WholeWordBox"))->isVisible());
    QVERIFY(!dialog->findChild<QCheckBox*>(QStringLiteral("MatchCaseBox"))->isVisible());
    QVERIFY(dialog->findChildren<QRadioButton*>().isEmpty());
    for (const char* name : {"FindNextButton", "ReplaceButton", "ReplaceAllButton"})
        QVERIFY2(dialog->findChild<QPushButton*>(QString::fromLatin1(name))->isVisible(), name);
}

void TestFind::findGoingDown_data()
{
    QTest::addColumn<int>("caretLine");
    QTest::addColumn<int>("selected");   // length of a selection at the caret line's start
    QTest::addColumn<QString>("needle");
    QTest::addColumn<bool>("matchCaseTicked");
    QTest::addColumn<int>("expectedLine");   // line of the selected match; -1: not found
    QTest::addColumn<int>("expectedColumn");
    QTest::addColumn<int>("expectedTop");    // first visible line; -1: not checked

    QTest::newRow("from the top") << 0 << 0 << "apple" << true << 5 << 0 << 5;
    QTest::newRow("on the caret line") << 5 << 0 << "apple" << true << 5 << 0 << 5;
    // Nothing selected: the match is the first in the document, although
    // the line search started below it.
    QTest::newRow("first of document") << 60 << 0 << "apple" << true << 5 << 0 << -1;
    QTest::newRow("behind a selection") << 40 << 3 << "apple" << true << 50 << 3 << 50;
    QTest::newRow("only above the caret") << 160 << 0 << "apple" << true << -1 << 0 << -1;
    QTest::newRow("case always matters") << 100 << 2 << "Apple" << true << 120 << 0 << 120;
    QTest::newRow("case matters unticked") << 100 << 2 << "Apple" << false << 120 << 0 << 120;
    QTest::newRow("upper case not lower") << 121 << 0 << "APPLE" << false << -1 << 0 << -1;
    QTest::newRow("double-byte") << 0 << 0 << "行9" << true << 9 << 0 << 9;
    QTest::newRow("missing") << 0 << 0 << "pear" << true << -1 << 0 << -1;
}

void TestFind::findGoingDown()
{
    QFETCH(int, caretLine);
    QFETCH(int, selected);
    QFETCH(QString, needle);
    QFETCH(bool, matchCaseTicked);
    QFETCH(int, expectedLine);
    QFETCH(int, expectedColumn);
    QFETCH(int, expectedTop);

    f->driver().setText(orchard());
    setCaret(linePosition(caretLine), selected);
    const int topBefore = topLine();
    f->run("FindAction");
    findDialog()->findChild<QCheckBox*>(QStringLiteral("MatchCaseBox"))->setChecked(matchCaseTicked);
    find(needle);

    const pel::Selection cursor = f->driver().selection();
    if (expectedLine < 0) {
        QCOMPARE(f->env->prompts->shown.size(), 1);
        QCOMPARE(f->env->prompts->shown[0].caption, QStringLiteral("Pelmora"));
        QCOMPARE(f->env->prompts->shown[0].text, needle + QStringLiteral("は、見つかりません。"));
        QCOMPARE(f->env->prompts->shown[0].icon, Icon::None);
        QCOMPARE(cursor.start(), linePosition(caretLine));
        QCOMPARE(cursor.end(), linePosition(caretLine) + selected);
        QCOMPARE(topLine(), topBefore);
        return;
    }
    QVERIFY(f->env->prompts->shown.isEmpty());
    QCOMPARE(cursor.start(), linePosition(expectedLine) + expectedColumn);
    QCOMPARE(f->driver().selectedText(), needle);
    // A selection made by the find enables the clipboard commands.
    QVERIFY(f->main().action(QStringLiteral("CopyAction"))->isEnabled());
    if (expectedTop >= 0)
        QCOMPARE(topLine(), expectedTop);
}

void TestFind::repeatedFindsWalkDown()
{
    f->driver().setText(orchard());
    setCaret(0);
    QList<int> found;
    for (int i = 0; i < 3; ++i) {
        find(QStringLiteral("apple"));
        found << caretLine();
        // The match selected is in view.
        QVERIFY(f->editor().viewport()->rect().contains(f->driver().caretRect(f->driver().caret())));
    }
    QCOMPARE(found, (QList<int>{5, 50, 150}));
    QVERIFY(f->env->prompts->shown.isEmpty());
    // Past the last one: the message, and the last match stays selected.
    find(QStringLiteral("apple"));
    QCOMPARE(f->env->prompts->texts(), QStringList{QStringLiteral("appleは、見つかりません。")});
    QCOMPARE(f->driver().selection().start(), linePosition(150));
    QCOMPARE(f->driver().selectedText(), QStringLiteral("apple"));
}

void TestFind::findGoingUp_data()
{
    QTest::addColumn<int>("caretLine");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("expectedTop");  // -1: not found

    QTest::newRow("nearest above") << 100 << "apple" << 50;
    QTest::newRow("on the caret line") << 150 << "apple" << 150;
    QTest::newRow("from the end") << 199 << "apple" << 150;
    QTest::newRow("case matters") << 199 << "Apple" << 120;
    QTest::newRow("only below the caret") << 3 << "apple" << -1;
}

void TestFind::findGoingUp()
{
    QFETCH(int, caretLine);
    QFETCH(QString, needle);
    QFETCH(int, expectedTop);

    f->driver().setText(orchard());
    setCaret(linePosition(caretLine) + 1);
    const int topBefore = topLine();
    // Twice: the caret has not moved, so the same line comes to the top.
    for (int round = 0; round < 2; ++round) {
        find(needle, false);
        QVERIFY(f->driver().selection().isEmpty());
        QCOMPARE(f->driver().caret(), linePosition(caretLine) + 1);
        if (expectedTop < 0) {
            QCOMPARE(f->env->prompts->texts().value(round), needle + QStringLiteral("は、見つかりません。"));
            QCOMPARE(topLine(), topBefore);
        } else {
            QVERIFY(f->env->prompts->shown.isEmpty());
            QCOMPARE(topLine(), expectedTop);
        }
    }
}

void TestFind::findsBeyondFourKilobytes()
{
    // A match far to the right of a long line is found, wrapped or not.
    for (bool wrap : {false, true}) {
        f->editor().setWordWrap(wrap);
        f->driver().setText(QStringLiteral("first\n") + QString(6000, u'漢') + QStringLiteral("needle"));
        setCaret(0);
        find(QStringLiteral("needle"));
        QVERIFY(f->env->prompts->shown.isEmpty());
        QCOMPARE(f->driver().selection().start(), 6 + 6000);
        QCOMPARE(f->driver().selectedText(), QStringLiteral("needle"));
    }
}

void TestFind::findsAcrossAWrap()
{
    // Where the editor wraps a long line, a match may start on one display
    // line and end on the next; it is still found.
    const pel::test::EditorDriver editor = f->driver();
    editor.setText(QString(400, u'あ'));
    const int lineHeight = editor.caretRect(0).height();
    const int secondLineStart = int(editor.positionAt(QPoint(1, lineHeight * 3 / 2)));
    QVERIFY(secondLineStart > 1 && secondLineStart < 400);

    QString text(400, u'あ');
    text[secondLineStart - 1] = u'い';
    text[secondLineStart] = u'う';
    editor.setText(text);
    QVERIFY2(editor.caretRect(secondLineStart - 1).top() < editor.caretRect(secondLineStart + 1).top(),
             "the match straddles the wrap");

    setCaret(0);
    find(QStringLiteral("いう"));
    QVERIFY(f->env->prompts->shown.isEmpty());
    QCOMPARE(editor.selection().start(), secondLineStart - 1);
    QCOMPARE(editor.selectedText(), QStringLiteral("いう"));
}

void TestFind::lineMatchWithoutMatchBehindSelection()
{
    // The caret's line holds the text, but only before the end of the
    // selection: reported as not found, the selection stays.
    f->driver().setText(QStringLiteral("abc abc\nxyz"));
    setCaret(4, 3);
    find(QStringLiteral("abc"));
    QCOMPARE(f->env->prompts->texts(), QStringList{QStringLiteral("abcは、見つかりません。")});
    QCOMPARE(f->driver().selection().start(), 4);
    QCOMPARE(f->driver().selection().end(), 7);
}

void TestFind::clearEmptiesSearchText()
{
    find(QStringLiteral("pear"));
    QCOMPARE(findDialog()->findText(), QStringLiteral("pear"));
    f->run("ClearAction");
    QCOMPARE(findDialog()->findText(), QString());
}

void TestFind::replace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first, caret at the end") << "aa\nbb\ncc\ncc" << "cc" << "XY" << "ReplaceButton" << "aa\nbb\nXY\ncc";
    QTest::newRow("replace all replaces one") << "cc cc\ncc" << "cc" << "d" << "ReplaceAllButton" << "d cc\ncc";
    QTest::newRow("empty replacement deletes") << "a-b-c" << "-" << "" << "ReplaceButton" << "ab-c";
    QTest::newRow("double-byte") << "漢字と漢字" << "漢字" << "かんじ" << "ReplaceButton" << "かんじと漢字";
    QTest::newRow("case matters") << "ABC abc" << "abc" << "x" << "ReplaceButton" << "ABC x";
    QTest::newRow("across a line break") << "ab\ncd" << "b\r\nc" << "-" << "ReplaceButton" << "a-d";
}

void TestFind::replace()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(QString, replacement);
    QFETCH(QString, button);
    QFETCH(QString, expected);

    f->driver().setText(text);
    setCaret(text.size());
    f->run("ReplaceAction");
    replaceDialog()->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->setText(needle);
    replaceDialog()->findChild<QLineEdit*>(QStringLiteral("ReplaceEdit"))->setText(replacement);
    QTest::mouseClick(replaceDialog()->findChild<QPushButton*>(button), Qt::LeftButton);
    QVERIFY(f->env->prompts->shown.isEmpty());
    QCOMPARE(f->driver().text(), expected);
    // The caret stands behind the replacement.
    const int at = text.indexOf(needle.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(f->driver().caret(), at + replacement.size());
}

void TestFind::replaceNotFound()
{
    f->driver().setText(QStringLiteral("abc"));
    setCaret(1, 1);
    f->run("ReplaceAction");
    replaceDialog()->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->setText(QStringLiteral("ABC"));
    QTest::mouseClick(replaceDialog()->findChild<QPushButton*>(QStringLiteral("ReplaceButton")), Qt::LeftButton);
    QCOMPARE(f->env->prompts->shown.size(), 1);
    QCOMPARE(f->env->prompts->shown[0].caption, QStringLiteral("エラー"));
    QCOMPARE(f->env->prompts->shown[0].icon, Icon::Error);
    QCOMPARE(f->env->prompts->shown[0].text, QStringLiteral("ABC\" は見つかりませんでした。"));
    QCOMPARE(f->driver().text(), QStringLiteral("abc"));
    QCOMPARE(f->driver().selectedText(), QStringLiteral("b"));
}

void TestFind::replaceFindNextDoesNothing()
{
    f->driver().setText(QStringLiteral("abc abc"));
    setCaret(0);
    f->run("ReplaceAction");
    replaceDialog()->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->setText(QStringLiteral("abc"));
    replaceDialog()->findChild<QLineEdit*>(QStringLiteral("ReplaceEdit"))->setText(QStringLiteral("x"));
    auto* next = replaceDialog()->findChild<QPushButton*>(QStringLiteral("FindNextButton"));
    QVERIFY(next->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(f->driver().text(), QStringLiteral("abc abc"));
    QVERIFY(f->driver().selection().isEmpty());
    QVERIFY(f->env->prompts->shown.isEmpty());
}

QTEST_MAIN(TestFind)
#include "tst_find.moc"
