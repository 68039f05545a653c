// The editing commands of the main window, driven through its menus and
// buttons: clipboard, undo, delete, clear, selection, font, colours, word
// wrap, printing and the caret report.
#include "MainFixture.h"

#include "main/DocumentPrinter.h"
#include "platform/Printing.h"
#include "platform/RegistryKey.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using Answer = pel::Prompts::Answer;

namespace {
const QString kClearQuestion = QStringLiteral("現在の内容を破棄します｡よろしいですか｡");

int pdfPages(const QString& path)
{
    const QString pdf = QString::fromLatin1(pel::test::readFile(path));
    return int(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

QString report(int line, int column)
{
    return QStringLiteral("カーソルの位置は　%1行目の　%2文字目です｡").arg(line).arg(column);
}
} // namespace

class TestEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { f.reset(); }

    void pasteFollowsClipboardOnlyAtStartAndCopy_data();
    void pasteFollowsClipboardOnlyAtStartAndCopy();
    void cutAndCopyFollowSelection();
    void clipboardCommands();
    void pasteWithoutTextStillClearsFlag();
    void undoAfterTypingButNotAfterInsertion();
    void deleteCommand_data();
    void deleteCommand();
    void clear_data();
    void clear();
    void clearReturnsWindowToStoredPlace();
    void selectAllAndDeselect();
    void wordWrapToggles_data();
    void wordWrapToggles();
    void caretReport_data();
    void caretReport();
    void caretReportOnWrappedLines();
    void escapeCollapsesSelection();
    void fontCommand();
    void fontApplyGoesToActiveControl();
    void backgroundColour();
    void printsDocumentToPdf();
    void cancelledPrintWritesNothing();
    void printFailureIsReported();
    void printerSetupIsSharedWithPrinting();
    void printedPageRange_data();
    void printedPageRange();

private:
    std::unique_ptr<MainFixture> f;
    QAction* act(const char* name) const { return f->main().action(QString::fromLatin1(name)); }
    QToolButton* button(const char* name) const
    {
        return f->main().findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QAction* entry(const char* name) const { return f->main().findChild<QAction*>(QString::fromLatin1(name)); }
    void select(int start, int length) { f->driver().select(start, length); }
    void clickAt(int position) { f->driver().clickAt(position); }
    QString status() const { return pel::test::mainChild<QStatusBar>("StatusBar1")->currentMessage(); }
    static QString pdfPath(const QTemporaryDir& dir) { return dir.filePath(QStringLiteral("out.pdf")); }
    void printTo(const QString& pdf)
    {
        f->env->dialogs->printAnswers.enqueue(true);
        f->env->dialogs->preparePrinter = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        QTest::mouseClick(button("PrintButton"), Qt::LeftButton);
    }
};

void TestEdit::init()
{
    QApplication::clipboard()->clear();
    f = std::make_unique<MainFixture>();
    f->start();
    f->main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f->main()));
}

void TestEdit::pasteFollowsClipboardOnlyAtStartAndCopy_data()
{
    QTest::addColumn<bool>("textAtStart");
    QTest::addColumn<bool>("copyWithCut");
    QTest::newRow("empty at start, copy") << false << false;
    QTest::newRow("empty at start, cut") << false << true;
    QTest::newRow("text at start, copy") << true << false;
}

void TestEdit::pasteFollowsClipboardOnlyAtStartAndCopy()
{
    QFETCH(bool, textAtStart);
    QFETCH(bool, copyWithCut);
    f.reset();
    if (textAtStart)
        QApplication::clipboard()->setText(QStringLiteral("before"));
    else
        QApplication::clipboard()->clear();
    f = std::make_unique<MainFixture>();
    f->start();
    QCOMPARE(act("PasteAction")->isEnabled(), textAtStart);
    QCOMPARE(button("PasteButton")->isEnabled(), textAtStart);
    QCOMPARE(entry("Paste1")->isEnabled(), textAtStart);

    // Another program changing the clipboard changes nothing here.
    if (textAtStart)
        QApplication::clipboard()->clear();
    else
        QApplication::clipboard()->setText(QStringLiteral("elsewhere"));
    QCOMPARE(act("PasteAction")->isEnabled(), textAtStart);

    f->driver().setText(QStringLiteral("some text"));
    select(0, 4);
    if (copyWithCut)
        QTest::mouseClick(button("CutButton"), Qt::LeftButton);
    else
        QTest::mouseClick(button("CopyButton"), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("some"));
    QVERIFY(act("PasteAction")->isEnabled());
    QVERIFY(button("PasteButton")->isEnabled());
}

