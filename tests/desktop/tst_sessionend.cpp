// The real program at the end of a session: SIGTERM stores the registers,
// their backups and the settings; after kill -9 the next start offers the
// typed text back.
#include "platform/RecoveryStore.h"
#include "support/TestServices.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
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
    void start(QProcess& process, const QStringList& arguments = {}) const
    {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(path(QStringLiteral("pelmora")), arguments);
    }

    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

// A loaded machine may take long to show a window: search waits for it.
bool run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
         QByteArray* output = nullptr, QDeadlineTimer deadline = QDeadlineTimer(60000))
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(int(qMax<qint64>(deadline.remainingTime(), 1))) || process.exitCode() != 0) {
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(arguments.join(u' ')),
                 process.readAllStandardError().constData());
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput().trimmed();
    return true;
}

QString xdotoolPath()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return {};
    return QStandardPaths::findExecutable(QStringLiteral("xdotool"));
}

bool xdo(const QStringList& arguments, QByteArray* output = nullptr)
{
    return run(xdotoolPath(), arguments, QProcessEnvironment::systemEnvironment(), output);
}

// Focuses the first visible window whose title matches `name`, waiting for it.
bool focus(const QString& name)
{
    // A search walks every window: one of a killed run that vanishes under
    // it makes it fail, and the next search goes on without it.
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        QByteArray window;
        if (run(xdotoolPath(), {"search", "--sync", "--onlyvisible", "--name", name},
                QProcessEnvironment::systemEnvironment(), &window, deadline)
            && !window.isEmpty())
            return xdo({"windowfocus", "--sync", QString::fromLatin1(window.split('\n').first())});
    }
    return false;
}

} // namespace

class TestSessionEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sigtermStoresEverything();
    void registersWrittenElsewhereAreKept();
    void killedTextIsOfferedBack();
    void sigtermEndsStartupMessage();
    void cutCopyIsNeverCommitted();
    void reusedProcessIdStillOffersCopy();
    void restoredDocumentSavesItsBytes();
    void cutCopyComesBackUntitled();
    void changedPictureKeptAtSigterm();
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
    if (xdotoolPath().isEmpty())
        QSKIP("needs an X display and xdotool to type into the real window");
    Installed program;

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

