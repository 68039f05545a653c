// The document model without any window: the text with its line index and
// code marks, the edit history, the session's change states and the
// editing commands.
#include "text/DocumentSession.h"
#include "text/TextMime.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace pel;

namespace {

// The plain model every state of the document is checked against.
struct Reference {
    QString text;
    QMap<qsizetype, quint16> marks;

    void replace(qsizetype from, qsizetype length, const QString& with, const CodeMarks& added)
    {
        QMap<qsizetype, quint16> kept;
        for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
            if (it.key() < from)
                kept.insert(it.key(), it.value());
            else if (it.key() >= from + length)
                kept.insert(it.key() - length + with.size(), it.value());
        }
        for (const CodeMark& mark : added)
            kept.insert(from + mark.position, mark.code);
        marks = kept;
        text.replace(from, length, with);
    }
};

void compare(const TextDocument& document, const Reference& reference)
{
    QCOMPARE(document.text(), reference.text);
    const QStringList lines = reference.text.split(u'\n');
    QCOMPARE(document.lineCount(), lines.size());
    qsizetype start = 0;
    for (int line = 0; line < lines.size(); ++line) {
        QCOMPARE(document.lineStart(line), start);
        QCOMPARE(document.lineLength(line), lines.at(line).size());
        QCOMPARE(document.lineAt(start + lines.at(line).size()), line);
        start += lines.at(line).size() + 1;
    }
    CodeMarks expected;
    for (auto it = reference.marks.cbegin(); it != reference.marks.cend(); ++it)
        expected.append({it.key(), it.value()});
    QCOMPARE(document.marks(), expected);
}

QString pick(QRandomGenerator& random)
{
    static const QString letters = QStringLiteral("ab\nあ漢\n");
    QString text;
    for (int n = int(random.bounded(6)); n > 0; --n)
        text += letters.at(random.bounded(int(letters.size())));
    return text;
}

} // namespace

class TestTextDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomEditsUndoAndRedo_data();
    void randomEditsUndoAndRedo();
    void chunksCoverTheRangeWithoutSplittingPairs();
    void changeStates_data();
    void changeStates();
    void editUndoSteps();
    void clipboardKeepsMarksInside();
    void bytesThatWouldJoinAreRefused_data();
    void bytesThatWouldJoinAreRefused();
    void invisibleCharactersTheFileCannotHoldAreRefused();
    void filesComeBackByteForByte_data();
    void filesComeBackByteForByte();
};

void TestTextDocument::randomEditsUndoAndRedo_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 7u, 932u, 20261208u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestTextDocument::randomEditsUndoAndRedo()
{
    // Every edit, undo and redo leaves text, line index and marks as the
    // plain model has them; undo and redo walk the same states back and forth.
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    TextDocument document;
    Reference reference{QStringLiteral("ab\ncd\u00fc"), {{1, 0x80}, {5, 0x8754}}};
    document.reset(reference.text, {{1, 0x80}, {5, 0x8754}});
    std::vector<Reference> states{reference};
    qsizetype undone = 0;
    for (int step = 0; step < 400; ++step) {
        const int what = int(random.bounded(10));
        if (what < 6) {
            const qsizetype from = random.bounded(int(reference.text.size()) + 1);
            const qsizetype length = random.bounded(int(reference.text.size() - from) + 1);
            const QString with = pick(random);
            CodeMarks marks;
            if (!with.isEmpty() && random.bounded(2))
                marks.append({qsizetype(random.bounded(int(with.size()))), quint16(0x80 + random.bounded(16))});
            document.history().begin({});
            document.replace({from, length}, with, marks);
            document.history().end({});
            if (length == 0 && with.isEmpty())
                continue;
            reference.replace(from, length, with, marks);
            states.resize(states.size() - undone);
            undone = 0;
            states.push_back(reference);
        } else if (what < 8) {
            const bool did = document.undo().has_value();
            QCOMPARE(did, qsizetype(states.size()) - undone > 1);
            if (did)
                reference = states.at(states.size() - ++undone - 1);
        } else {
            const bool did = document.redo().has_value();
            QCOMPARE(did, undone > 0);
            if (did)
                reference = states.at(states.size() - --undone - 1);
        }
        compare(document, reference);
    }
}

