// The document's characters are exactly what the user sees; what the file's
// bytes said beyond them follows the characters through edits.
#include "MainFixture.h"

#include "view/DocumentView.h"
#include "main/FindReplaceDialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextLayout>

using namespace Qt::StringLiterals;
using pel::test::readFile;
using pel::test::writeFile;

namespace {
QByteArray hex(const char* digits) { return QByteArray::fromHex(digits); }

enum class Edit { BackspaceAtEnd, BackspaceThenUndo, CutFirstPasteAtEnd, TypeAtEnd, PasteOutsideTextAtEnd,
                  TypeAtStart, DeleteFirstThenUndo, CopyFirstPasteAtEnd };
} // namespace
Q_DECLARE_METATYPE(Edit)

class TestDocumentView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { f = std::make_unique<MainFixture>(); f->start(); }
    void cleanup() { f.reset(); }

    void codesFollowTheirCharacters_data();
    void codesFollowTheirCharacters();
    void textIsWhatTheUserSees();
    void standInsFromOutsideAreRefused_data();
    void standInsFromOutsideAreRefused();
    void joiningByteStopsTheSave_data();
    void joiningByteStopsTheSave();
    void standInsShowTheirByte();
    void randomFilesSurviveTheEditor();
    void longLinesLookAsIfDrawnWhole_data();
    void longLinesLookAsIfDrawnWhole();
    void largeFilesLoadUnchanged_data();
    void largeFilesLoadUnchanged();
    void screenReadersReadLinesAndSelection();
    void altLettersTypeNothing_data();
    void altLettersTypeNothing();
    void tooWideLinesKeepTheViewWrapped_data();
    void tooWideLinesKeepTheViewWrapped();

private:
    std::unique_ptr<MainFixture> f;
    QString path() const { return f->env->path(QStringLiteral("doc.txt")); }
    void open(const QByteArray& bytes)
    {
        writeFile(path(), bytes);
        f->env->dialogs->openAnswers.enqueue(path());
        f->run("OpenAction");
        QCOMPARE(f->main().windowTitle(), QStringLiteral("doc.txt"));
    }
    void moveCaret(qsizetype position, qsizetype anchor = -1)
    {
        f->session().setSelection({anchor < 0 ? position : anchor, position});
    }
    qsizetype end() const { return f->session().document().length(); }
    // Typed as a key press (the test keyboard only knows ASCII).
    void type(const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, text);
        QApplication::sendEvent(&f->editor(), &press);
    }
    QString lastMessage() const { return f->env->prompts->shown.isEmpty() ? QString() : f->env->prompts->shown.last().text; }
};

void TestDocumentView::codesFollowTheirCharacters_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QByteArray>("saved");

    // 87 54 is Ⅰ's standard code, FA 4A its IBM one; ED 40 is 纊 in NEC's selection, FA 5C standard.
    QTest::newRow("backspace removes the character") << hex("8754fa4a") << Edit::BackspaceAtEnd << hex("8754");
    QTest::newRow("undo brings its code back") << hex("8754fa4a") << Edit::BackspaceThenUndo << hex("8754fa4a");
    QTest::newRow("cut and paste keep the code") << hex("fa4a208754") << Edit::CutFirstPasteAtEnd << hex("208754fa4a");
    QTest::newRow("copy and paste keep the code") << hex("ed40") << Edit::CopyFirstPasteAtEnd << hex("ed40ed40");
    QTest::newRow("typed text takes standard codes") << hex("ed40") << Edit::TypeAtEnd << hex("ed40fa5c");
    QTest::newRow("text from outside takes standard codes") << hex("ed40") << Edit::PasteOutsideTextAtEnd << hex("ed40fa5c");
    QTest::newRow("stand-in kept beside typing") << hex("418042") << Edit::TypeAtStart << hex("fa5c418042");
    QTest::newRow("stand-in deleted and undone") << hex("804120") << Edit::DeleteFirstThenUndo << hex("804120");
    QTest::newRow("stand-in cut and pasted") << hex("ff2041") << Edit::CutFirstPasteAtEnd << hex("2041ff");
    QTest::newRow("typed after a stand-in") << hex("4180") << Edit::TypeAtEnd << hex("4180fa5c");
}

