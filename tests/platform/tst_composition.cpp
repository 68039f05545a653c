// An input method's composition restyled in the editor's colours: which
// stretch counts as typed input, the clause being converted and the clauses
// converted beside it.
#include "platform/Composition.h"

#include <QTest>
#include <QTextCharFormat>

using Attribute = QInputMethodEvent::Attribute;
using Attributes = QList<Attribute>;

namespace {

Attribute format(int start, int length, const QTextCharFormat& format)
{
    return {QInputMethodEvent::TextFormat, start, length, format};
}
QTextCharFormat underlined()
{
    QTextCharFormat f;
    f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    return f;
}
// As an input method singles out a clause: colours of its own, with or
// without an underline.
QTextCharFormat highlighted(bool background = true)
{
    QTextCharFormat f = underlined();
    if (background)
        f.setBackground(QColor(0xD1, 0xEA, 0xFF));
    f.setForeground(Qt::black);
    return f;
}
Attribute cursor(int at) { return {QInputMethodEvent::Cursor, at, 1}; }

// One letter per character: I input, T the clause being converted, C a
// converted clause beside it, '?' a character with no format or with two.
QString parts(qsizetype length, const Attributes& attributes)
{
    QString out(length, u'?');
    QList<int> formats(length, 0);
    for (const Attribute& a : attributes) {
        if (a.type != QInputMethodEvent::TextFormat)
            continue;
        const QTextCharFormat f = qvariant_cast<QTextFormat>(a.value).toCharFormat();
        const bool underline = f.underlineStyle() == QTextCharFormat::SingleUnderline;
        QChar letter = u'x';
        for (auto [part, code] : {std::pair{pel::CompositionPart::Input, u'I'},
                                  std::pair{pel::CompositionPart::TargetConverted, u'T'},
                                  std::pair{pel::CompositionPart::Converted, u'C'}}) {
            const pel::CompositionColours c = pel::compositionColours(part);
            if (f.foreground().color() == c.text && f.background().color() == c.background
                && underline == c.underline)
                letter = code;
        }
        for (int i = a.start; i < a.start + a.length; ++i) {
            if (i < 0 || i >= length)
                return QStringLiteral("range %1+%2 outside").arg(a.start).arg(a.length);
            out[i] = ++formats[i] == 1 ? letter : u'?';
        }
    }
    return out;
}

} // namespace

class TestComposition : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void colours();
    void parts_data();
    void parts();
    void otherAttributesKept();
};

void TestComposition::colours()
{
    // Blue on white underlined; cyan on blue; blue on cyan underlined.
    const pel::CompositionColours input = pel::compositionColours(pel::CompositionPart::Input);
    const pel::CompositionColours target = pel::compositionColours(pel::CompositionPart::TargetConverted);
    const pel::CompositionColours converted = pel::compositionColours(pel::CompositionPart::Converted);
    QCOMPARE(input.text, QColor(0, 0, 255));
    QCOMPARE(input.background, QColor(255, 255, 255));
    QVERIFY(input.underline);
    QCOMPARE(target.text, QColor(0, 255, 255));
    QCOMPARE(target.background, QColor(0, 0, 255));
    QVERIFY(!target.underline);
    QCOMPARE(converted.text, QColor(0, 0, 255));
    QCOMPARE(converted.background, QColor(0, 255, 255));
    QVERIFY(converted.underline);
}

void TestComposition::parts_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<Attributes>("attributes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("typed, no format at all") << 4 << Attributes{cursor(4)} << "IIII";
    QTest::newRow("typed, underlined") << 4 << Attributes{format(0, 4, underlined()), cursor(4)} << "IIII";
    QTest::newRow("typed in two underlined runs") << 4 << Attributes{format(0, 2, underlined()), format(2, 2, underlined())}
                                                 << "IIII";
    QTest::newRow("one clause, being converted") << 3 << Attributes{format(0, 3, highlighted()), cursor(0)} << "TTT";
    QTest::newRow("first of two clauses") << 5 << Attributes{format(0, 2, highlighted()), format(2, 3, underlined())}
                                          << "TTCCC";
    QTest::newRow("middle clause") << 6 << Attributes{format(0, 2, underlined()), format(2, 2, highlighted()),
                                                      format(4, 2, underlined())}
                                   << "CCTTCC";
    QTest::newRow("underline and colours sent apart for one range")
        << 4 << Attributes{format(0, 4, underlined()), format(2, 2, highlighted()), format(0, 2, underlined())}
        << "CCTT";
    QTest::newRow("clause in reversed colours, no background") << 4 << Attributes{format(1, 2, highlighted(false))}
                                                               << "CTTC";
    QTest::newRow("format reaching past the end") << 3 << Attributes{format(1, 9, highlighted())} << "CTT";
    QTest::newRow("format wholly past the end") << 3 << Attributes{format(5, 2, highlighted())} << "III";
    QTest::newRow("negative start") << 3 << Attributes{format(-2, 3, highlighted())} << "TCC";
    QTest::newRow("empty highlighted range") << 3 << Attributes{format(1, 0, highlighted())} << "III";
}

void TestComposition::parts()
{
    QFETCH(int, length);
    QFETCH(Attributes, attributes);
    QFETCH(QString, expected);
    QCOMPARE(::parts(length, pel::restyleComposition(length, attributes)), expected);
}

void TestComposition::otherAttributesKept()
{
    // The cursor (where the input method shows it, hidden or not) and the
    // rest go through unchanged and in order; with no composition nothing
    // is added.
    const Attributes in{cursor(2), format(0, 3, highlighted()), {QInputMethodEvent::Cursor, 1, 0},
                        {QInputMethodEvent::Language, 0, 3, QLocale(QLocale::Japanese)}};
    Attributes kept;
    for (const Attribute& a : pel::restyleComposition(3, in))
        if (a.type != QInputMethodEvent::TextFormat)
            kept << a;
    QCOMPARE(kept.size(), 3);
    QCOMPARE(kept[0].type, QInputMethodEvent::Cursor);
    QCOMPARE(kept[0].start, 2);
    QCOMPARE(kept[0].length, 1);
    QCOMPARE(kept[1].length, 0);
    QCOMPARE(kept[2].type, QInputMethodEvent::Language);
    QCOMPARE(kept[2].value.toLocale(), QLocale(QLocale::Japanese));

    const Attributes cancelled{cursor(0)};
    const Attributes out = pel::restyleComposition(0, cancelled);
    QCOMPARE(out.size(), 1);
    QCOMPARE(out[0].type, QInputMethodEvent::Cursor);
}

QTEST_GUILESS_MAIN(TestComposition)
#include "tst_composition.moc"
