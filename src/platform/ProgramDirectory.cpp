#include "platform/ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace pel {
namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString withSeparator(QString folder)
{
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QString canonical(const QString& folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    return path.isEmpty() ? QDir::cleanPath(QDir::fromNativeSeparators(folder)) : path;
}

// Permission bits alone are not enough: a read-only mount or an ACL also
// refuse, so try to create a file.
bool canCreateFilesIn(const QString& folder)
{
    if (!QFileInfo(folder).isWritable())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".pelmora-XXXXXX")));
    return probe.open();
}

bool copyFile(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (target.write(bytes) != bytes.size()) {
        target.cancelWriting();
        return false;
    }
    return target.commit();
}

QString resolveOnce()
{
    const QString program = executableDirectory();
#ifdef PELMORA_INSTALL_BINDIR
    const QString installed = QStringLiteral(PELMORA_INSTALL_BINDIR);
#else
    const QString installed;
#endif
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const DataFolderChoice choice = chooseDataFolder(program, user, installed);
    if (choice.perUser)
        adoptRegisters(program, choice.folder);
    return choice.folder;
}
} // namespace

QString ProgramDirectory()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    static const QString folder = resolveOnce();
    return folder;
}

void setProgramDirectory(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withSeparator(folder);
}

QString executableDirectory()
{
    return withSeparator(QCoreApplication::applicationDirPath());
}

QStringList programDataFolders()
{
    if (!overrideFolder().isEmpty())
        return {overrideFolder()};
    QStringList folders{executableDirectory()};
#ifdef PELMORA_DATA_RELATIVE
    folders << QDir::cleanPath(executableDirectory() + QStringLiteral(PELMORA_DATA_RELATIVE));
#endif
#ifdef PELMORA_DATADIR
    folders << QStringLiteral(PELMORA_DATADIR);
#endif
    folders.removeDuplicates();
    return folders;
}

QStringList registerFileNames()
{
    return {QStringLiteral("COMBLOG.TXT"), QStringLiteral("HOMELOG.TXT"), QStringLiteral("JAVALOG.TXT"),
            QStringLiteral("COMBOLOG.bak"), QStringLiteral("HOMELOG.bak"), QStringLiteral("JAVALOG.bak")};
}

DataFolderChoice chooseDataFolder(const QString& programFolder, const QString& userFolder,
                                  const QString& installedFolder)
{
    const bool installed = !installedFolder.isEmpty() && canonical(programFolder) == canonical(installedFolder);
    if (!installed && canCreateFilesIn(programFolder))
        return {withSeparator(programFolder), false};
    return {withSeparator(userFolder), true};
}

QStringList adoptRegisters(const QString& programFolder, const QString& userFolder)
{
    const QDir user(userFolder);
    if (!QDir().mkpath(userFolder))
        return {};
    const QStringList names = registerFileNames();
    for (const QString& name : names)
        if (QFileInfo::exists(user.filePath(name)))
            return {};
    QStringList copied;
    const QDir program(programFolder);
    for (const QString& name : names)
        if (QFileInfo(program.filePath(name)).isFile() && copyFile(program.filePath(name), user.filePath(name)))
            copied << name;
    return copied;
}

} // namespace pel
