#include "text/PieceTable.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

using pel::CodeMark;
using pel::CodeMarks;
using pel::PieceTable;
using namespace Qt::Literals::StringLiterals;

namespace {

// The plain model the table must agree with: a string and its marks.
struct Model {
    QString text;
    CodeMarks marks;  // ascending positions

    void replace(qsizetype from, qsizetype removed, const QString& inserted, const CodeMarks& insertedMarks)
    {
        text.replace(from, removed, inserted);
        CodeMarks out;
        for (const CodeMark& mark : marks) {
            if (mark.position < from)
                out.append(mark);
        }
        for (const CodeMark& mark : insertedMarks) {
            if (mark.position < inserted.size())
                out.append({from + mark.position, mark.code});
        }
        for (const CodeMark& mark : marks) {
            if (mark.position >= from + removed)
                out.append({mark.position - removed + inserted.size(), mark.code});
        }
        marks = out;
    }
};

// The first way the table differs from the model, or an empty string.
QString difference(const PieceTable& table, const Model& model, QRandomGenerator& random)
{
    const QString& text = model.text;
    if (table.length() != text.size() || table.text() != text)
        return QStringLiteral("text \"%1\", expected \"%2\"").arg(table.text(), text);
    QString backward;
    table.chunksBackward(0, table.length(), [&](QStringView chunk) { backward.prepend(chunk); });
    if (backward != text)
        return QStringLiteral("backward chunks \"%1\"").arg(backward);
    qsizetype line = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text.at(i) != u'\n')
            continue;
        if (table.lineStart(line) != start || table.lineLength(line) != i - start
            || table.lineAt(start) != line || table.lineAt(i) != line)
            return QStringLiteral("line %1 (%2..%3): start %4 length %5 lineAt %6/%7").arg(line).arg(start).arg(i)
                .arg(table.lineStart(line)).arg(table.lineLength(line)).arg(table.lineAt(start)).arg(table.lineAt(i));
        ++line;
        start = i + 1;
    }
    if (table.lineCount() != line)
        return QStringLiteral("lineCount %1, expected %2").arg(table.lineCount()).arg(line);
    if (table.marks(0, table.length()) != model.marks)
        return QStringLiteral("marks differ");
    const qsizetype from = random.bounded(text.size() + 1);
    const qsizetype length = random.bounded(text.size() - from + 1);
    CodeMarks expected;
    for (const CodeMark& mark : model.marks) {
        if (mark.position >= from && mark.position < from + length)
            expected.append({mark.position - from, mark.code});
    }
    if (table.text(from, length) != text.mid(from, length) || table.marks(from, length) != expected)
        return QStringLiteral("range %1+%2").arg(from).arg(length);
    if (from < text.size() && table.charAt(from) != text.at(from))
        return QStringLiteral("charAt %1").arg(from);
    return {};
}

// Random text from a small alphabet that has breaks, a surrogate pair and
// stand-ins, with marks on some of its characters.
QString randomText(QRandomGenerator& random, qsizetype size, CodeMarks& marks)
{
    static const QString alphabet[] = {u"a"_s, u"b"_s, u"\n"_s, u"あ"_s, u"𠮷"_s, u"\uFFFC"_s};
    QString text;
    while (text.size() < size) {
        if (random.bounded(5) == 0)
            marks.append({text.size(), quint16(random.bounded(0x10000))});
        text += alphabet[random.bounded(int(std::size(alphabet)))];
    }
    return text;
}

// A table holding `text` as two-character pieces in the append buffers, so
// that its breaks and marks fall on every kind of piece edge.
PieceTable fragmented(const QString& text, const CodeMarks& marks)
{
    PieceTable table;
    for (qsizetype end = text.size(); end > 0; end -= 2) {
        const qsizetype start = std::max<qsizetype>(0, end - 2);
        CodeMarks pieceMarks;
        for (const CodeMark& mark : marks) {
            if (mark.position >= start && mark.position < end)
                pieceMarks.append({mark.position - start, mark.code});
        }
        table.replace(0, 0, QStringView(text).sliced(start, end - start), pieceMarks);
    }
    return table;
}

} // namespace

class tst_PieceTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void edits_data();
    void edits();
    void differential_data();
    void differential();
    void originalIsNeverCopied();
    void typingGrowsOnePiece();
    void staleRecordsAreRefused();
    void marksAreCleanedOnTheWayIn();
    void chunksStopWhenAsked();
    void largeFileLineIndex();
};