void TestDocumentView::codesFollowTheirCharacters()
{
    QFETCH(QByteArray, file);
    QFETCH(Edit, edit);
    QFETCH(QByteArray, saved);

    open(file);
    pel::DocumentView& editor = f->editor();
    editor.setFocus();
    const QString typed = QStringLiteral("纊");
    switch (edit) {
    case Edit::BackspaceAtEnd:
    case Edit::BackspaceThenUndo:
        moveCaret(end());
        QTest::keyClick(&editor, Qt::Key_Backspace);
        QCOMPARE(f->driver().text().size(), 1);
        if (edit == Edit::BackspaceThenUndo)
            QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        break;
    case Edit::CutFirstPasteAtEnd:
    case Edit::CopyFirstPasteAtEnd:
        moveCaret(1, 0);
        f->run(edit == Edit::CutFirstPasteAtEnd ? "CutAction" : "CopyAction");
        moveCaret(end());
        f->run("PasteAction");
        break;
    case Edit::TypeAtEnd:
        moveCaret(end());
        type(typed);
        break;
    case Edit::TypeAtStart:
        moveCaret(0);
        type(typed);
        break;
    case Edit::PasteOutsideTextAtEnd:
        QApplication::clipboard()->setText(typed);
        moveCaret(end());
        f->run("PasteAction");
        break;
    case Edit::DeleteFirstThenUndo:
        moveCaret(0);
        QTest::keyClick(&editor, Qt::Key_Delete);
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        break;
    }
    f->run("SaveAction");
    QCOMPARE(lastMessage(), QString());
    QCOMPARE(readFile(path()).toHex(), saved.toHex());
}

void TestDocumentView::textIsWhatTheUserSees()
{
    // NEC-selected 纊褜, then Ⅰ in its standard and its IBM code.
    open(hex("ed40ed410d0a8754fa4a"));
    QCOMPARE(f->driver().text(), QStringLiteral("纊褜\nⅠⅠ"));

    // Find.
    f->run("FindAction");
    FindDialog* find = pel::test::mainChild<FindDialog>("FindDialog1");
    find->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->setText(QStringLiteral("纊褜"));
    find->findChild<QRadioButton*>(QStringLiteral("DownButton"))->click();
    moveCaret(0);
    QTest::mouseClick(find->findChild<QPushButton*>(QStringLiteral("FindNextButton")), Qt::LeftButton);
    QCOMPARE(f->driver().selectedText(), QStringLiteral("纊褜"));
    find->close();

    // The caret report at the end of ⅠⅠ.
    moveCaret(end() - 1);
    f->editor().setFocus();
    QTest::keyClick(&f->editor(), Qt::Key_End);
    QCOMPARE(pel::test::mainChild<QStatusBar>("StatusBar1")->currentMessage(), QStringLiteral("カーソルの位置は　2行目の　3文字目です｡"));

    // Copy out.
    moveCaret(end(), 0);
    f->run("CopyAction");
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("纊褜\nⅠⅠ"));

    // Nothing changed, so nothing changes on disk.
    f->run("SaveAction");
    QCOMPARE(readFile(path()).toHex(), hex("ed40ed410d0a8754fa4a").toHex());
}

void TestDocumentView::standInsFromOutsideAreRefused_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("where");
    QTest::newRow("private-use stand-in for 80") << QStringLiteral("a") + QChar(0xF780) << QStringLiteral("1行目の3文字目");
    QTest::newRow("private-use stand-in for LF") << QStringLiteral("a") + QChar(0xF70A) << QStringLiteral("1行目の3文字目");
    QTest::newRow("object replacement") << QStringLiteral("a") + QChar::ObjectReplacementCharacter << QStringLiteral("1行目の3文字目");
    QTest::newRow("variation selector") << QStringLiteral("≒") + QChar(0xFE01) << QStringLiteral("1行目の3文字目");
}

void TestDocumentView::standInsFromOutsideAreRefused()
{
    QFETCH(QString, pasted);
    QFETCH(QString, where);
    // The file's own stand-in for 80 sits right before the paste.
    open(hex("80"));
    QApplication::clipboard()->setText(pasted);
    moveCaret(end());
    f->run("PasteAction");
    // Refused where it comes in: the document never holds it.
    QCOMPARE(f->driver().text(), QString(QChar::ObjectReplacementCharacter));
    f->run("SaveAction");
    QCOMPARE(readFile(path()).toHex(), hex("80").toHex());
    QVERIFY2(lastMessage().contains(where), qPrintable(lastMessage()));
    QCOMPARE(f->env->prompts->shown.last().caption, QStringLiteral("エラー"));
}

