// Where lines are cut for the view, and that an edit laid out again only
// where it changed gives what laying the whole text out anew gives.
#include "text/TextDocument.h"
#include "view/DisplayLayout.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Latin letters 10 pixels wide, Japanese ones 20, tab stops every 40.
class FixedWidths final : public pel::CharWidths {
public:
    qreal advance(char32_t c) const override { return c >= 0x2E80 ? 20 : 10; }
    qreal tabStop() const override { return 40; }
};

// Every display line of the document, as "text|text|...".
QString shown(pel::DisplayLayout& layout, const pel::TextDocument& text)
{
    QStringList lines;
    for (int number = 0; number < layout.displayLineCount(); ++number) {
        const pel::DisplayLayout::Place place = layout.place(number);
        if (place.shown.number != number)
            return QStringLiteral("display line %1 placed as %2").arg(number).arg(place.shown.number);
        lines << text.text(place.shown.start, place.shown.length);
    }
    return lines.join(u'|');
}

} // namespace

class TestDisplayLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wrapsWhereJapaneseTextBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("lines");   // at a width of 100 pixels
        QTest::newRow("after spaces, which may hang") << "aaaa bbbb cccc" << "aaaa bbbb |cccc";
        QTest::newRow("a word too long breaks anywhere") << "abcdefghijklmno" << "abcdefghij|klmno";
        QTest::newRow("between Japanese letters") << "あいうえおかきくけこさ" << "あいうえお|かきくけこ|さ";
        QTest::newRow("never before a stop") << "あいうえお。か" << "あいうえ|お。か";
        QTest::newRow("never after an opening bracket") << "あいうえ「お" << "あいうえ|「お";
        QTest::newRow("a mark stays with its letter") << "abcdefghij\u0301k" << "abcdefghij\u0301|k";
        QTest::newRow("pairs are one letter") << "𠀋𠀋𠀋𠀋𠀋𠀋" << "𠀋𠀋𠀋𠀋𠀋|𠀋";
        QTest::newRow("tabs reach the next stop") << "\tab\tcd" << "\tab\tcd";
        QTest::newRow("tab past the edge") << "abcdefgh\tx" << "abcdefgh\t|x";
        QTest::newRow("lines of their own") << "ab\n\nあいうえおか" << "ab||あいうえお|か";
    }
    void wrapsWhereJapaneseTextBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QString, lines);
        pel::TextDocument document;
        document.reset(text);
        FixedWidths widths;
        pel::DisplayLayout layout(document, widths);
        layout.setWrapWidth(100);
        QCOMPARE(shown(layout, document), lines);
        // Unwrapped, each line is one display line.
        layout.setWrapWidth(0);
        QCOMPARE(shown(layout, document), text.split(u'\n').join(u'|'));
    }

    // Random edits, each laid out again only where it changed, against the
    // same text laid out from scratch: display lines, positions and the
    // pieces of unwrapped long lines.
    void editsLayOutAsAWholeText_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("rewrapped");   // display lines wrapped again past an edit
        QTest::newRow("wrapped") << true << INT_MAX;
        QTest::newRow("wrapped a few lines past each edit") << true << 3;
        QTest::newRow("unwrapped") << false << INT_MAX;
    }
    void editsLayOutAsAWholeText()
    {
        QFETCH(bool, wrap);
        QFETCH(int, rewrapped);
        static const QString letters[] = {QStringLiteral("a"), QStringLiteral(" "), QStringLiteral("あ"), QStringLiteral("。"),
                                          QStringLiteral("「"), QStringLiteral("\t"), QStringLiteral("𠀋"), QStringLiteral("\n")};
        QRandomGenerator random(28);
        const auto some = [&](int count, bool breaks) {
            QString text;
            for (int i = 0; i < count; ++i)
                text += letters[random.bounded(breaks ? 8 : 7)];
            return text;
        };
        pel::TextDocument document;
        document.reset(some(3 * pel::DisplayLayout::kLongLine, false) + u'\n' + some(300, true));
        FixedWidths widths;
        pel::DisplayLayout edited(document, widths);
        edited.setWrapWidth(wrap ? 230 : 0);
        edited.setRewrapLimit(rewrapped);
        connect(&document, &pel::TextDocument::changed, this,
                [&](qsizetype from, qsizetype removed, qsizetype added) { edited.update(from, removed, added); });
        for (int step = 0; step < 300; ++step) {
            // Now and then a look at every line, so that most are kept.
            if (step % 7 == 0)
                shown(edited, document);
            const qsizetype from = random.bounded(int(document.length() + 1));
            const qsizetype removed = std::min<qsizetype>(random.bounded(step % 5 == 0 ? 2000 : 4), document.length() - from);
            document.replace({from, removed}, some(random.bounded(step % 3 == 0 ? 600 : 3), step % 10 == 0));
            pel::DisplayLayout fresh(document, widths);
            fresh.setWrapWidth(edited.wrapWidth());
            const QString expected = shown(fresh, document);
            const QString lines = shown(edited, document);
            if (rewrapped == INT_MAX) {
                QCOMPARE(lines, expected);
            } else {
                // Display lines may end early far from an edit, never late.
                QCOMPARE(QString(lines).remove(u'|'), QString(expected).remove(u'|'));
                for (const QString& line : lines.split(u'|')) {
                    qreal x = 0;
                    for (char32_t c : line.toUcs4())
                        x += widths.advanceAt(c, x);
                    QVERIFY2(x <= 230 || line.toUcs4().size() == 1 || line.endsWith(u' ') || line.endsWith(u'\t'), qPrintable(line));
                }
            }
            const qsizetype at = random.bounded(int(document.length() + 1));
            if (rewrapped == INT_MAX)
                QCOMPARE(edited.placeOf(at).shown.start, fresh.placeOf(at).shown.start);
            // Without wrap, a long line's pieces lie side by side.
            const pel::DisplayLayout::Place line = edited.placeOf(at);
            const qreal x = random.bounded(10000);
            const std::vector<pel::DisplayLayout::Run> runs = edited.runs(line, x, x + 1);
            QVERIFY(!runs.empty());
            QVERIFY(runs.front().x <= x || runs.front().start == line.shown.start);
            // (A tab there reaches the next stop from its piece's start.)
            if (!wrap && !document.text(line.shown.start, line.shown.length).contains(u'\t'))
                QCOMPARE(edited.lineWidth(line.line), fresh.lineWidth(line.line));
        }
    }
};

QTEST_GUILESS_MAIN(TestDisplayLayout)
#include "tst_displaylayout.moc"
