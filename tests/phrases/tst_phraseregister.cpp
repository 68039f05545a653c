// A register's files: two copies of the program sharing them, entries kept
// aside while the list file cannot be read, and the part of a file behind a
// NUL byte.
#include "phrases/PhraseList.h"
#include "phrases/PhraseRegister.h"
#include "platform/ProgramDirectory.h"
#include "support/TestServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <iostream>
#include <string>

using pel::PhraseList;
using pel::PhraseRegister;
using pel::test::readFile;
using pel::test::writeFile;
using Answer = pel::Prompts::Answer;

namespace {

QList<QByteArray> entries(const char* commaSeparated)
{
    QList<QByteArray> result;
    const QByteArray all(commaSeparated);
    if (all == "-")
        return result;
    for (const QByteArray& part : all.split(','))
        result << part;
    return result;
}

// One copy of the program's register, as a process of its own: it loads the
// register, makes its change, says "loaded" and waits for a line on its
// input before it writes the backup and the list as a closing program does.
// Arguments: folder, phrase to register, entry to delete ("" for none).
int runCopy(const QStringList& arguments)
{
    auto& services = pel::services();
    services.prompts = std::make_shared<pel::SilentPrompts>();
    pel::setProgramDirectory(arguments.at(2));
    PhraseList list;
    PhraseRegister reg(list, QStringLiteral("COMBLOG.TXT"), QStringLiteral("COMBOLOG.bak"));
    reg.load(nullptr);
    list.Append(arguments.at(3));
    const int deleted = list.texts().indexOf(arguments.at(4));
    if (deleted >= 0) {
        list.setCurrent(deleted);
        list.DeleteCurrent();
    }
    std::cout << "loaded" << std::endl;
    std::string go;
    std::getline(std::cin, go);
    const bool written = reg.writeBackup(nullptr) && reg.writeList(nullptr);
    return written ? 0 : 1;
}

} // namespace

class TestPhraseRegister : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void merge_data();
    void merge();
    void twoCopiesKeepEachOthersPhrases_data();
    void twoCopiesKeepEachOthersPhrases();
    void twoProcessesKeepEachOthersPhrases();
    void keptEntriesAreAddedTo();
    void keptEntriesOfferedBack_data();
    void keptEntriesOfferedBack();
    void partBehindNulKept();
};

void TestPhraseRegister::merge_data()
{
    QTest::addColumn<QByteArray>("base");
    QTest::addColumn<QByteArray>("theirs");
    QTest::addColumn<QByteArray>("mine");
    QTest::addColumn<QByteArray>("merged");
    QTest::newRow("nothing written elsewhere") << QByteArray("a,b") << QByteArray("a,b") << QByteArray("b,a,c") << QByteArray("b,a,c");
    QTest::newRow("both added") << QByteArray("a") << QByteArray("a,x,y") << QByteArray("a,m") << QByteArray("a,x,y,m");
    QTest::newRow("added there at the top") << QByteArray("a,b") << QByteArray("x,a,b") << QByteArray("a,b,m") << QByteArray("x,a,b,m");
    QTest::newRow("deleted here stays deleted") << QByteArray("a,b,c") << QByteArray("a,b,c,x") << QByteArray("a,c") << QByteArray("a,c,x");
    QTest::newRow("deleted there stays deleted") << QByteArray("a,b,c") << QByteArray("a,c") << QByteArray("a,b,c,m") << QByteArray("a,c,m");
    QTest::newRow("deleted on both sides") << QByteArray("a,b") << QByteArray("a") << QByteArray("a") << QByteArray("a");
    QTest::newRow("the same phrase added on both sides") << QByteArray("a") << QByteArray("a,a") << QByteArray("a,a") << QByteArray("a,a,a");
    QTest::newRow("one of two equal entries deleted there") << QByteArray("a,b,a") << QByteArray("b,a") << QByteArray("a,b,a,c") << QByteArray("b,a,c");
    QTest::newRow("reordered here") << QByteArray("a,b,c") << QByteArray("a,b,c,x") << QByteArray("c,b,a") << QByteArray("c,x,b,a");
    QTest::newRow("all cleared there, added here") << QByteArray("a,b") << QByteArray("-") << QByteArray("a,b,m") << QByteArray("m");
    QTest::newRow("first write of a kept file") << QByteArray("-") << QByteArray("p,q") << QByteArray("m") << QByteArray("p,q,m");
}

void TestPhraseRegister::merge()
{
    QFETCH(QByteArray, base);
    QFETCH(QByteArray, theirs);
    QFETCH(QByteArray, mine);
    QFETCH(QByteArray, merged);
    QCOMPARE(pel::PhraseFile::merge(entries(base), entries(theirs), entries(mine)), entries(merged));
}

