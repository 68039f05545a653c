// The real program at the end of a session: SIGTERM stores the registers,
// their backups and the settings; after kill -9 the next start offers the
// typed text back.
#include "platform/RecoveryStore.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

using pel::test::readFile;
using pel::test::writeFile;

namespace {

// A copy of the program in a folder of its own: its phrase files live beside
// it, and its settings and recovery copies in folders of the test's.
class Installed {
public:
    Installed()
    {
        const QString program = dir.filePath(QStringLiteral("pelmora"));
        QFile::copy(QStringLiteral(PELMORA_EXECUTABLE), program);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString recoveryFolder() const { return dir.filePath(QStringLiteral("data/ZELVO/Pelmora/recovery")); }
    QStringList inRecovery(const QString& pattern) const
    {
        return QDir(recoveryFolder()).entryList({pattern}, QDir::Files);
    }
    void start(QProcess& process) const
    {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(path(QStringLiteral("pelmora")), {});
    }

    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

bool run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
         QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    // A loaded machine may take long to show a window: search waits for it.
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return false;
    if (output)
        *output = process.readAllStandardOutput().trimmed();
    return true;
}

} // namespace

class TestSessionEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sigtermStoresEverything();
    void registersWrittenElsewhereAreKept();
    void killedTextIsOfferedBack();
};

void TestSessionEnd::sigtermStoresEverything()
{
    Installed program;
    const QByteArray lists[] = {"combo\r\n", "home\r\n", "java\r\n"};
    const char* files[] = {"COMBLOG.TXT", "HOMELOG.TXT", "JAVALOG.TXT"};
    for (int i = 0; i < 3; ++i)
        writeFile(program.path(QString::fromLatin1(files[i])), lists[i]);
    QProcess process;
    program.start(process);
    QVERIFY(process.waitForStarted());
    // The run's lock shows that its windows are being made.
    QTRY_VERIFY_WITH_TIMEOUT(!program.inRecovery(QStringLiteral("*.lock")).isEmpty(), 15000);
    ::kill(pid_t(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(15000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    const char* backups[] = {"COMBOLOG.bak", "HOMELOG.bak", "JAVALOG.bak"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(readFile(program.path(QString::fromLatin1(files[i]))), lists[i]);
        QCOMPARE(readFile(program.path(QString::fromLatin1(backups[i]))), lists[i]);
    }
    QVERIFY(QFile::exists(program.path(QStringLiteral("config/ZELVO/Pelmora.conf"))));
}

void TestSessionEnd::registersWrittenElsewhereAreKept()
{
    // Two copies run from one folder; meanwhile a third adds a phrase to
    // each register. Both end by SIGTERM: the phrase is still there, and
    // each backup equals its list.
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display and xdotool to see when both copies have read their registers");
    Installed program;
    const char* files[] = {"COMBLOG.TXT", "HOMELOG.TXT", "JAVALOG.TXT"};
    const char* backups[] = {"COMBOLOG.bak", "HOMELOG.bak", "JAVALOG.bak"};
    for (const char* file : files)
        writeFile(program.path(QString::fromLatin1(file)), "one\r\n");
    QProcess copies[2];
    for (QProcess& copy : copies) {
        program.start(copy);
        QVERIFY(copy.waitForStarted());
    }
    // A shown main window has read all three registers.
    const auto shownWindows = [&] {
        QByteArray windows;
        run(xdotool, {"search", "--onlyvisible", "--name", "^Pelmora"}, program.environment, &windows);
        return windows.isEmpty() ? 0 : windows.count('\n') + 1;
    };
    QTRY_VERIFY_WITH_TIMEOUT(shownWindows() >= 2, 60000);
    for (const char* file : files)
        writeFile(program.path(QString::fromLatin1(file)), "one\r\nelsewhere\r\n");
    for (QProcess& copy : copies) {
        ::kill(pid_t(copy.processId()), SIGTERM);
        QVERIFY(copy.waitForFinished(15000));
        QCOMPARE(copy.exitCode(), 0);
    }
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(readFile(program.path(QString::fromLatin1(files[i]))), QByteArray("one\r\nelsewhere\r\n"));
        QCOMPARE(readFile(program.path(QString::fromLatin1(backups[i]))), QByteArray("one\r\nelsewhere\r\n"));
    }
}

void TestSessionEnd::killedTextIsOfferedBack()
{
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty() || qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display and xdotool to type into the real window");
    Installed program;

    const auto xdo = [&](const QStringList& arguments, QByteArray* output = nullptr) {
        return run(xdotool, arguments, program.environment, output);
    };
    // Focuses the first visible window whose title matches `name`.
    const auto focus = [&](const QString& name) {
        QByteArray window;
        if (!xdo({"search", "--sync", "--onlyvisible", "--name", name}, &window) || window.isEmpty())
            return false;
        return xdo({"windowfocus", "--sync", QString::fromLatin1(window.split('\n').first())});
    };

    QProcess first;
    program.start(first);
    QVERIFY(focus(QStringLiteral("^Pelmora")));
    QVERIFY(xdo({"type", "--delay", "20", "draft 1"}));
    // The copy follows within about two seconds of typing, without a save.
    QString copy;
    QTRY_VERIFY_WITH_TIMEOUT(!(copy = program.inRecovery(QStringLiteral("*.recover")).value(0)).isEmpty(), 5000);
    pel::RecoveryStore::Copy read;
    QTRY_VERIFY_WITH_TIMEOUT(pel::RecoveryStore::parse(readFile(program.recoveryFolder() + u'/' + copy), read)
                                 && read.text == u"draft 1", 5000);
    first.kill();
    QVERIFY(first.waitForFinished());

    QProcess second;
    program.start(second);
    QVERIFY(focus(QStringLiteral("確認")));
    QVERIFY(xdo({"key", "Return"}));  // Yes restores
    // The restored text is the new run's unsaved document, with its own copy;
    // the killed run's copy is gone.
    QTRY_VERIFY_WITH_TIMEOUT(!program.inRecovery(QStringLiteral("*.recover")).contains(copy), 10000);
    const QStringList copies = program.inRecovery(QStringLiteral("*.recover"));
    QCOMPARE(copies.size(), 1);
    QVERIFY(pel::RecoveryStore::parse(readFile(program.recoveryFolder() + u'/' + copies.first()), read));
    QCOMPARE(read.text, QStringLiteral("draft 1"));
    ::kill(pid_t(second.processId()), SIGTERM);
    QVERIFY(second.waitForFinished(15000));
    QCOMPARE(program.inRecovery(QStringLiteral("*.recover")), copies);
}

QTEST_GUILESS_MAIN(TestSessionEnd)
#include "tst_sessionend.moc"