void TestEdit::cutAndCopyFollowSelection()
{
    QVERIFY(!act("CutAction")->isEnabled());
    QVERIFY(!act("CopyAction")->isEnabled());
    f->driver().setText(QStringLiteral("abc"));
    select(1, 1);
    QVERIFY(button("CutButton")->isEnabled());
    QVERIFY(entry("Copy1")->isEnabled());
    select(2, 0);
    QVERIFY(!button("CutButton")->isEnabled());
    QVERIFY(!entry("Copy1")->isEnabled());
    // A disabled Copy cannot be run; after Select all it copies everything.
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    entry("Copy1")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("untouched"));
    QTest::mouseClick(button("AllSelButton"), Qt::LeftButton);
    entry("Copy1")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("abc"));
}

void TestEdit::clipboardCommands()
{
    const pel::test::EditorDriver editor = f->driver();
    editor.setText(QStringLiteral("first line\nsecond"));
    select(6, 11);  // "line\nsecond"
    f->main().session().setModifiedFlag(true);
    QVERIFY(f->main().session().modifiedFlag());
    entry("Copy1")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("line\nsecond"));
    QVERIFY(!f->main().session().modifiedFlag());

    f->main().session().setModifiedFlag(true);
    entry("Cut1")->trigger();
    QCOMPARE(editor.text(), QStringLiteral("first "));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("line\nsecond"));
    QVERIFY(!f->main().session().modifiedFlag());
    QVERIFY(!act("CutAction")->isEnabled());
    // A cut is not offered to Undo.
    act("UndoAction")->trigger();
    QCOMPARE(editor.text(), QStringLiteral("first "));

    select(0, 0);
    f->main().session().setModifiedFlag(true);
    QTest::mouseClick(button("PasteButton"), Qt::LeftButton);
    QCOMPARE(editor.text(), QStringLiteral("line\nsecondfirst "));
    QCOMPARE(editor.caret(), 11);
    QVERIFY(!f->main().session().modifiedFlag());
    QCOMPARE(f->main().ChangeIndicator(), QStringLiteral("　変更　あり"));

    // Text from elsewhere with CR LF breaks pastes as ordinary lines.
    QApplication::clipboard()->setText(QStringLiteral("x\r\ny"));
    editor.setText({});
    entry("Paste1")->trigger();
    QCOMPARE(editor.text(), QStringLiteral("x\ny"));
    QCOMPARE(f->session().document().lineCount(), 2);
}

void TestEdit::pasteWithoutTextStillClearsFlag()
{
    f->driver().setText(QStringLiteral("abc"));
    select(0, 1);
    entry("Copy1")->trigger();
    QApplication::clipboard()->clear();
    QVERIFY(act("PasteAction")->isEnabled());  // not updated by the clipboard
    f->main().session().setModifiedFlag(true);
    select(3, 0);
    entry("Paste1")->trigger();
    QCOMPARE(f->driver().text(), QStringLiteral("abc"));
    QVERIFY(!f->main().session().modifiedFlag());
}

void TestEdit::undoAfterTypingButNotAfterInsertion()
{
    const pel::test::EditorDriver editor = f->driver();
    editor.type(QStringLiteral("abc"));
    QCOMPARE(editor.text(), QStringLiteral("abc"));
    QTest::mouseClick(button("ReturnButton"), Qt::LeftButton);
    // Each key release clears the modified flag, which keeps the editor
    // from merging the keystrokes: Undo takes back the last one.
    QCOMPARE(editor.text(), QStringLiteral("ab"));
    QVERIFY(f->main().session().modifiedFlag());

    editor.type(QStringLiteral("xy"));
    f->main().session().setModifiedFlag(true);
    f->main().session().ReplaceEditorSelection(QStringLiteral("<B>"));
    entry("Undo1")->trigger();
    QCOMPARE(editor.text(), QStringLiteral("abxy<B>"));
    // Undo leaves the modified flag alone.
    QVERIFY(f->main().session().modifiedFlag());
}

void TestEdit::deleteCommand_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    for (const char* control : {"Delete1", "DelertButton"}) {
        const QString name = QString::fromLatin1(control);
        QTest::addRow("%s selection", control) << name << 2 << 4 << "abfgh";
        QTest::addRow("%s nothing selected", control) << name << 3 << 0 << "";
    }
}