void TestPhraseRegister::twoCopiesKeepEachOthersPhrases_data()
{
    // The order in which two copies write their backup (b) and list (l).
    QTest::addColumn<QByteArray>("order");
    QTest::newRow("one after the other") << QByteArray("AbAlBbBl");
    QTest::newRow("closed together, ended apart") << QByteArray("AbBbAlBl");
    QTest::newRow("ended in the other order") << QByteArray("AbBbBlAl");
}

void TestPhraseRegister::twoCopiesKeepEachOthersPhrases()
{
    QFETCH(QByteArray, order);
    pel::test::TestEnvironment env;
    writeFile(env.path(QStringLiteral("COMBLOG.TXT")), "one\r\ntwo\r\nthree\r\n");
    PhraseList listA;
    PhraseList listB;
    PhraseRegister a(listA, QStringLiteral("COMBLOG.TXT"), QStringLiteral("COMBOLOG.bak"));
    PhraseRegister b(listB, QStringLiteral("COMBLOG.TXT"), QStringLiteral("COMBOLOG.bak"));
    a.load(nullptr);
    b.load(nullptr);
    listA.Append(QStringLiteral("from A"));
    listA.setCurrent(0);
    listA.DeleteCurrent();
    listB.Append(QStringLiteral("from B"));
    listB.setCurrent(2);
    listB.MoveToTop();
    for (qsizetype i = 0; i < order.size(); i += 2) {
        PhraseRegister& reg = order[i] == 'A' ? a : b;
        QVERIFY(order[i + 1] == 'b' ? reg.writeBackup(nullptr) : reg.writeList(nullptr));
    }
    const QByteArray list = readFile(env.path(QStringLiteral("COMBLOG.TXT")));
    // "one", deleted in A, stays deleted; both new phrases are there, once.
    QList<QByteArray> written = pel::PhraseFile::parse(list);
    std::sort(written.begin(), written.end());
    QCOMPARE(written, entries("from A,from B,three,two"));
    QCOMPARE(readFile(env.path(QStringLiteral("COMBOLOG.bak"))), list);
    QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("COMBLOG.TXT.lock"))));
}

void TestPhraseRegister::twoProcessesKeepEachOthersPhrases()
{
    pel::test::TestEnvironment env;
    const QString list = env.path(QStringLiteral("COMBLOG.TXT"));
    writeFile(list, "one\r\ntwo\r\n");
    // Several rounds, each copy released at once, so the writes race.
    for (int round = 0; round < 4; ++round) {
        const QString a = QStringLiteral("A%1").arg(round);
        const QString b = QStringLiteral("B%1").arg(round);
        QProcess copies[2];
        const QStringList arguments[2] = {{QStringLiteral("--copy"), env.programDirectory(), a, QStringLiteral("one")},
                                          {QStringLiteral("--copy"), env.programDirectory(), b, QString()}};
        for (int i = 0; i < 2; ++i) {
            copies[i].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            copies[i].start(QCoreApplication::applicationFilePath(), arguments[i]);
        }
        for (QProcess& copy : copies) {
            while (!copy.canReadLine())
                QVERIFY(copy.waitForReadyRead(60000));
            QCOMPARE(copy.readLine(), QByteArray("loaded\n"));
        }
        for (QProcess& copy : copies)
            copy.write("go\n");
        for (QProcess& copy : copies) {
            QVERIFY(copy.waitForFinished(60000));
            QCOMPARE(copy.exitCode(), 0);
        }
        const QList<QByteArray> now = pel::PhraseFile::parse(readFile(list));
        QVERIFY2(now.contains(a.toLatin1()) && now.contains(b.toLatin1()), readFile(list).constData());
        QVERIFY(!now.contains("one"));
        QCOMPARE(readFile(env.path(QStringLiteral("COMBOLOG.bak"))), readFile(list));
    }
    QCOMPARE(pel::PhraseFile::parse(readFile(list)).size(), 1 + 2 * 4);
}

void TestPhraseRegister::keptEntriesAreAddedTo()
{
    // A folder where the list file should be cannot be read, by root either.
    pel::test::TestEnvironment env;
    QVERIFY(QDir().mkpath(env.path(QStringLiteral("COMBLOG.TXT"))));
    const QString kept = env.path(QStringLiteral("COMBLOG.TXT.new"));
    for (const char* phrase : {"first run", "second run"}) {
        PhraseList list;
        PhraseRegister reg(list, QStringLiteral("COMBLOG.TXT"), QStringLiteral("COMBOLOG.bak"));
        QCOMPARE(reg.load(nullptr), PhraseRegister::Loaded::Unreadable);
        QVERIFY(env.prompts->shown.last().text.contains(QDir::toNativeSeparators(kept)));
        list.Append(QString::fromLatin1(phrase));
        // A session save and the end both write; nothing is added twice.
        QVERIFY(reg.writeList(nullptr));
        QVERIFY(reg.writeList(nullptr));
    }
    QCOMPARE(readFile(kept), QByteArray("first run\r\nsecond run\r\n"));
}