void tst_PieceTable::edits_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<qsizetype>("removed");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("empty stays empty") << QString() << qsizetype(0) << qsizetype(0) << QString();
    QTest::newRow("into empty") << QString() << qsizetype(0) << qsizetype(0) << u"a\nb"_s;
    QTest::newRow("only breaks") << u"\n\n\n"_s << qsizetype(1) << qsizetype(1) << u"\n\n"_s;
    QTest::newRow("at start") << u"ab\ncd"_s << qsizetype(0) << qsizetype(0) << u"x\n"_s;
    QTest::newRow("at end") << u"ab\ncd"_s << qsizetype(5) << qsizetype(0) << u"\ny"_s;
    QTest::newRow("break into a line") << u"abcd\nef"_s << qsizetype(2) << qsizetype(0) << u"\n"_s;
    QTest::newRow("join two lines") << u"ab\ncd\nef"_s << qsizetype(2) << qsizetype(1) << QString();
    QTest::newRow("across several lines") << u"a\nb\nc\nd"_s << qsizetype(1) << qsizetype(5) << u"\u3042\n"_s;
    QTest::newRow("everything") << u"ab\ncd\n"_s << qsizetype(0) << qsizetype(6) << QString();
    QTest::newRow("between a surrogate pair") << u"a𠮷b"_s << qsizetype(2) << qsizetype(0) << u"\n"_s;
    QTest::newRow("CR is a character") << u"a\r\nb"_s << qsizetype(1) << qsizetype(1) << u"\r"_s;
    QTest::newRow("clamped past the end") << u"ab\ncd"_s << qsizetype(99) << qsizetype(7) << u"\nz"_s;
    QTest::newRow("clamped removal") << u"ab\ncd"_s << qsizetype(3) << qsizetype(99) << QString();
}

// One edit on a table in one piece and on one in many: the result, then undo
// and redo, each checked against the plain model.
void tst_PieceTable::edits()
{
    QFETCH(QString, initial);
    QFETCH(qsizetype, from);
    QFETCH(qsizetype, removed);
    QFETCH(QString, inserted);
    QRandomGenerator random(7);
    const qsizetype clampedFrom = std::min(from, initial.size());
    const qsizetype clampedRemoved = std::min(removed, initial.size() - clampedFrom);
    const CodeMarks marks = {{0, 0x81}, {initial.size() - 1, 0xfc}};
    Model before{initial, initial.isEmpty() ? CodeMarks() : marks};
    Model after = before;
    after.replace(clampedFrom, clampedRemoved, inserted, {{0, 0x80}});

    for (const bool pieces : {false, true}) {
        PieceTable table = pieces ? fragmented(initial, before.marks) : PieceTable(QString(initial), before.marks);
        QString problem = difference(table, before, random);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        PieceTable::Edit edit = table.replace(from, removed, inserted, {{0, 0x80}});
        QCOMPARE(edit.from(), clampedFrom);
        QCOMPARE(edit.removedLength(), clampedRemoved);
        for (const Model* model : {&after, &before, &after}) {
            problem = difference(table, *model, random);
            QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("pieces %1: %2").arg(pieces).arg(problem)));
            QVERIFY(model == &after ? table.undo(edit) : table.redo(edit));
        }
    }
}

void tst_PieceTable::differential_data()
{
    QTest::addColumn<quint32>("seed");
    for (const quint32 seed : {1u, 2u, 27u, 28u})
        QTest::addRow("seed %u", seed) << seed;
}

// Thousands of random replacements, typing runs, undos and redos, the table
// checked against the plain model after each.
void tst_PieceTable::differential()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    CodeMarks marks;
    Model model;
    model.text = randomText(random, 400, marks);
    model.marks = marks;
    PieceTable table(QString(model.text), model.marks);
    std::vector<PieceTable::Edit> done, undone;
    std::vector<Model> before, redone;

    for (int step = 0; step < 2500; ++step) {
        const int kind = random.bounded(100);
        if (kind < 20 && !done.empty()) {
            QVERIFY(table.undo(done.back()));
            undone.push_back(std::move(done.back()));
            done.pop_back();
            redone.push_back(model);
            model = before.back();
            before.pop_back();
        } else if (kind < 30 && !undone.empty()) {
            QVERIFY(table.redo(undone.back()));
            done.push_back(std::move(undone.back()));
            undone.pop_back();
            before.push_back(model);
            model = redone.back();
            redone.pop_back();
        } else {
            // A replacement (large removals keep the text small), or a run
            // of typing at one place.
            const qsizetype from = random.bounded(model.text.size() + 1);
            const qsizetype room = model.text.size() - from;
            const bool typing = kind >= 80;
            const int count = typing ? 1 + random.bounded(8) : 1;
            for (int i = 0; i < count; ++i) {
                qsizetype removed = typing ? 0 : random.bounded(std::min<qsizetype>(room, 12) + 1);
                if (model.text.size() > 1500 && !typing)
                    removed = random.bounded(room + 1);
                CodeMarks insertedMarks;
                const QString inserted = randomText(random, typing ? 1 : random.bounded(14), insertedMarks);
                const qsizetype at = from + i;
                done.push_back(table.replace(at, removed, inserted, insertedMarks));
                before.push_back(model);
                model.replace(at, removed, inserted, insertedMarks);
            }
            undone.clear();
            redone.clear();
        }
        const QString problem = difference(table, model, random);
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("step %1: %2").arg(step).arg(problem)));
    }
    // Back to the file as it was read.
    while (!done.empty()) {
        QVERIFY(table.undo(done.back()));
        done.pop_back();
    }
    QCOMPARE(table.text(), before.front().text);
    QCOMPARE(table.marks(0, table.length()), marks);
}