void TestDocumentView::joiningByteStopsTheSave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("removeAt");
    QTest::addColumn<QString>("where");
    QTest::newRow("lead byte would pair") << hex("41812041") << 2 << QStringLiteral("1行目の2文字目のバイト「81」");
    QTest::newRow("stray CR and LF would break") << QByteArray("a\r\nb\rX\nc\r\n") << 4 << QStringLiteral("2行目の2文字目のバイト「0D」");
}

void TestDocumentView::joiningByteStopsTheSave()
{
    QFETCH(QByteArray, file);
    QFETCH(int, removeAt);
    QFETCH(QString, where);
    open(file);
    moveCaret(removeAt + 1, removeAt);
    QTest::keyClick(&f->editor(), Qt::Key_Delete);
    f->run("SaveAction");
    QCOMPARE(readFile(path()), file);
    QVERIFY2(lastMessage().contains(where), qPrintable(lastMessage()));
}

void TestDocumentView::standInsShowTheirByte()
{
    // Each stand-in is drawn with its own byte: two files differing only in
    // the invalid byte look different, and a stand-in takes room.
    pel::DocumentSession session;
    pel::DocumentView editor(session);
    editor.resize(300, 100);
    const auto picture = [&](quint16 byte) {
        session.restore(QString(QChar::ObjectReplacementCharacter), {{0, byte}}, {});
        return editor.viewport()->grab().toImage();
    };
    const QImage plain = [&] {
        session.clear();
        return editor.viewport()->grab().toImage();
    }();
    const QImage a = picture(0x81);
    const QImage b = picture(0x82);
    QVERIFY(a != b);
    QVERIFY(a != plain);
    QVERIFY(editor.caretRect(1).left() > editor.caretRect(0).left() + 8);
}

void TestDocumentView::randomFilesSurviveTheEditor()
{
    // Opening, showing and saving without edits: the stand-ins survive.
    pel::DocumentSession session;
    pel::DocumentView editor(session);
    QRandomGenerator random(20);
    static const char interesting[] = {'\r', '\n', '\0', char(0x81), char(0x87), char(0xED), char(0xFA), char(0x80), char(0xFF)};
    for (int i = 0; i < 300; ++i) {
        QByteArray bytes(random.bounded(200), Qt::Uninitialized);
        for (char& b : bytes)
            b = random.bounded(3) == 0 ? interesting[random.bounded(int(sizeof interesting))] : char(random.bounded(256));
        session.load(bytes);
        editor.viewport()->grab();
        const pel::EncodedText saved = session.encode();
        QVERIFY2(saved.ok() && saved.bytes == bytes, qPrintable(QString::fromLatin1(bytes.toHex())));
    }
}

void TestDocumentView::longLinesLookAsIfDrawnWhole_data()
{
    QTest::addColumn<int>("scrolled");   // thousandths of the horizontal range
    QTest::addColumn<int>("selected");
    QTest::newRow("start") << 0 << 0;
    QTest::newRow("middle, selection in view") << 500 << 3000;
    QTest::newRow("end") << 1000 << 0;
}

// Without word wrap only the pieces of a long line in view are laid out
// and drawn: it must look exactly as the whole line drawn at once.
void TestDocumentView::longLinesLookAsIfDrawnWhole()
{
    QFETCH(int, scrolled);
    QFETCH(int, selected);
    QString line;
    while (line.size() < 20000)
        line += QStringLiteral("var 変数=\"日本語の文字列\";function f(a,b){return a+b;} ");
    const QString text = QStringLiteral("短い行\n") + line + u'\n' + line.left(6000) + QStringLiteral("\n終わり");
    pel::DocumentSession session;
    pel::DocumentView editor(session);
    editor.setWordWrap(false);
    editor.resize(420, 160);
    session.restore(text, {}, {});
    const qsizetype selectedFrom = 4 + 10000;
    session.select(selectedFrom, selectedFrom + selected);
    // Each line drawn whole by one text layout, where the view puts it.
    const auto whole = [&](const QImage& shown, int left) {
        QImage image(shown.size(), shown.format());
        image.fill(editor.palette().color(QPalette::Base));
        QPainter painter(&image);
        painter.setPen(editor.palette().color(QPalette::Text));
        const QStringList lines = session.text().split(u'\n');
        qsizetype start = 0;
        for (int row = 0; row < lines.size(); ++row) {
            QTextLayout layout(lines[row], editor.textFont());
            QTextOption option;
            option.setWrapMode(QTextOption::NoWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            QTextCharFormat highlight;
            highlight.setBackground(editor.palette().highlight());
            highlight.setForeground(editor.palette().highlightedText());
            QList<QTextLayout::FormatRange> selection;
            const qsizetype from = std::max(selectedFrom - start, qsizetype(0));
            const qsizetype to = std::min(selectedFrom + selected - start, lines[row].size());
            if (to > from)
                selection.append({int(from), int(to - from), highlight});
            layout.draw(&painter, QPointF(4 - left, 4 + row * editor.lineHeight()), selection);
            start += lines[row].size() + 1;
        }
        return image;
    };
    const auto check = [&] {
        editor.viewport()->grab();   // the widest line is known once drawn
        QCoreApplication::processEvents();
        QScrollBar* bar = editor.horizontalScrollBar();
        bar->setValue(bar->maximum() / 1000 * scrolled);
        const QImage shown = editor.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, whole(shown, bar->value()).convertToFormat(QImage::Format_RGB32));
    };
    check();
    // An edit in view is drawn, not a piece remembered from before it.
    session.select(10000, 10000);
    pel::edit::type(session, u"挿入");
    session.select(selectedFrom, selectedFrom + selected);
    check();
}