void TestTextDocument::chunksCoverTheRangeWithoutSplittingPairs()
{
    TextDocument document;
    QString text = QString(70000, u'x') + QStringLiteral("\U0001F600") + QString(70000, u'y');
    text[65535] = QChar(0xD83D);   // a pair across the first chunk's end
    text[65536] = QChar(0xDE00);
    document.reset(text);
    QString seen;
    qsizetype next = 3;
    document.forEachChunk(3, text.size() - 2, [&](QStringView chunk, qsizetype at) {
        if (at != next || chunk.last().isHighSurrogate())
            return false;
        next += chunk.size();
        seen += chunk;
        return true;
    });
    QCOMPARE(seen, text.mid(3, text.size() - 5));
}

void TestTextDocument::changeStates_data()
{
    // What happens, then the modified flag, unsaved changes and the
    // indicator (0 blank, 1 unchanged, 2 changed).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<int>("indicator");
    QTest::newRow("start") << QStringList{} << false << false << 0;
    QTest::newRow("typed") << QStringList{"type"} << true << true << 2;
    QTest::newRow("typed, flag cleared") << QStringList{"type", "clearFlag"} << false << true << 2;
    QTest::newRow("typed, saved") << QStringList{"type", "save"} << true << false << 2;
    QTest::newRow("loaded: a change, in a file") << QStringList{"load"} << false << false << 2;
    QTest::newRow("loaded, opened") << QStringList{"load", "unchanged"} << false << false << 1;
    QTest::newRow("saved, undone: a change again") << QStringList{"type", "save", "clearFlag", "undo"} << true << true << 2;
    QTest::newRow("restored copy") << QStringList{"restore"} << true << true << 2;
    QTest::newRow("typed, cleared") << QStringList{"type", "unchanged", "clear"} << true << false << 2;
}

void TestTextDocument::changeStates()
{
    QFETCH(QStringList, steps);
    QTemporaryDir dir;
    DocumentSession session;
    for (const QString& step : steps) {
        if (step == u"type")
            edit::type(session, u"あ");
        else if (step == u"clearFlag")
            session.setModifiedFlag(false);
        else if (step == u"save")
            QCOMPARE(session.save(dir.filePath(QStringLiteral("a.txt"))), DocumentSession::SaveResult::Saved);
        else if (step == u"load")
            session.load("abc\r\n");
        else if (step == u"unchanged")
            session.markUnchanged();
        else if (step == u"undo")
            QVERIFY(edit::undo(session));
        else if (step == u"restore")
            session.restore(QStringLiteral("kept"), {}, {});
        else if (step == u"clear")
            session.clear();
    }
    QTEST(session.modifiedFlag(), "flag");
    QTEST(session.hasUnsavedChanges(), "unsaved");
    QTEST(int(session.indicator()), "indicator");
}

void TestTextDocument::editUndoSteps()
{
    DocumentSession session;
    QSignalSpy selections(&session, &DocumentSession::selectionChanged);
    edit::type(session, u"ab");
    edit::type(session, u"c");
    QCOMPARE(session.selection(), Selection::caret(3));
    // Each call is one step, and the caret goes back with it.
    QVERIFY(edit::undo(session));
    QCOMPARE(session.text(), QStringLiteral("ab"));
    QCOMPARE(session.selection(), Selection::caret(2));
    QVERIFY(edit::redo(session));
    QCOMPARE(session.text(), QStringLiteral("abc"));

    // A command's insertion is no step, and what was before can no longer
    // be taken back either; the selection's text goes, the caret ends behind.
    session.select(1, 2);
    session.ReplaceEditorSelection(QStringLiteral("X\r\nY"));
    QCOMPARE(session.text(), QStringLiteral("aX\nYc"));
    QCOMPARE(session.selection(), Selection::caret(4));
    QVERIFY(!edit::undo(session));

    // The whole text replaced is one step; a range removed is one.
    edit::replaceAll(session, u"new");
    edit::remove(session, {0, 1});
    QCOMPARE(session.text(), QStringLiteral("ew"));
    QVERIFY(edit::undo(session));
    QVERIFY(edit::undo(session));
    QCOMPARE(session.text(), QStringLiteral("aX\nYc"));
    QVERIFY(selections.count() > 0);
}

