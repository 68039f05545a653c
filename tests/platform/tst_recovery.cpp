// Recovery copies: committed whole or not at all, the user told when they
// cannot be written, the file's bytes kept, runs told apart by more than
// their process id; and the session manager's die request.
#include "platform/Cp932.h"
#include "platform/RecoveryStore.h"
#include "platform/SessionEnd.h"
#include "platform/TextMessages.h"
#include "support/TestServices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QWidget>

#include <optional>

#include <sys/resource.h>
#include <unistd.h>

using pel::RecoveryStore;
using pel::test::readFile;
using pel::test::writeFile;

namespace {

// Writes beyond `bytes` fail while it lives, as under "ulimit -f".
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        pel::SessionEnd::ignoreFileSizeSignal();
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

RecoveryStore::Copy parsed(const QString& path)
{
    RecoveryStore::Copy copy;
    if (!RecoveryStore::parse(readFile(path), copy))
        copy.text = QStringLiteral("<unreadable>");
    return copy;
}

// A window whose close is refused and counted, as a close question would be.
class Asking : public QWidget {
public:
    int asked = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++asked;
        event->ignore();
    }
};

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { env = std::make_unique<pel::test::TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void copyIsCommittedWholeOrNotAtAll_data();
    void copyIsCommittedWholeOrNotAtAll();
    void cutCopyShowsItself();
    void copyKeepsTheFilesBytes_data();
    void copyKeepsTheFilesBytes();
    void failedCopiesAreToldOnce_data();
    void failedCopiesAreToldOnce();
    void runsAreToldApart_data();
    void runsAreToldApart();
    void invisibleCharactersAreNamed_data();
    void invisibleCharactersAreNamed();
    void dieAfterSaveRequestEndsWithoutQuestion_data();
    void dieAfterSaveRequestEndsWithoutQuestion();

private:
    std::unique_ptr<pel::test::TestEnvironment> env;
};

void TestRecovery::copyIsCommittedWholeOrNotAtAll_data()
{
    QTest::addColumn<int>("characters");
    // Smaller than the file's buffer: the short write only shows in the
    // final flush. Larger: it shows in the write itself.
    QTest::newRow("10 KB") << 10000;
    QTest::newRow("40 KB") << 40000;
}

void TestRecovery::copyIsCommittedWholeOrNotAtAll()
{
    QFETCH(int, characters);
    RecoveryStore store;
    QVERIFY(store.saveNow({QStringLiteral("first draft"), {}, {}, QStringLiteral("/tmp/a.txt")}));
    {
        const FileSizeLimit limit(4096);
        QVERIFY(!store.saveNow({QString(characters, u'x'), {}, {}, QStringLiteral("/tmp/a.txt")}));
    }
    // The previous copy stays as it was, and nothing half written is left.
    const RecoveryStore::Copy copy = parsed(store.path());
    QCOMPARE(copy.text, QStringLiteral("first draft"));
    QVERIFY(copy.whole);
    QCOMPARE(QDir(RecoveryStore::folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // copy and lock
}

void TestRecovery::cutCopyShowsItself()
{
    const QString text = QStringLiteral("一行目\n二行目\n");
    const QByteArray bytes = RecoveryStore::serialize({text, {}, {}, QStringLiteral("/tmp/a.txt")});
    RecoveryStore::Copy copy;
    QVERIFY(RecoveryStore::parse(bytes, copy));
    QVERIFY(copy.whole);
    QCOMPARE(copy.text, text);
    // Cut inside the second line's first character: what is there comes
    // back, without half a character, and says it is not all.
    QVERIFY(RecoveryStore::parse(bytes.chopped(QByteArray("二行目\n").size() - 1), copy));
    QVERIFY(!copy.whole);
    QCOMPARE(copy.text, QStringLiteral("一行目\n"));
    // Copies written before the format kept the file's bytes still read.
    QVERIFY(RecoveryStore::parse("Pelmora recovery 1\n/tmp/old.txt\nold text", copy));
    QCOMPARE(copy.text, QStringLiteral("old text"));
    QCOMPARE(copy.documentFileName, QStringLiteral("/tmp/old.txt"));
    QVERIFY(copy.whole);
}

void TestRecovery::copyKeepsTheFilesBytes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("byte that is no character") << QByteArray("ABC\x80" "DEF\r\n");
    QTest::newRow("NUL and a stray CR") << QByteArray("A\0B\rC\r\n", 7);
    QTest::newRow("NEC code of a duplicate") << QByteArray("\xED\x40\r\n");
    QTest::newRow("LF file") << QByteArray("one\ntwo\x80\n");
    QTest::newRow("CR file") << QByteArray("one\rtwo\r");
}

void TestRecovery::copyKeepsTheFilesBytes()
{
    QFETCH(QByteArray, file);
    const pel::DecodedText decoded = pel::decodeTextFile(file);
    RecoveryStore store;
    QVERIFY(store.saveNow({decoded.text, decoded.marks, decoded.spelling, QStringLiteral("/tmp/a.txt")}));
    const RecoveryStore::Copy copy = parsed(store.path());
    QVERIFY(copy.whole);
    QCOMPARE(copy.text, decoded.text);
    // Restored, the document saves byte for byte as the one that was lost.
    const pel::EncodedText encoded = pel::encodeTextFile(copy.text, copy.marks, copy.spelling);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.bytes, file);
}

void TestRecovery::failedCopiesAreToldOnce_data()
{
    QTest::addColumn<bool>("sizeLimit");  // else: the folder cannot be made
    QTest::newRow("file-size limit") << true;
    QTest::newRow("folder cannot be made") << false;
}

