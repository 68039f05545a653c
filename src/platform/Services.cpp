#include "platform/Services.h"

#include "platform/DesktopEntry.h"
#include "platform/Dialogs.h"
#include "platform/HelpSystem.h"
#include "platform/MediaService.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <ctime>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace pel {

Services& services()
{
    static Services instance;
    return instance;
}

void installSystemServices()
{
    Services& s = services();
    if (!s.prompts) s.prompts = std::make_shared<QtPrompts>();
    if (!s.dialogs) s.dialogs = std::make_shared<QtDialogs>();
    if (!s.beep) s.beep = std::make_shared<SystemBeep>();
    if (!s.shell) s.shell = std::make_shared<SystemShell>();
    if (!s.clock) s.clock = std::make_shared<SystemClock>();
    if (!s.help) s.help = std::make_shared<SystemHelp>();
    if (!s.media) s.media = std::make_shared<SystemMediaService>();
}

void resetServices()
{
    services() = Services{};
}

void SystemBeep::beep()
{
    QApplication::beep();
}

QUrl targetToUrl(const QString& target)
{
    const QUrl url(target);
    const QString scheme = url.scheme().toLower();
    // A one-letter scheme is a Windows drive letter, not a scheme.
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")
        || scheme == QLatin1String("mailto") || scheme == QLatin1String("file"))
        return url;
    return QUrl::fromLocalFile(QFileInfo(QDir::fromNativeSeparators(target)).absoluteFilePath());
}

QString shellOpenFailure(const QString& target, int launcherExitCode)
{
    // xdg-open: 2 the file is not there, 3 no program for it, 4 the program
    // it chose could not be started (or failed).
    const QString shown = QDir::toNativeSeparators(target);
    switch (launcherExitCode) {
    case 0:
        return {};
    case 2:
        return QStringLiteral("ファイル %1 が見つかりません").arg(shown);
    case 4:
        return QStringLiteral("%1 を開くプログラムを起動できませんでした。").arg(shown);
    default:
        return QStringLiteral("%1 を開くプログラムが見つかりません。").arg(shown);
    }
}

namespace {

void reportOpenFailure(const QString& target, int launcherExitCode)
{
    const QString text = shellOpenFailure(target, launcherExitCode);
    if (!text.isEmpty() && services().prompts)
        services().prompts->error(QApplication::activeWindow(), text);
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// The toolkit starts xdg-open and counts a started launcher as success, so
// a desktop with no browser (or no program for the file's type) would show
// nothing at all. Starting it here lets its answer reach the user.
bool openThroughLauncher(const QString& launcher, const QString& target, const QUrl& url)
{
    // Not owned by the application: a launcher that waits for the browser it
    // started must outlive the program without being killed at exit.
    auto* process = new QProcess;
    process->setProgram(launcher);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer running;
    running.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, running, target](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         // xdg-open waits for the browser it starts; one that ran
                         // a while and then ended badly was seen by the user, and
                         // a box long after the page was closed would only puzzle.
                         if (running.elapsed() < 5000)
                             reportOpenFailure(target, status == QProcess::NormalExit ? exitCode : 4);
                     });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
}
#endif

} // namespace

bool SystemShell::open(const QString& target)
{
    const QUrl url = targetToUrl(target);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Inside a sandbox the toolkit goes through the desktop portal instead.
    const bool sandboxed = qEnvironmentVariableIsSet("FLATPAK_ID") || qEnvironmentVariableIsSet("SNAP");
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!sandboxed && !launcher.isEmpty() && openThroughLauncher(launcher, target, url))
        return true;
#endif
    if (QDesktopServices::openUrl(url))
        return true;
    reportOpenFailure(target, 3);
    return false;
}

bool SystemShell::startTextEditor(const QString& path)
{
#ifdef Q_OS_WIN
    QStringList arguments;
    if (!path.isEmpty())
        arguments << path;
    return QProcess::startDetached(QStringLiteral("notepad.exe"), arguments);
#else
    if (!path.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    // No file: ask the desktop which application handles plain text and
    // start that one on nothing.
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("text/plain")});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
        query.kill();
        return false;
    }
    const QString id = QString::fromUtf8(query.readAllStandardOutput()).split(u';').value(0).trimmed();
    QFile entry(findDesktopEntry(id, applicationFolders()));
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    QStringList command = desktopEntryCommand(entry.readAll());
    if (command.isEmpty())
        return false;
    const QString program = command.takeFirst();
    return QProcess::startDetached(program, command);
#endif
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 SystemClock::uptimeMilliseconds() const
{
#ifdef Q_OS_WIN
    return qint64(GetTickCount64());
#else
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
#endif
}

} // namespace pel