void TestEdit::deleteCommand()
{
    QFETCH(QString, control);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, expected);
    const QString original = QStringLiteral("abcd\nefgh");
    f->driver().setText(original);
    select(start, length);
    f->main().session().setModifiedFlag(true);
    QVERIFY(f->main().session().modifiedFlag());
    if (auto* toolButton = f->main().findChild<QToolButton*>(control))
        QTest::mouseClick(toolButton, Qt::LeftButton);
    else
        f->main().findChild<QAction*>(control)->trigger();
    QCOMPARE(f->driver().text(), expected);
    QVERIFY(f->env->prompts->shown.isEmpty());
    QVERIFY(!f->main().session().modifiedFlag());
    // Nothing is lost for good: Undo brings the text back.
    act("UndoAction")->trigger();
    QCOMPARE(f->driver().text(), original);
}

void TestEdit::clear_data()
{
    QTest::addColumn<bool>("typed");      // typed with the keyboard, else set by a command
    QTest::addColumn<bool>("modified");   // flag at the moment of Clear
    QTest::addColumn<int>("answer");      // Answer, when asked
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("modified, yes") << false << true << int(Answer::Yes) << true << true;
    QTest::newRow("modified, no") << false << true << int(Answer::No) << true << false;
    // Text in no file is never cleared without the question, whatever the
    // editor's flag says (each key release clears it).
    QTest::newRow("not modified") << false << false << int(Answer::Yes) << true << true;
    QTest::newRow("typed") << true << false << int(Answer::No) << true << false;
}

void TestEdit::clear()
{
    QFETCH(bool, typed);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, cleared);

    if (typed) {
        f->editor().setFocus();
        QTest::keyClicks(&f->editor(), QStringLiteral("text"));
    } else {
        f->driver().setText(QStringLiteral("text"));
        f->main().session().setModifiedFlag(modified);
    }
    QCOMPARE(f->main().session().modifiedFlag(), modified);
    f->env->prompts->answers.enqueue(Answer(answer));
    entry("Create1")->trigger();

    if (asked) {
        QCOMPARE(f->env->prompts->shown.size(), 1);
        QCOMPARE(f->env->prompts->shown[0].caption, QStringLiteral("確認"));
        QCOMPARE(f->env->prompts->shown[0].text, kClearQuestion);
        QCOMPARE(f->env->prompts->shown[0].buttons, pel::Prompts::Buttons::YesNo);
        QCOMPARE(f->env->prompts->shown[0].icon, pel::Prompts::Icon::Question);
    } else {
        QVERIFY(f->env->prompts->shown.isEmpty());
    }
    QCOMPARE(f->driver().text(), cleared ? QString() : QStringLiteral("text"));
    if (cleared) {
        QVERIFY(!f->main().session().modifiedFlag());
        QCOMPARE(f->main().ChangeIndicator(), QStringLiteral("　変更　あり"));
        QVERIFY(!act("CopyAction")->isEnabled());
    }
}

void TestEdit::clearReturnsWindowToStoredPlace()
{
    {
        pel::RegistryKey key(QStringLiteral("Pelmora"));
        key.writeInteger(QStringLiteral("Locate"), QStringLiteral("Top"), 40);
        key.writeInteger(QStringLiteral("Locate"), QStringLiteral("left"), 30);
        key.writeString(QStringLiteral("Option"), QStringLiteral("Color"), QStringLiteral("clYellow"));
        QVERIFY(key.flush());
    }
    f->main().move(200, 150);
    QPalette palette = f->editor().palette();
    palette.setColor(QPalette::Base, Qt::cyan);
    f->editor().setPalette(palette);
    f->main().session().setModifiedFlag(false);
    f->run("ClearAction");
    QCOMPARE(f->main().pos(), QPoint(30, 40));
    QCOMPARE(f->editor().palette().color(QPalette::Base), QColor(Qt::yellow));
}

void TestEdit::selectAllAndDeselect()
{
    f->driver().setText(QStringLiteral("hello\nworld"));
    // Backwards selection of "lo\nwo": the caret is left at its start.
    f->session().select(8, 3);
    QTest::mouseClick(button("AllSelButton"), Qt::LeftButton);
    QCOMPARE(f->driver().selection().start(), 3);
    QCOMPARE(f->driver().selection().end(), 8);

    entry("NoSelection1")->trigger();
    QVERIFY(f->driver().selection().isEmpty());
    QCOMPARE(f->driver().caret(), 3);

    entry("AllSelction1")->trigger();
    QCOMPARE(f->driver().selectedText().size(), 11);
    QTest::mouseClick(button("NotSelButton"), Qt::LeftButton);
    QVERIFY(f->driver().selection().isEmpty());
    QCOMPARE(f->driver().caret(), 0);
}