void TestRecovery::failedCopiesAreToldOnce()
{
    QFETCH(bool, sizeLimit);
    const QString folder = RecoveryStore::folder();
    RecoveryStore store;
    QObject context;
    QList<bool> told;
    store.setWriteWatcher(&context, [&told](bool written) { told << written; });
    const RecoveryStore::Document big{QString(10000, u'x'), {}, {}, {}};
    {
        std::optional<FileSizeLimit> limit;
        if (sizeLimit) {
            limit.emplace(4096);
        } else {
            // A file where the folder should be.
            QVERIFY(QDir(folder).removeRecursively());
            writeFile(folder, "in the way");
        }
        QVERIFY(!store.saveNow(big));
        store.save(big);
        QVERIFY(!store.saveNow(big));
        if (!sizeLimit)
            QVERIFY(QFile::remove(folder));
    }
    QTRY_COMPARE(told, QList<bool>{false});
    // Working again: said once more.
    QVERIFY(store.saveNow(big));
    QVERIFY(store.saveNow(big));
    QTRY_COMPARE(told, (QList<bool>{false, true}));
    QCOMPARE(parsed(store.path()).text, big.text);
}

void TestRecovery::runsAreToldApart_data()
{
    QTest::addColumn<QByteArray>("lock");
    QTest::addColumn<bool>("runs");
    const QByteArray own = RecoveryStore::lockOfThisRun();
    QList<QByteArray> lines = own.split('\n');  // magic, pid, boot, start time
    QTest::newRow("this run") << own << true;
    QList<QByteArray> reused = lines;
    reused[3] = QByteArray::number(reused[3].toLongLong() + 1);
    // Same id, later process: a run that crashed and whose id came again.
    QTest::newRow("id reused") << reused.join('\n') << false;
    QList<QByteArray> otherBoot = lines;
    otherBoot[2] = "00000000-0000-0000-0000-000000000000";
    QTest::newRow("earlier boot") << otherBoot.join('\n') << false;
    QList<QByteArray> gone = lines;
    gone[1] = "2147483646";
    QTest::newRow("id of nothing") << gone.join('\n') << false;
    QTest::newRow("not a lock") << QByteArray("garbage") << false;
}

void TestRecovery::runsAreToldApart()
{
    QFETCH(QByteArray, lock);
    QFETCH(bool, runs);
    if (QSysInfo::bootUniqueId().isEmpty())
        QSKIP("the system gives no boot id");
    QCOMPARE(RecoveryStore::lockHolderRuns(lock), runs);
    // A copy beside the lock is offered only when its run has ended.
    RecoveryStore store;
    const QString base = RecoveryStore::folder() + QStringLiteral("/session-%1-1").arg(getpid());
    writeFile(base + ".recover", RecoveryStore::serialize(QStringLiteral("left"), QString()));
    writeFile(base + ".lock", lock);
    QCOMPARE(store.orphans().size(), runs ? 0 : 1);
}

void TestRecovery::invisibleCharactersAreNamed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("named");
    QTest::newRow("euro") << QStringLiteral("€") << -1 << QStringLiteral("「€」(U+20AC)");
    QTest::newRow("emoji") << QStringLiteral("😀") << -1 << QStringLiteral("「😀」(U+1F600)");
    QTest::newRow("stand-in with its byte") << QStringLiteral("\uFFFC") << 0x80 << QStringLiteral("「バイト 80」");
    QTest::newRow("stand-in without") << QStringLiteral("\uFFFC") << -1
                                      << QStringLiteral("「文字ではないバイト」(U+FFFC)");
    QTest::newRow("no-break space") << QStringLiteral("\u00A0") << -1 << QStringLiteral("(U+00A0)");
    QTest::newRow("zero width space") << QStringLiteral("\u200B") << -1 << QStringLiteral("(U+200B)");
    QTest::newRow("variation selector") << QStringLiteral("\uFE0F") << -1 << QStringLiteral("(U+FE0F)");
}

void TestRecovery::invisibleCharactersAreNamed()
{
    QFETCH(QString, text);
    QFETCH(int, byte);
    QFETCH(QString, named);
    QCOMPARE(pel::describeCharacter(text, 0, byte), named);
    // The save refusal names it the same way.
    if (byte < 0)
        QVERIFY(pel::unsavableCharacterMessage(text, 0).contains(named));
}

void TestRecovery::dieAfterSaveRequestEndsWithoutQuestion_data()
{
    QTest::addColumn<bool>("saveRequested");
    QTest::newRow("after the save request") << true;
    QTest::newRow("without it") << false;
}

void TestRecovery::dieAfterSaveRequestEndsWithoutQuestion()
{
    QFETCH(bool, saveRequested);
    Asking window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pel::SessionEnd sessionEnd;
    QSignalSpy ending(&sessionEnd, &pel::SessionEnd::ending);
    if (saveRequested)
        sessionEnd.saveRequested();
    // The session manager's die request reaches the program as the
    // toolkit's quit event.
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);
    if (saveRequested) {
        // Ends as at a signal; nobody is asked.
        QCOMPARE(ending.size(), 2);
        QCOMPARE(ending.at(0).at(0).toBool(), false);
        QCOMPARE(ending.at(1).at(0).toBool(), true);
        QCOMPARE(window.asked, 0);
    } else {
        // Any other quit asks as a close does.
        QVERIFY(ending.isEmpty());
        QCOMPARE(window.asked, 1);
    }
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