// A screen reader reads the text by lines and characters, the caret and the
// selection, and can move them.
void TestDocumentView::screenReadersReadLinesAndSelection()
{
    f->driver().setText(QStringLiteral("一行目\n二行目の𠀋字\n"));
    f->driver().select(5, 3);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&f->editor());
    QVERIFY(accessible);
    QAccessibleTextInterface* text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 12);
    QCOMPARE(text->cursorPosition(), 8);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(QPair(start, end), QPair(5, 8));
    QCOMPARE(text->textAtOffset(6, QAccessible::LineBoundary, &start, &end), QStringLiteral("二行目の𠀋字\n"));
    QCOMPARE(QPair(start, end), QPair(4, 12));
    QCOMPARE(text->textAtOffset(8, QAccessible::CharBoundary, &start, &end), QStringLiteral("𠀋"));
    QCOMPARE(text->textBeforeOffset(6, QAccessible::LineBoundary, &start, &end), QStringLiteral("一行目\n"));
    QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("二行目の𠀋字\n"));
    text->setSelection(0, 0, 3);
    QCOMPARE(f->driver().selectedText(), QStringLiteral("一行目"));
    QVERIFY(text->characterRect(1).left() > text->characterRect(0).left());
}

void TestDocumentView::altLettersTypeNothing_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::newRow("plain") << int(Qt::NoModifier) << "q";
    QTest::newRow("Alt") << int(Qt::AltModifier) << "";
    QTest::newRow("Alt+Shift") << int(Qt::AltModifier | Qt::ShiftModifier) << "";
    QTest::newRow("Ctrl+Alt (AltGr)") << int(Qt::ControlModifier | Qt::AltModifier) << "q";
}

// Alt with a letter that no command takes must not type the letter.
void TestDocumentView::altLettersTypeNothing()
{
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, Qt::KeyboardModifiers(modifiers), QStringLiteral("q"));
    QApplication::sendEvent(&f->editor(), &press);
    QCOMPARE(f->driver().text(), typed);
}

void TestDocumentView::tooWideLinesKeepTheViewWrapped_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("kept");
    QTest::newRow("full-width letters") << QString(1'000'000, u'あ') << true;
    QTest::newRow("narrow enough") << QString(400'000, u'a') << false;
}

// Unwrapped, a line wider than the horizontal scroll bar reaches keeps the
// view wrapped, the user's choice stays off (and is what the settings
// store), and a document without one is shown unwrapped again.
void TestDocumentView::tooWideLinesKeepTheViewWrapped()
{
    QFETCH(QString, line);
    QFETCH(bool, kept);
    pel::DocumentView& editor = f->editor();
    QFont huge = editor.font();
    huge.setPixelSize(1100);
    editor.setFont(huge);
    QStatusBar* status = pel::test::mainChild<QStatusBar>("StatusBar1");
    f->run("WordWrapAction");
    QVERIFY(!editor.wraps());
    QMimeData pasted;
    pasted.setText(QStringLiteral("前\n") + line);
    editor.paste(&pasted, pel::UndoPolicy::Undoable);
    QCOMPARE(editor.wraps(), kept);
    QVERIFY(!editor.wordWrap());
    QCOMPARE(status->currentMessage(), kept ? QStringLiteral("行が長すぎるため、折り返して表示しています") : QString());
    status->clearMessage();
    // Asking again changes nothing but says why.
    f->run("WordWrapAction");
    f->run("WordWrapAction");
    QCOMPARE(editor.wraps(), kept);
    QCOMPARE(!status->currentMessage().isEmpty(), kept);
    f->driver().setText(QStringLiteral("短い行"));
    QVERIFY(!editor.wraps());
    QVERIFY(editor.showLoading(pel::encodeTextFile(line).bytes, [](int) { return true; }));
    editor.viewport()->grab();
    QTRY_COMPARE(editor.wraps(), kept);
    QCOMPARE(f->driver().text(), line);
}