void TestPhraseRegister::keptEntriesOfferedBack_data()
{
    QTest::addColumn<bool>("listExists");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("list readable again, yes") << true << Answer::Yes;
    QTest::newRow("list readable again, no") << true << Answer::No;
    QTest::newRow("list gone, yes") << false << Answer::Yes;
}

void TestPhraseRegister::keptEntriesOfferedBack()
{
    QFETCH(bool, listExists);
    QFETCH(Answer, answer);
    pel::test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("HOMELOG.TXT"));
    const QString kept = path + QStringLiteral(".new");
    if (listExists)
        writeFile(path, "old\r\n");
    writeFile(kept, "kept 1\r\nkept 2\r\n");
    env.prompts->setAnswers({answer});
    PhraseList list;
    PhraseRegister reg(list, QStringLiteral("HOMELOG.TXT"), QStringLiteral("HOMELOG.bak"));
    reg.load(nullptr);
    QCOMPARE(env.prompts->shown.size(), 1);
    QCOMPARE(env.prompts->shown.first().caption, QStringLiteral("確認"));
    QVERIFY(env.prompts->shown.first().text.contains(QDir::toNativeSeparators(kept)));
    QVERIFY(env.prompts->shown.first().text.contains(QStringLiteral("2 件")));
    const QByteArray before = listExists ? QByteArray("old\r\n") : QByteArray();
    if (answer == Answer::Yes) {
        // In the list file at once; the kept file goes only then.
        QCOMPARE(readFile(path), before + "kept 1\r\nkept 2\r\n");
        QVERIFY(!QFileInfo::exists(kept));
    } else {
        QCOMPARE(readFile(path), before);
        QCOMPARE(readFile(kept), QByteArray("kept 1\r\nkept 2\r\n"));
    }
    QCOMPARE(list.entries().size(), answer == Answer::Yes ? before.count('\n') + 2 : before.count('\n'));
}

void TestPhraseRegister::partBehindNulKept()
{
    pel::test::TestEnvironment env;
    const QString path = env.path(QStringLiteral("JAVALOG.TXT"));
    const QByteArray file("one\r\ntwo\0tail\r\nthree\r\n", 22);
    const QByteArray tail("\0tail\r\nthree\r\n", 14);
    writeFile(path, file);
    // Another file of that name holds something else: it is left alone.
    writeFile(path + QStringLiteral(".unread"), "older\r\n");
    for (int run = 0; run < 2; ++run) {
        env.prompts->shown.clear();
        PhraseList list;
        PhraseRegister reg(list, QStringLiteral("JAVALOG.TXT"), QStringLiteral("JAVALOG.bak"));
        QCOMPARE(reg.load(nullptr), PhraseRegister::Loaded::Partly);
        QCOMPARE(reg.unreadPath(), path + QStringLiteral(".unread2"));
        QCOMPARE(readFile(reg.unreadPath()), tail);
        // Told at start, naming the file and where the rest is.
        QCOMPARE(env.prompts->shown.size(), 1);
        QVERIFY(env.prompts->shown.first().text.contains(QDir::toNativeSeparators(path)));
        QVERIFY(env.prompts->shown.first().text.contains(QDir::toNativeSeparators(reg.unreadPath())));
        QVERIFY(reg.writeBackup(nullptr) && reg.writeList(nullptr));
        // Unchanged: the file stays whole.
        QCOMPARE(readFile(path), file);
    }
    // Changed and closed twice: the rest is still in its own file.
    for (int run = 0; run < 2; ++run) {
        PhraseList list;
        PhraseRegister reg(list, QStringLiteral("JAVALOG.TXT"), QStringLiteral("JAVALOG.bak"));
        reg.load(nullptr);
        list.Append(QStringLiteral("new %1").arg(run));
        QVERIFY(reg.writeBackup(nullptr) && reg.writeList(nullptr));
    }
    QCOMPARE(readFile(path), QByteArray("one\r\ntwo\r\nnew 0\r\nnew 1\r\n"));
    QCOMPARE(readFile(path + QStringLiteral(".unread2")), tail);
    QCOMPARE(readFile(path + QStringLiteral(".unread")), QByteArray("older\r\n"));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--copy") == 0)
        return runCopy(app.arguments());
    TestPhraseRegister test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_phraseregister.moc"