void TestEdit::wordWrapToggles_data()
{
    QTest::addColumn<bool>("storedWrap");
    QTest::addColumn<QStringList>("controls");
    QTest::newRow("button, menu") << true << QStringList{"WradWrapButton", "WardWarp1"};
    QTest::newRow("menu, menu") << true << QStringList{"WardWarp1", "WardWarp1"};
    QTest::newRow("button, button") << true << QStringList{"WradWrapButton", "WradWrapButton"};
    // Stored off: the check mark starts ticked all the same; the first
    // toggle turns wrapping on and the mark follows the editor.
    QTest::newRow("stored off") << false << QStringList{"WradWrapButton", "WardWarp1"};
}

void TestEdit::wordWrapToggles()
{
    QFETCH(bool, storedWrap);
    QFETCH(QStringList, controls);
    if (!storedWrap) {
        f.reset();
        f = std::make_unique<MainFixture>();
        pel::RegistryKey key(QStringLiteral("Pelmora"));
        key.writeBool(QStringLiteral("Option"), QStringLiteral("WordWarp"), false);
        QVERIFY(key.flush());
        f->start();
    }
    auto wraps = [this] { return f->editor().wraps(); };
    QCOMPARE(wraps(), storedWrap);
    QVERIFY(act("WordWrapAction")->isChecked());
    QVERIFY(button("WradWrapButton")->isChecked());

    bool expected = storedWrap;
    for (const QString& control : controls) {
        if (auto* toolButton = f->main().findChild<QToolButton*>(control))
            QTest::mouseClick(toolButton, Qt::LeftButton);
        else
            f->main().findChild<QAction*>(control)->trigger();
        expected = !expected;
        QCOMPARE(wraps(), expected);
        QCOMPARE(act("WordWrapAction")->isChecked(), expected);
        QCOMPARE(button("WradWrapButton")->isChecked(), expected);
        QCOMPARE(entry("WardWarp1")->isChecked(), expected);
    }
}

void TestEdit::caretReport_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    const QString two = QStringLiteral("abc\nあいう");
    QTest::newRow("click at the start") << two << 0 << true << 1 << 1;
    QTest::newRow("click before third of second") << two << 6 << true << 2 << 3;
    QTest::newRow("key to third of second") << two << 6 << false << 2 << 3;
    QTest::newRow("key to end of line") << two << 3 << false << 1 << 4;
    QTest::newRow("key on an empty line") << QStringLiteral("a\n\nb") << 2 << false << 2 << 1;
    const QString wide = QString::fromUcs4(U"\U0002000Bx");
    QTest::newRow("wide character counts once") << wide << 3 << false << 1 << 3;
}

void TestEdit::caretReport()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(bool, byMouse);
    QFETCH(int, line);
    QFETCH(int, column);
    f->driver().setText(text);
    f->main().session().setModifiedFlag(true);
    if (byMouse) {
        clickAt(position);
    } else {
        // Arrive with the key press; the report comes with the release.
        select(position == 0 ? 0 : position - 1, 0);
        f->editor().setFocus();
        QTest::keyClick(&f->editor(), position == 0 ? Qt::Key_Home : Qt::Key_Right);
    }
    QCOMPARE(f->driver().caret(), position);
    QCOMPARE(status(), report(line, column));
    QVERIFY(!f->main().session().modifiedFlag());
}

void TestEdit::caretReportOnWrappedLines()
{
    const pel::test::EditorDriver editor = f->driver();
    QVERIFY(f->editor().wordWrap());
    editor.setText(QString(300, u'あ') + QStringLiteral("\nxyz"));
    const QRect firstRect = editor.caretRect(0);
    const int lineHeight = firstRect.height();
    // The start of the third display line, found by pointing at it.
    const qsizetype third = editor.positionAt(QPoint(1, firstRect.top() + lineHeight * 5 / 2));
    QVERIFY(third > 0 && third < 300);
    clickAt(int(third) + 2);
    QCOMPARE(status(), report(3, 3));

    // The line after the wrapped paragraph counts every display line above.
    const int displayLines = (editor.caretRect(299).top() - firstRect.top()) / lineHeight + 1;
    QVERIFY(displayLines >= 3);
    clickAt(301 + 2);
    QCOMPARE(status(), report(displayLines + 1, 3));

    // Without wrapping the paragraph is one line again.
    act("WordWrapAction")->trigger();
    editor.key(Qt::Key_Right);
    QCOMPARE(status(), report(2, 4));
}