void TestDocumentView::largeFilesLoadUnchanged_data()
{
    QTest::addColumn<bool>("shortLines");
    QTest::addColumn<QString>("meanwhile");   // what the user does while it loads
    QTest::newRow("short lines") << true << "";
    QTest::newRow("long lines") << false << "";
    QTest::newRow("typed while loading") << true << "type";
    QTest::newRow("closed while loading") << true << "close";
}

// A file of many megabytes goes into a shown window with its progress in
// the status bar; what is loaded is the file, byte for byte,
// raw bytes and lone CRs at every place included, and nothing is "changed".
// Keys typed meanwhile go in after the whole text; a close stops the loading
// and the window goes, leaving nothing half loaded that a save could write
// over the file.
void TestDocumentView::largeFilesLoadUnchanged()
{
    QFETCH(bool, shortLines);
    QFETCH(QString, meanwhile);
    QByteArray bytes;
    QRandomGenerator random(18);
    while (bytes.size() < 8 << 20) {
        if (!shortLines && bytes.size() % (3 << 20) < 12)
            bytes += "\r\n";
        bytes += "\x93\xfa\x96\x7b\x8c\xea abc";   // 日本語 abc
        const quint32 pick = random.bounded(40);
        if (pick == 0)
            bytes += '\x80';   // no character: kept as its byte
        else if (pick == 1)
            bytes += '\r';
        else if (shortLines && pick < 8)
            bytes += "\r\n";
    }
    f->main().show();
    QStringList messages;
    connect(pel::test::mainChild<QStatusBar>("StatusBar1"), &QStatusBar::messageChanged, this, [&](const QString& m) { messages += m; });
    if (meanwhile == u"close") {
        writeFile(path(), bytes);
        f->env->dialogs->openAnswers.enqueue(path());
        QCoreApplication::postEvent(&f->main(), new QCloseEvent);
        f->run("OpenAction");
        QVERIFY(f->session().isEmpty());
        QCOMPARE(f->main().session().fileName(), QString());
        QCOMPARE(f->main().windowTitle(), QStringLiteral("Pelmora"));
        QTRY_VERIFY(!f->main().isVisible());
        QVERIFY(f->env->prompts->texts().isEmpty());
        return;
    }
    if (meanwhile == u"type") {
        QCoreApplication::postEvent(&f->editor(), new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, u"x"_s));
        open(bytes);
        QTRY_COMPARE(f->driver().text(), u"x"_s + pel::decodeTextFile(bytes).text);
        // Typed into the whole document, as an edit of its own.
        pel::edit::undo(f->session());
        QCOMPARE(f->driver().text(), pel::decodeTextFile(bytes).text);
        return;
    }
    open(bytes);
    QVERIFY(f->main().isVisible());
    QCOMPARE(f->session().document().length(), pel::decodeTextFile(bytes).text.size());
    // 0 %, then the message goes.
    QVERIFY(messages.size() >= 2);
    QCOMPARE(messages.takeLast(), QString());
    int last = -1;
    for (const QString& message : messages) {
        QVERIFY2(message.startsWith(QStringLiteral("ファイルを読み込んでいます… ")) && message.endsWith(u'%'), qPrintable(message));
        const int percent = message.section(u' ', -1).chopped(1).toInt();
        QVERIFY(percent > last && percent < 100);
        last = percent;
    }
    QCOMPARE(messages.first(), QStringLiteral("ファイルを読み込んでいます… 0%"));
    QCOMPARE(f->main().ChangeIndicator(), QStringLiteral("　変更　なし"));
    QVERIFY(!f->session().modifiedFlag());
    QVERIFY(!f->driver().undoable());
    f->run("SaveAction");
    QVERIFY(readFile(path()) == bytes);
}

QTEST_MAIN(TestDocumentView)
#include "tst_documentview.moc"
