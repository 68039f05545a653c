#include "phrases/PhraseList.h"
#include "support/TestServices.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using pel::PhraseList;

namespace {

QList<QByteArray> bytesList(const QString& commaSeparated)
{
    QList<QByteArray> result;
    if (commaSeparated.isNull())
        return result;
    for (const QString& part : commaSeparated.split(u','))
        result << part.toLatin1();
    return result;
}

void fill(PhraseList& list, const QList<QByteArray>& entries)
{
    list.replaceAll(entries);
}

} // namespace

class TestPhraseList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void serialize_data();
    void serialize();
    void operations_data();
    void operations();
    void currentFollowsItsEntry_data();
    void currentFollowsItsEntry();
    void appendKeepsEntriesSingleLine_data();
    void appendKeepsEntriesSingleLine();
    void appendAllowsDuplicatesAndEmpty();
    void fileRoundTrip_data();
    void fileRoundTrip();
    void loadFailureLeavesList();
    void saveFailureReported_data();
    void saveFailureReported();
    void loadResetsCurrent();
    void modelStaysConsistent();
};

void TestPhraseList::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("entries");

    QTest::newRow("zero bytes") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("lf only") << QByteArray("a\nb\n") << QList<QByteArray>{"a", "b"};
    QTest::newRow("cr only") << QByteArray("a\rb\r") << QList<QByteArray>{"a", "b"};
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QList<QByteArray>{"a", "b"};
    QTest::newRow("two final breaks") << QByteArray("a\r\n\r\n") << QList<QByteArray>{"a", ""};
    QTest::newRow("empty line inside") << QByteArray("a\r\n\r\nb\r\n") << QList<QByteArray>{"a", "", "b"};
    QTest::newRow("cr then crlf") << QByteArray("a\r\r\nb") << QList<QByteArray>{"a", "", "b"};
    QTest::newRow("lf then cr is two breaks") << QByteArray("a\n\rb") << QList<QByteArray>{"a", "", "b"};
    QTest::newRow("lone break") << QByteArray("\r\n") << QList<QByteArray>{""};
    QTest::newRow("nul ends text") << QByteArray("a\r\nb\0c\r\nd\r\n", 11) << QList<QByteArray>{"a", "b"};
    QTest::newRow("nul first") << QByteArray("\0a\r\n", 4) << QList<QByteArray>{};
    QTest::newRow("spaces kept") << QByteArray("  a \r\n\tb\t\r\n") << QList<QByteArray>{"  a ", "\tb\t"};
    // Half-width katakana, a double-byte character, and bytes that are not
    // valid code page 932 all stay as they are.
    QTest::newRow("raw bytes") << QByteArray("\xB1\xB2\r\n\x82\xA0\r\n\x81\r\n\xFF\xFD")
                               << QList<QByteArray>{"\xB1\xB2", "\x82\xA0", "\x81", "\xFF\xFD"};
    // A trail byte that looks like LF is still a line break: code page 932
    // never uses 0A or 0D as a trail byte.
    QTest::newRow("lead byte before break") << QByteArray("\x82\r\nx") << QList<QByteArray>{"\x82", "x"};
}

void TestPhraseList::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, entries);
    QCOMPARE(pel::PhraseFile::parse(bytes), entries);
}