// The file is kept where the decoder left it, also after deleting it all and
// undoing that.
void tst_PieceTable::originalIsNeverCopied()
{
    QString file = u"一行目\n二行目\n"_s.repeated(1000);
    const QChar* data = file.constData();
    PieceTable table(std::move(file));
    const auto wholeFileAt = [&table](const QChar* where) {
        int chunks = 0;
        bool same = false;
        table.chunks(0, table.length(), [&](QStringView chunk) { same = chunk.data() == where; ++chunks; });
        return chunks == 1 && same;
    };
    QVERIFY(wholeFileAt(data));
    PieceTable::Edit deletion = table.replace(0, table.length(), {});
    QCOMPARE(table.length(), 0);
    QCOMPARE(table.lineCount(), 1);
    QVERIFY(table.undo(deletion));
    QVERIFY(wholeFileAt(data));
    QCOMPARE(table.lineCount(), 2001);
}

void tst_PieceTable::typingGrowsOnePiece()
{
    PieceTable table(u"前文\n"_s);
    std::vector<PieceTable::Edit> keys;
    for (int i = 0; i < 300; ++i)
        keys.push_back(table.replace(table.length(), 0, i % 10 == 9 ? u"\n" : u"字"));
    QCOMPARE(table.pieceCount(), 2);
    QCOMPARE(table.lineCount(), 32);
    // In the middle too, after the first key.
    for (int i = 0; i < 100; ++i)
        keys.push_back(table.replace(1 + i, 0, u"x"));
    QCOMPARE(table.pieceCount(), 4);
    // Undo takes the keys back one by one.
    QVERIFY(table.undo(keys.back()));
    QCOMPARE(table.text(0, 101), u"前"_s + QString(99, u'x') + u"文"_s);
}

void tst_PieceTable::staleRecordsAreRefused()
{
    PieceTable table(u"abc"_s);
    PieceTable::Edit first = table.replace(1, 1, u"X");
    QVERIFY(!table.redo(first));  // not undone
    QVERIFY(table.undo(first));
    QVERIFY(!table.undo(first));  // already undone
    PieceTable::Edit second = table.replace(0, 0, u"Y");
    QVERIFY(!table.redo(first));  // the text has moved on
    QCOMPARE(table.text(), u"Yabc"_s);
    PieceTable other(u"abc"_s);
    QVERIFY(!other.undo(second));  // another table's record
    QCOMPARE(other.text(), u"abc"_s);
    QVERIFY(table.undo(second));
    QCOMPARE(table.text(), u"abc"_s);
}

void tst_PieceTable::marksAreCleanedOnTheWayIn()
{
    PieceTable table(u"ab\ncd"_s, {{4, 4}, {-1, 9}, {1, 1}, {5, 9}, {1, 2}});
    QCOMPARE(table.marks(0, 5), (CodeMarks{{1, 1}, {4, 4}}));
    table.replace(0, 0, u"xyz", {{3, 9}, {2, 3}, {0, 0}});
    QCOMPARE(table.marks(0, 8), (CodeMarks{{0, 0}, {2, 3}, {4, 1}, {7, 4}}));
    QCOMPARE(table.marks(2, 3), (CodeMarks{{0, 3}, {2, 1}}));
}

void tst_PieceTable::chunksStopWhenAsked()
{
    PieceTable table = fragmented(u"abcdefgh"_s, {});
    QStringList seen;
    table.chunks(1, 6, [&](QStringView chunk) {
        seen.append(chunk.toString());
        return seen.size() < 2;
    });
    QCOMPARE(seen, (QStringList{u"b"_s, u"cd"_s}));
    seen.clear();
    table.chunksBackward(1, 6, [&](QStringView chunk) { seen.append(chunk.toString()); });
    QCOMPARE(seen, (QStringList{u"g"_s, u"ef"_s, u"cd"_s, u"b"_s}));
}

// A file or a paste large enough for its breaks to be found in parallel
// parts: every break found once, in order, whatever part it falls in.
void tst_PieceTable::largeFileLineIndex()
{
    QString text(5'000'000, u'字');
    std::vector<qsizetype> breaks;
    for (qsizetype i = 0; i < text.size(); i += 1 + (i * 7919) % 1999) {
        text[i] = u'\n';
        breaks.push_back(i);
    }
    text[text.size() - 1] = u'\n';
    breaks.push_back(text.size() - 1);
    PieceTable pasted;
    pasted.replace(0, 0, text);
    PieceTable opened(std::move(text));
    for (const PieceTable* table : {&opened, &pasted}) {
        QCOMPARE(table->lineCount(), qsizetype(breaks.size()) + 1);
        for (size_t line = 0; line < breaks.size(); line += 97) {
            QCOMPARE(table->lineStart(qsizetype(line) + 1), breaks[line] + 1);
            QCOMPARE(table->lineAt(breaks[line]), qsizetype(line));
        }
        QCOMPARE(table->lineLength(qsizetype(breaks.size())), 0);
    }
}

QTEST_GUILESS_MAIN(tst_PieceTable)
#include "tst_piecetable.moc"