void TestEdit::escapeCollapsesSelection()
{
    f->driver().setText(QStringLiteral("abcdef"));
    f->editor().setFocus();
    select(2, 3);
    QTest::keyClick(&f->editor(), Qt::Key_Escape);
    QVERIFY(f->driver().selection().isEmpty());
    QCOMPARE(f->driver().caret(), 2);
    QCOMPARE(status(), report(1, 3));
    QVERIFY(!act("CopyAction")->isEnabled());

    select(4, 0);
    pel::test::mainChild<QStatusBar>("StatusBar1")->clearMessage();
    QTest::keyClick(&f->editor(), Qt::Key_Escape);
    QCOMPARE(f->driver().caret(), 4);
    QCOMPARE(status(), report(1, 5));
}

void TestEdit::fontCommand()
{
    const QFont before = f->editor().font();
    f->main().session().setModifiedFlag(true);
    QTest::mouseClick(button("FontButton"), Qt::LeftButton);  // cancelled
    QCOMPARE(f->env->dialogs->fontRequests.size(), 1);
    QCOMPARE(f->env->dialogs->fontRequests[0].family(), before.family());
    QCOMPARE(f->editor().font(), before);
    QVERIFY(!f->main().session().modifiedFlag());

    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPointSize(20);
    chosen.setBold(true);
    f->env->dialogs->fontAnswers.enqueue(chosen);
    f->main().session().setModifiedFlag(true);
    entry("FontManu1")->trigger();
    QCOMPARE(f->editor().font().pointSize(), 20);
    QVERIFY(f->editor().font().bold());
    QVERIFY(!f->main().session().modifiedFlag());
    // The next showing starts from the editor's current font.
    entry("FontManu1")->trigger();
    QCOMPARE(f->env->dialogs->fontRequests.last().pointSize(), 20);
}

void TestEdit::fontApplyGoesToActiveControl()
{
    QFont applied(QStringLiteral("IPAGothic"));
    applied.setPointSize(31);

    f->editor().setFocus();
    f->main().FontDialog1Apply(applied);
    QCOMPARE(f->editor().font().pointSize(), 31);

    auto* field = new QLineEdit(pel::test::mainChild<QToolBar>("ToolBar5"));
    field->show();
    field->setFocus();
    applied.setPointSize(9);
    f->main().FontDialog1Apply(applied);
    QCOMPARE(field->font().pointSize(), 9);
    QCOMPARE(f->editor().font().pointSize(), 31);

    auto* other = new QPushButton(pel::test::mainChild<QToolBar>("ToolBar5"));
    other->setFocusPolicy(Qt::StrongFocus);
    other->show();
    other->setFocus();
    const int beeps = f->env->beep->count;
    f->main().FontDialog1Apply(applied);
    QCOMPARE(f->env->beep->count, beeps + 1);
    QCOMPARE(f->editor().font().pointSize(), 31);
    delete field;
    delete other;
}

void TestEdit::backgroundColour()
{
    QTest::mouseClick(button("ColorButton"), Qt::LeftButton);  // cancelled
    QCOMPARE(f->env->dialogs->colorRequests, QList<QColor>{QColor(Qt::white)});
    QCOMPARE(f->editor().palette().color(QPalette::Base), QColor(Qt::white));
    f->env->dialogs->colorAnswers.enqueue(QColor(0x12, 0x34, 0x56));
    entry("BackColor1")->trigger();
    QCOMPARE(f->editor().palette().color(QPalette::Base), QColor(0x12, 0x34, 0x56));
}