void TestPhraseList::serialize_data()
{
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty list") << QList<QByteArray>{} << QByteArray();
    QTest::newRow("one empty entry") << QList<QByteArray>{""} << QByteArray("\r\n");
    QTest::newRow("every line ends crlf") << QList<QByteArray>{"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("bytes unchanged") << QList<QByteArray>{"\xB1", " x "} << QByteArray("\xB1\r\n x \r\n");
}

void TestPhraseList::serialize()
{
    QFETCH(QList<QByteArray>, entries);
    QFETCH(QByteArray, bytes);
    QCOMPARE(pel::PhraseFile::serialize(entries), bytes);
    // Saving and loading gives the same list.
    QCOMPARE(pel::PhraseFile::parse(pel::PhraseFile::serialize(entries)), entries);
}

void TestPhraseList::operations_data()
{
    QTest::addColumn<QString>("before");     // comma-separated; null: empty list
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("currentAfter");
    QTest::addColumn<bool>("changed");

    const QString abc = QStringLiteral("A,B,C");
    const QString none;
    // Rotate
    QTest::newRow("rotate") << abc << -1 << "Rotate" << "B,C,A" << -1 << true;
    QTest::newRow("rotate one") << "A" << 0 << "Rotate" << "A" << 0 << false;
    QTest::newRow("rotate empty") << none << -1 << "Rotate" << none << -1 << false;
    // Without a current entry nothing but Rotate acts.
    for (const char* op : {"MoveToTop", "MoveToBottom", "MoveUp", "MoveDown", "DeleteCurrent"}) {
        QTest::addRow("%s without current", op) << abc << -1 << op << abc << -1 << false;
        QTest::addRow("%s on empty list", op) << none << -1 << op << none << -1 << false;
    }
    // With B current.
    QTest::newRow("up") << abc << 1 << "MoveUp" << "B,A,C" << 0 << true;
    QTest::newRow("down") << abc << 1 << "MoveDown" << "A,C,B" << 2 << true;
    QTest::newRow("bottom") << abc << 1 << "MoveToBottom" << "A,C,B" << 2 << true;
    QTest::newRow("top") << abc << 1 << "MoveToTop" << "B,A,C" << 0 << true;
    QTest::newRow("delete") << abc << 1 << "DeleteCurrent" << "A,C" << -1 << true;
    // At the ends.
    QTest::newRow("up on first") << abc << 0 << "MoveUp" << abc << 0 << false;
    QTest::newRow("down on last") << abc << 2 << "MoveDown" << abc << 2 << false;
    QTest::newRow("top on first") << abc << 0 << "MoveToTop" << abc << 0 << false;
    QTest::newRow("bottom on last") << abc << 2 << "MoveToBottom" << abc << 2 << false;
    QTest::newRow("top from last") << abc << 2 << "MoveToTop" << "C,A,B" << 0 << true;
    QTest::newRow("bottom from first") << abc << 0 << "MoveToBottom" << "B,C,A" << 2 << true;
    QTest::newRow("delete last") << abc << 2 << "DeleteCurrent" << "A,B" << -1 << true;
    QTest::newRow("delete only") << "A" << 0 << "DeleteCurrent" << none << -1 << true;
    QTest::newRow("clear") << abc << 1 << "ClearAll" << none << -1 << true;
    QTest::newRow("clear empty") << none << -1 << "ClearAll" << none << -1 << true;
}

void TestPhraseList::operations()
{
    QFETCH(QString, before);
    QFETCH(int, current);
    QFETCH(QString, operation);
    QFETCH(QString, after);
    QFETCH(int, currentAfter);
    QFETCH(bool, changed);

    PhraseList list;
    fill(list, bytesList(before));
    list.setCurrent(current);
    QCOMPARE(list.current(), current);

    bool result = true;
    if (operation == u"Rotate") result = list.Rotate();
    else if (operation == u"MoveToTop") result = list.MoveToTop();
    else if (operation == u"MoveToBottom") result = list.MoveToBottom();
    else if (operation == u"MoveUp") result = list.MoveUp();
    else if (operation == u"MoveDown") result = list.MoveDown();
    else if (operation == u"DeleteCurrent") result = list.DeleteCurrent();
    else if (operation == u"ClearAll") list.ClearAll();
    else QFAIL("unknown operation");

    QCOMPARE(list.entries(), bytesList(after));
    QCOMPARE(list.current(), currentAfter);
    QCOMPARE(result, changed);
}

void TestPhraseList::currentFollowsItsEntry_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<QByteArray>("entry");
    // Rotate moves every entry; the current one is still the same text.
    QTest::newRow("first") << 0 << QByteArray("A");
    QTest::newRow("middle") << 1 << QByteArray("B");
    QTest::newRow("last") << 3 << QByteArray("D");
}

void TestPhraseList::currentFollowsItsEntry()
{
    QFETCH(int, current);
    QFETCH(QByteArray, entry);
    PhraseList list;
    fill(list, bytesList(QStringLiteral("A,B,C,D")));
    list.setCurrent(current);
    QSignalSpy spy(&list, &PhraseList::currentChanged);
    QVERIFY(list.Rotate());
    QCOMPARE(list.entryBytes(list.current()), entry);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().first().toInt(), list.current());
}

void TestPhraseList::appendKeepsEntriesSingleLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("entry");
    QTest::newRow("plain") << QStringLiteral("abc") << QByteArray("abc");
    QTest::newRow("kanji") << QStringLiteral("漢字") << QByteArray("\x8A\xBF\x8E\x9A");
    QTest::newRow("half-width katakana") << QStringLiteral("ｱ｡") << QByteArray("\xB1\xA1");
    // A pasted break is kept as the space the one-line field shows for it.
    QTest::newRow("pasted breaks") << QStringLiteral("a\r\nb\nc\r") << QByteArray("a  b c ");
    QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << QByteArray("ab");
    // Characters the code page cannot hold are refused, never dropped or "?".
    QTest::newRow("emoji") << QStringLiteral("a\U0001F600b") << QByteArray();
    QTest::newRow("accented") << QStringLiteral("café") << QByteArray();
}