void TestSessionEnd::sigtermEndsStartupMessage()
{
    Installed program;
    QVERIFY(QDir().mkpath(program.path(QStringLiteral("config/ZELVO"))));
    writeFile(program.path(QStringLiteral("config/ZELVO/Pelmora.conf")), "[Option]\nFontColor=garbage\n");
    QProcess process;
    program.start(process);
    QVERIFY(process.waitForStarted());
    // The run's lock shows that a signal is heard; the message about the
    // colour is open then, or opens with the signal waiting for it.
    QTRY_VERIFY_WITH_TIMEOUT(!program.inRecovery(QStringLiteral("*.lock")).isEmpty(), 15000);
    if (!xdotoolPath().isEmpty())
        QVERIFY(focus(QStringLiteral("^Pelmora$")));  // the message; the main window is not up yet
    ::kill(pid_t(process.processId()), SIGTERM);
    // Nobody presses OK at a logout.
    QVERIFY(process.waitForFinished(15000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(program.inRecovery(QStringLiteral("*.lock")).isEmpty());
}

void TestSessionEnd::cutCopyIsNeverCommitted()
{
    if (xdotoolPath().isEmpty())
        QSKIP("needs an X display and xdotool to type into the real window");
    Installed program;
    QByteArray lines;
    for (int i = 1; i <= 400; ++i)
        lines += QByteArray("line ") + QByteArray::number(i).rightJustified(3, '0') + " of the user's file\r\n";
    const QString file = program.path(QStringLiteral("long.txt"));
    writeFile(file, lines);
    QProcess process;
    process.setProcessEnvironment(program.environment);
    // ulimit -f 4: no file of the run grows beyond 4 KB.
    process.setChildProcessModifier([] {
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.start(program.path(QStringLiteral("pelmora")), {file});
    QVERIFY(focus(QStringLiteral("^Pelmora")));
    QVERIFY(xdo({"type", "--delay", "20", "x"}));
    // The copy cannot be written whole: none is committed, and the run says so.
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += process.readAllStandardError()).contains("could not be written"), 10000);
    process.kill();
    QVERIFY(process.waitForFinished());
    QCOMPARE(program.inRecovery(QStringLiteral("*.recover")), QStringList());
    QCOMPARE(readFile(file), lines);
}

void TestSessionEnd::reusedProcessIdStillOffersCopy()
{
    if (xdotoolPath().isEmpty())
        QSKIP("needs an X display and xdotool to type into the real window");
    // Each run in a process-id namespace of its own gets the same id, as
    // runs started at boot do.
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    const QStringList isolated{"--pid", "--fork", "--kill-child", "--mount-proc"};
    if (unshare.isEmpty() || !run(unshare, isolated + QStringList{"true"}, QProcessEnvironment::systemEnvironment()))
        QSKIP("needs unshare and the right to make process-id namespaces");
    Installed program;
    const auto start = [&](QProcess& process) {
        process.setProcessEnvironment(program.environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(unshare, isolated + QStringList{program.path(QStringLiteral("pelmora"))});
    };

    QProcess first;
    start(first);
    QVERIFY(focus(QStringLiteral("^Pelmora")));
    QVERIFY(xdo({"type", "--delay", "20", "draft 1"}));
    QString copy;
    pel::RecoveryStore::Copy read;
    QTRY_VERIFY_WITH_TIMEOUT(!(copy = program.inRecovery(QStringLiteral("*.recover")).value(0)).isEmpty()
                                 && pel::RecoveryStore::parse(readFile(program.recoveryFolder() + u'/' + copy), read)
                                 && read.text == u"draft 1",
                             10000);
    QVERIFY2(copy.startsWith(QStringLiteral("session-1-")), qPrintable(copy));
    first.kill();  // the namespace's processes go with it
    QVERIFY(first.waitForFinished());

    QProcess second;
    start(second);
    QVERIFY(focus(QStringLiteral("確認")));
    QVERIFY(xdo({"key", "Return"}));  // Yes restores
    QTRY_VERIFY_WITH_TIMEOUT(!program.inRecovery(QStringLiteral("*.recover")).contains(copy), 10000);
    const QStringList copies = program.inRecovery(QStringLiteral("*.recover"));
    QCOMPARE(copies.size(), 1);
    QVERIFY(pel::RecoveryStore::parse(readFile(program.recoveryFolder() + u'/' + copies.first()), read));
    QCOMPARE(read.text, QStringLiteral("draft 1"));
    second.kill();
    QVERIFY(second.waitForFinished());
}

void TestSessionEnd::restoredDocumentSavesItsBytes()
{
    if (xdotoolPath().isEmpty())
        QSKIP("needs an X display and xdotool to type into the real window");
    Installed program;
    const QString file = program.path(QStringLiteral("bytes.txt"));
    writeFile(file, "ABC\x80" "DEF");
    QProcess first;
    program.start(first, {file});
    QVERIFY(focus(QStringLiteral("^Pelmora")));
    QVERIFY(xdo({"type", "--delay", "20", "Z"}));
    QTRY_VERIFY_WITH_TIMEOUT(!program.inRecovery(QStringLiteral("*.recover")).isEmpty(), 10000);
    first.kill();
    QVERIFY(first.waitForFinished());

    QProcess second;
    program.start(second);
    QVERIFY(focus(QStringLiteral("確認")));
    QVERIFY(xdo({"key", "Return"}));  // Yes restores
    QVERIFY(focus(QStringLiteral("^Pelmora")));
    QVERIFY(xdo({"key", "--clearmodifiers", "alt+f"}));
    QVERIFY(xdo({"key", "s"}));  // 上書き保存: the text has no name yet, so the save dialog asks
    QVERIFY(focus(QStringLiteral("保存")));
    const QString saved = program.path(QStringLiteral("saved.txt"));
    QVERIFY(xdo({"key", "--clearmodifiers", "ctrl+a"}));
    QVERIFY(xdo({"type", "--delay", "20", saved}));
    QVERIFY(xdo({"key", "Return"}));
    // The byte that is no character is written back as it was.
    QTRY_COMPARE_WITH_TIMEOUT(readFile(saved), QByteArray("ZABC\x80" "DEF"), 10000);
    second.kill();
    QVERIFY(second.waitForFinished());
}

void TestSessionEnd::cutCopyComesBackUntitled()
{
    if (xdotoolPath().isEmpty())
        QSKIP("needs an X display and xdotool to answer the real window");
    Installed program;
    const QString file = program.path(QStringLiteral("long.txt"));
    const QByteArray lines = QByteArray("a line of the user's file\r\n").repeated(400);
    writeFile(file, lines);
    // A copy that ends before its own length says (a disk that lost its end).
    QVERIFY(QDir().mkpath(program.recoveryFolder()));
    const QByteArray whole = pel::RecoveryStore::serialize(QString::fromLatin1(lines).remove(u'\r'), file);
    writeFile(program.recoveryFolder() + QStringLiteral("/session-1-1.recover"), whole.left(whole.size() / 3));
    QProcess process;
    program.start(process);
    QVERIFY(focus(QStringLiteral("確認")));
    QVERIFY(xdo({"key", "Return"}));  // Yes restores what there is
    QVERIFY(focus(QStringLiteral("^Pelmora$")));  // untitled
    QVERIFY(xdo({"key", "--clearmodifiers", "alt+f"}));
    QVERIFY(xdo({"key", "s"}));  // 上書き保存 asks for a name instead of shortening the file
    QVERIFY(focus(QStringLiteral("保存")));
    process.kill();
    QVERIFY(process.waitForFinished());
    QCOMPARE(readFile(file), lines);
}

void TestSessionEnd::changedPictureKeptAtSigterm()
{
    if (xdotoolPath().isEmpty())
        QSKIP("needs an X display and xdotool to draw in the real window");
    Installed program;
    // ツール → 絵画フォーム, from the keyboard.
    const auto openPaintForm = [] {
        return focus(QStringLiteral("^Pelmora")) && xdo({"key", "--clearmodifiers", "alt+t"})
               && xdo({"key", "Down", "Down", "Down", "Down", "Down", "Return"}) && focus(QStringLiteral("^PelPaint"));
    };
    QProcess first;
    program.start(first);
    QVERIFY(openPaintForm());
    QByteArray form;
    QVERIFY(xdo({"search", "--onlyvisible", "--name", "^PelPaint"}, &form));
    const QString window = QString::fromLatin1(form.split('\n').first());
    // A stroke of the pen across the canvas, at the form's top left.
    QVERIFY(xdo({"mousemove", "--window", window, "20", "110", "mousedown", "1"}));
    QVERIFY(xdo({"mousemove", "--window", window, "60", "170", "mouseup", "1"}));
    // The copy follows the drawing within about a second, and the end of
    // the session keeps it.
    QTRY_VERIFY_WITH_TIMEOUT(!program.inRecovery(QStringLiteral("picture-*.recover")).isEmpty(), 10000);
    ::kill(pid_t(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(15000));
    QCOMPARE(first.exitCode(), 0);
    const QStringList copies = program.inRecovery(QStringLiteral("picture-*.recover"));
    QCOMPARE(copies.size(), 1);
    const QByteArray copy = readFile(program.recoveryFolder() + u'/' + copies.first());
    const QImage drawn = QImage::fromData(copy, "PNG");
    QVERIFY(!drawn.isNull());
    QImage white(drawn.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    QVERIFY(drawn.convertToFormat(QImage::Format_RGB32) != white);

    // Offered when the form next opens; restored, it is the new run's copy.
    QProcess second;
    program.start(second);
    QVERIFY(openPaintForm());
    QVERIFY(focus(QStringLiteral("確認")));
    QVERIFY(xdo({"key", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(!program.inRecovery(QStringLiteral("picture-*.recover")).contains(copies.first()), 10000);
    const QStringList now = program.inRecovery(QStringLiteral("picture-*.recover"));
    QCOMPARE(now.size(), 1);
    QCOMPARE(readFile(program.recoveryFolder() + u'/' + now.first()), copy);
    second.kill();
    QVERIFY(second.waitForFinished());
}

QTEST_GUILESS_MAIN(TestSessionEnd)
#include "tst_sessionend.moc"