void TestTextDocument::clipboardKeepsMarksInside()
{
    DocumentSession session;
    session.load(QByteArray::fromHex("41804220fa4a"));   // A, byte 80, B, space, a duplicate code
    const QString standIn(QChar(0xFFFC));
    QCOMPARE(session.text(), QStringLiteral("A") + standIn + QStringLiteral("B \u2160"));
    session.select(0, session.text().size());
    std::unique_ptr<QMimeData> mime(mimeFromSelection(session));
    // Outside the program the byte is the replacement character.
    QCOMPARE(mime->text(), QStringLiteral("A\uFFFDB \u2160"));
    const auto inside = textFromMime(mime.get());
    QVERIFY(inside);
    session.select(session.text().size(), session.text().size());
    edit::replaceSelection(session, inside->text, inside->marks);
    QCOMPARE(session.encode().bytes, QByteArray::fromHex("41804220fa4a41804220fa4a"));

    // Plain text from elsewhere: every kind of line break is one break.
    QMimeData plain;
    plain.setText(QStringLiteral("a\r\nb\rc\u2029d\u2028e\nf"));
    QCOMPARE(textFromMime(&plain)->text, QStringLiteral("a\nb\nc\nd\ne\nf"));
}

void TestTextDocument::filesComeBackByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n");
    QTest::newRow("LF with a stray CR") << QByteArray("a\rb\nc\n");
    QTest::newRow("invalid bytes and NUL") << QByteArray::fromHex("8041a000fdfe82");
    QTest::newRow("duplicate codes") << QByteArray::fromHex("fa4a8754ed40");
}

void TestTextDocument::filesComeBackByteForByte()
{
    QFETCH(QByteArray, bytes);
    DocumentSession session;
    session.load(bytes);
    QCOMPARE(session.encode().bytes, bytes);
    // Typed and taken back: the same bytes again.
    session.select(1, 1);
    edit::type(session, u"ü");
    QVERIFY(edit::undo(session));
    QCOMPARE(session.encode().bytes, bytes);
}

void TestTextDocument::bytesThatWouldJoinAreRefused_data()
{
    // A file, and the character deleted from it: the stand-in left beside
    // a neighbour would read back as something else.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("deleted");
    QTest::newRow("stray CR before a line break") << QByteArray("a\rX\nb") << 2;
    QTest::newRow("lead byte before a trail byte") << QByteArray::fromHex("61825ca0") << 2;
}

void TestTextDocument::bytesThatWouldJoinAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, deleted);
    DocumentSession session;
    session.load(bytes);
    edit::remove(session, {deleted, 1});
    const EncodedText encoded = session.encode();
    QCOMPARE(int(encoded.failure), int(EncodedText::Failure::Merges));
}

void TestTextDocument::invisibleCharactersTheFileCannotHoldAreRefused()
{
    DocumentSession cp932;
    QSignalSpy refused(&cp932, &DocumentSession::refused);
    edit::type(cp932, u"\u2252\uFE01");               // typed: a variation selector
    cp932.ReplaceEditorSelection(QStringLiteral("a\uF780"));   // a tool window: a private stand-in
    edit::replaceAll(cp932, u"x\u200By");               // the phrase bar: a zero-width space
    QVERIFY(cp932.isEmpty());
    QCOMPARE(refused.size(), 3);
    QCOMPARE(refused.at(0).at(1).value<qsizetype>(), 1);
    // The program's own stand-in, with its byte, comes in; so does what a
    // UTF-8 file can hold.
    edit::replaceSelection(cp932, u"\uFFFC", {{0, 0x80}});
    QCOMPARE(cp932.encode().bytes, QByteArray("\x80"));
    DocumentSession utf8;
    utf8.load("\xEF\xBB\xBF");
    edit::type(utf8, u"\u845B\U000E0100");
    QCOMPARE(utf8.text(), QStringLiteral("\u845B\U000E0100"));
}

QTEST_GUILESS_MAIN(TestTextDocument)
#include "tst_textdocument.moc"