void TestPhraseList::appendKeepsEntriesSingleLine()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, entry);
    PhraseList list;
    const qsizetype refused = list.Append(text);
    if (entry.isNull()) {
        QCOMPARE(refused, qsizetype(text.size() - (text.contains(u'é') ? 1 : 3)));
        QCOMPARE(list.count(), 0);
        return;
    }
    QCOMPARE(refused, qsizetype(-1));
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.entryBytes(0), entry);
    QCOMPARE(pel::PhraseFile::parse(pel::PhraseFile::serialize(list.entries())), list.entries());
}

void TestPhraseList::appendAllowsDuplicatesAndEmpty()
{
    PhraseList list;
    list.setCurrent(-1);
    list.Append(QStringLiteral("x"));
    list.setCurrent(0);
    list.Append(QStringLiteral("x"));
    list.Append(QString());
    QCOMPARE(list.entries(), (QList<QByteArray>{"x", "x", ""}));
    QCOMPARE(list.current(), 0);
    QCOMPARE(list.texts(), (QStringList{"x", "x", ""}));
}

void TestPhraseList::fileRoundTrip_data()
{
    QTest::addColumn<QByteArray>("onDisk");
    QTest::addColumn<QByteArray>("savedAgain");
    QTest::newRow("empty file") << QByteArray() << QByteArray();
    QTest::newRow("lf file written back crlf") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("cr file written back crlf") << QByteArray("a\rb") << QByteArray("a\r\nb\r\n");
    QTest::newRow("invalid bytes kept") << QByteArray("\x81\xFF\r\n\xB1\r\n") << QByteArray("\x81\xFF\r\n\xB1\r\n");
}

void TestPhraseList::fileRoundTrip()
{
    QFETCH(QByteArray, onDisk);
    QFETCH(QByteArray, savedAgain);
    pel::test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("HOMELOG.TXT"));
    pel::test::writeFile(path, onDisk);
    PhraseList list;
    QVERIFY(list.LoadPhraseFile(path));
    const QString copy = env.path(QStringLiteral("HOMELOG.bak"));
    QVERIFY(list.SavePhraseFile(copy));
    QCOMPARE(pel::test::readFile(copy), savedAgain);
    PhraseList again;
    QVERIFY(again.LoadPhraseFile(copy));
    QCOMPARE(again.entries(), list.entries());
}

void TestPhraseList::loadFailureLeavesList()
{
    pel::test::TestEnvironment env;
    PhraseList list;
    fill(list, bytesList(QStringLiteral("A,B")));
    list.setCurrent(1);
    QVERIFY(!list.LoadPhraseFile(env.path(QStringLiteral("missing.bak"))));
    // A folder cannot be read as a file either.
    QVERIFY(QDir(env.programDirectory()).mkdir(QStringLiteral("folder")));
    QVERIFY(!list.LoadPhraseFile(env.path(QStringLiteral("folder"))));
    QCOMPARE(list.entries(), bytesList(QStringLiteral("A,B")));
    QCOMPARE(list.current(), 1);
}

void TestPhraseList::saveFailureReported_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder") << QStringLiteral("folder");
    QTest::newRow("inside a file") << QStringLiteral("plain.txt/COMBLOG.TXT");
    QTest::newRow("missing folder") << QStringLiteral("missing/COMBLOG.TXT");
}

void TestPhraseList::saveFailureReported()
{
    QFETCH(QString, target);
    pel::test::TestEnvironment env;
    QVERIFY(QDir(env.programDirectory()).mkdir(QStringLiteral("folder")));
    pel::test::writeFile(env.path(QStringLiteral("plain.txt")), "old\r\n");
    PhraseList list;
    list.Append(QStringLiteral("new"));
    QVERIFY(!list.SavePhraseFile(env.path(target)));
    QVERIFY(QFileInfo(env.path(QStringLiteral("folder"))).isDir());
    QCOMPARE(pel::test::readFile(env.path(QStringLiteral("plain.txt"))), QByteArray("old\r\n"));
}

void TestPhraseList::loadResetsCurrent()
{
    pel::test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("JAVALOG.bak"));
    pel::test::writeFile(path, "x\r\ny\r\n");
    PhraseList list;
    fill(list, bytesList(QStringLiteral("A,B,C")));
    list.setCurrent(2);
    QSignalSpy spy(&list, &PhraseList::currentChanged);
    QVERIFY(list.LoadPhraseFile(path));
    QCOMPARE(list.current(), -1);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(list.texts(), (QStringList{"x", "y"}));
}

void TestPhraseList::modelStaysConsistent()
{
    // The model tester checks every signal a view relies on.
    PhraseList list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* text : {"A", "B", "C", "D"})
        list.Append(QString::fromLatin1(text));
    list.setCurrent(2);
    list.MoveUp();
    list.MoveDown();
    list.MoveToTop();
    list.MoveToBottom();
    list.Rotate();
    list.DeleteCurrent();
    list.ClearAll();
    QCOMPARE(list.rowCount(), 0);
}

QTEST_MAIN(TestPhraseList)
#include "tst_phraselist.moc"
