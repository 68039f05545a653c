#include "platform/Services.h"

#include "platform/DesktopEntry.h"
#include "platform/Dialogs.h"
#include "platform/HelpSystem.h"
#include "platform/MediaService.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

bool SystemShell::open(const QString& target)
{
    return QDesktopServices::openUrl(targetToUrl(target));
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
