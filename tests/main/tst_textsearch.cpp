// The search behind find and replace, without any window.
#include "main/TextSearch.h"

#include <QTest>

using pel::TextSearch;

class TextSearchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void forward_data();
    void forward();
    void backward_data();
    void backward();
    void findRejectsLineBreaks();
    void document_data();
    void document();
};

// A character outside the basic plane, as two UTF-16 units.
static const QString kWide = QString::fromUcs4(U"\U0002000B");

void TextSearchTest::forward_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("expected");
    QTest::newRow("first") << "abc abc" << "abc" << 0 << 0;
    QTest::newRow("from inside a match") << "abc abc" << "abc" << 1 << 4;
    QTest::newRow("none behind") << "abc abc" << "abc" << 5 << -1;
    QTest::newRow("case matters") << "ABC abc" << "abc" << 0 << 4;
    QTest::newRow("upper only") << "ABC" << "abc" << 0 << -1;
    QTest::newRow("double-byte") << "あいうえお" << "うえ" << 0 << 2;
    QTest::newRow("empty needle") << "abc" << "" << 0 << -1;
    // Half of a surrogate pair is never a match, but the whole pair is.
    QTest::newRow("high half") << (u'x' + kWide) << QString(kWide.at(0)) << 0 << -1;
    QTest::newRow("low half") << (kWide + u'x') << QString(kWide.at(1)) << 0 << -1;
    QTest::newRow("whole pair") << (u'x' + kWide) << kWide << 0 << 1;
    QTest::newRow("low half skipped, later whole") << (kWide + QString(kWide.at(1)))
                                                   << QString(kWide.at(1)) << 0 << 2;
}

void TextSearchTest::forward()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, from);
    QFETCH(int, expected);
    QCOMPARE(TextSearch::indexOf(text, needle, from), qsizetype(expected));
}

void TextSearchTest::backward_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("lineEnd");
    QTest::addColumn<int>("expected");
    QTest::newRow("last before end") << "abc abc abc" << "abc" << 11 << 8;
    QTest::newRow("starting before end counts") << "abc abc abc" << "abc" << 9 << 8;
    QTest::newRow("starting at end does not") << "abc abc abc" << "abc" << 8 << 4;
    QTest::newRow("none") << "abc" << "x" << 3 << -1;
    QTest::newRow("at start") << "abc" << "ab" << 1 << 0;
    QTest::newRow("nothing before 0") << "abc" << "ab" << 0 << -1;
    QTest::newRow("low half") << (kWide + u'x') << QString(kWide.at(1)) << 3 << -1;
}

void TextSearchTest::backward()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, lineEnd);
    QFETCH(int, expected);
    QCOMPARE(TextSearch::findUp(text, needle, lineEnd), qsizetype(expected));
}

void TextSearchTest::findRejectsLineBreaks()
{
    const QString text = QStringLiteral("ab\ncd");
    QCOMPARE(TextSearch::findDown(text, u"b\nc", 0), qsizetype(-1));
    QCOMPARE(TextSearch::findDown(text, u"b\r\nc", 0), qsizetype(-1));
    QCOMPARE(TextSearch::findUp(text, u"b\nc", 5), qsizetype(-1));
    QCOMPARE(TextSearch::findDown(text, u"cd", 0), qsizetype(3));
}

void TextSearchTest::document_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("length");
    // Editor positions count one per line break.
    QTest::newRow("third line") << "aa\nbb\ncc" << "cc" << 6 << 2;
    QTest::newRow("first of several") << "x\nabc abc" << "abc" << 2 << 3;
    QTest::newRow("across a break") << "aa\nbb" << "a\r\nb" << 1 << 3;
    QTest::newRow("lone LF splits a break") << "aa\nbb" << "a\nb" << -1 << 0;
    QTest::newRow("lone CR splits a break") << "aa\nbb" << "a\r" << -1 << 0;
    QTest::newRow("not there") << "abc" << "abd" << -1 << 0;
    QTest::newRow("empty") << "abc" << "" << -1 << 0;
    QTest::newRow("double-byte") << "漢字かな" << "かな" << 2 << 2;
    QTest::newRow("half a pair") << (kWide + u'a') << QString(kWide.at(1)) << -1 << 0;
}

void TextSearchTest::document()
{
    QFETCH(QString, text);
    QFETCH(QString, typed);
    QFETCH(int, position);
    QFETCH(int, length);
    const TextSearch::Match match = TextSearch::findInDocument(text, typed);
    QCOMPARE(match.position, qsizetype(position));
    if (position >= 0)
        QCOMPARE(match.length, qsizetype(length));
}

QTEST_APPLESS_MAIN(TextSearchTest)
#include "tst_textsearch.moc"