void TestEdit::printsDocumentToPdf()
{
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("letter.txt"));
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("%1 行目の文章です").arg(i);
    pel::test::writeFile(document, lines.join(QStringLiteral("\r\n")).toUtf8());
    f->env->dialogs->openAnswers.enqueue(document);
    f->run("OpenAction");
    QCOMPARE(f->main().session().fileName(), document);

    printTo(pdfPath(dir));
    QVERIFY(f->env->prompts->shown.isEmpty());
    const QByteArray pdf = pel::test::readFile(pdfPath(dir));
    QVERIFY(pdf.startsWith("%PDF"));
    // 300 lines do not fit on one page; all of them form one job.
    const QString latin = QString::fromLatin1(pdf);
    const int pageCount = int(latin.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
    QVERIFY2(pageCount >= 3, qPrintable(QString::number(pageCount)));
    // The job is titled with the document's file name (UTF-16 in the PDF).
    QByteArray title("\xfe\xff");
    for (QChar c : document) {
        title.append(char(c.unicode() >> 8));
        title.append(char(c.unicode() & 0xff));
    }
    QVERIFY(pdf.contains(title));
}

void TestEdit::cancelledPrintWritesNothing()
{
    QTemporaryDir dir;
    f->driver().setText(QStringLiteral("text"));
    f->env->dialogs->printAnswers.enqueue(false);
    f->env->dialogs->preparePrinter = [&dir](QPrinter& printer) { printer.setOutputFileName(pdfPath(dir)); };
    entry("Print1")->trigger();
    QVERIFY(!QFile::exists(pdfPath(dir)));
    QVERIFY(f->env->prompts->shown.isEmpty());
}

void TestEdit::printFailureIsReported()
{
    QTemporaryDir dir;
    const QString unreachable = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
    f->driver().setText(QStringLiteral("text"));
    printTo(unreachable);
    QCOMPARE(f->env->prompts->shown.size(), 1);
    QCOMPARE(f->env->prompts->shown[0].icon, pel::Prompts::Icon::Error);
    QCOMPARE(f->env->prompts->shown[0].text,
             QStringLiteral("ファイル %1 を作成できません").arg(QDir::toNativeSeparators(unreachable)));
    QCOMPARE(f->driver().text(), QStringLiteral("text"));
}

void TestEdit::printedPageRange_data()
{
    // A negative number counts back from the document's last page (-1).
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("pages");
    QTest::newRow("no range") << 0 << 0 << -1;
    QTest::newRow("second page") << 2 << 2 << 1;
    QTest::newRow("last two") << -2 << -1 << 2;
    QTest::newRow("beyond the end") << 2 << 999 << -2;
    QTest::newRow("wholly past the end: no job") << 999 << 999 << 0;
}

void TestEdit::printedPageRange()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, pages);
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("%1 行目の文章です").arg(i);
    pel::TextDocument document;
    document.reset(lines.join(u'\n'));
    const pel::DocumentPrinter job(f->editor().font(), Qt::black, 96);
    QTemporaryDir dir;
    auto print = [&](const QString& name, int first, int last) {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        if (first > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(first, last);
        }
        switch (job.print(document, printer)) {
        case pel::DocumentPrinter::Outcome::Printed:
            return pdfPages(dir.filePath(name));
        case pel::DocumentPrinter::Outcome::NoPages:
            return QFileInfo::exists(dir.filePath(name)) ? -1 : 0;
        default:
            return -1;
        }
    };
    const int all = print(QStringLiteral("all.pdf"), 0, 0);
    QVERIFY2(all >= 3, qPrintable(QString::number(all)));
    const auto counted = [all](int n) { return n < 0 ? all + 1 + n : n; };
    QCOMPARE(print(QStringLiteral("range.pdf"), counted(from), counted(to)), counted(pages));
}

void TestEdit::printerSetupIsSharedWithPrinting()
{
    QTest::mouseClick(button("PrinterButton"), Qt::LeftButton);
    QCOMPARE(f->env->dialogs->printerSetups, 1);
    // What the set-up chose stays on the one printer the next job uses.
    pel::sharedPrinter().setPageOrientation(QPageLayout::Landscape);
    QTemporaryDir dir;
    QPrinter* used = nullptr;
    f->env->dialogs->printAnswers.enqueue(true);
    f->env->dialogs->preparePrinter = [&](QPrinter& printer) {
        used = &printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath(dir));
    };
    f->driver().setText(QStringLiteral("text"));
    f->run("PrintAction");
    QCOMPARE(used, &pel::sharedPrinter());
    QCOMPARE(used->pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(QFile(pdfPath(dir)).size() > 0);
    pel::sharedPrinter().setPageOrientation(QPageLayout::Portrait);
}

QTEST_MAIN(TestEdit)
#include "tst_edit.moc"
