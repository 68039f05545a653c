#include "platform/SafeFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace pel {
namespace {

// The file a path finally names, following symbolic links (relative ones
// from their own folder); empty for a loop. A link to nothing names the
// file it would create.
QString resolvedTarget(QString path)
{
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            return path;
        path = info.symLinkTarget();
        if (path.isEmpty())
            return {};
    }
    return {};
}

bool writeAll(QFileDevice& file, const QByteArray& bytes)
{
    // A write can come back short on a full disk without an error.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 chunk = file.write(bytes.constData() + written, bytes.size() - written);
        if (chunk <= 0)
            return false;
        written += chunk;
    }
    return file.flush();
}

enum class Replaced { Yes, Failed, NotHere };

// The usual way: a temporary file beside the target, renamed over it. The
// new file gets the old one's owner, group and mode first; where that is
// not allowed (or no temporary file can be made there) the caller writes
// in place instead, so the file never changes hands.
Replaced writeReplacing(const QString& path, const QByteArray& bytes, const struct stat* old)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return old ? Replaced::NotHere : Replaced::Failed;
    if (old) {
        const int fd = file.handle();
        const bool owned = (old->st_uid == ::geteuid() && old->st_gid == ::getegid())
            || ::fchown(fd, old->st_uid, old->st_gid) == 0;
        if (!owned) {
            file.cancelWriting();
            return Replaced::NotHere;
        }
        ::fchmod(fd, old->st_mode & 07777);
    }
    if (!writeAll(file, bytes)) {
        file.cancelWriting();
        return Replaced::Failed;
    }
    return file.commit() ? Replaced::Yes : Replaced::Failed;
}

// While a file is written in place its old bytes are also kept in the
// user's data folder, so that even a crash half-way leaves them somewhere.
QString keepOldBytes(const QString& path, const QByteArray& bytes)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
        + QStringLiteral("/saving");
    if (!QDir().mkpath(folder))
        return {};
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString name = QFileInfo(path).fileName() + u'-'
        + QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
    const QString copy = folder + u'/' + name;
    QSaveFile file(copy);
    if (!file.open(QIODevice::WriteOnly) || !writeAll(file, bytes) || !file.commit())
        return {};
    return copy;
}

bool putInPlace(QFile& file, const QByteArray& bytes)
{
    return file.seek(0) && writeAll(file, bytes) && file.resize(bytes.size()) && ::fdatasync(file.handle()) == 0;
}

// Overwrites the file itself: its owner, mode and links stay as they are.
// The old bytes are kept until the new ones are read back, and put back
// when anything fails.
bool writeInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const QString copy = keepOldBytes(path, old);
    bool written = putInPlace(file, bytes);
    if (written) {
        file.seek(0);
        written = file.readAll() == bytes;
    }
    if (written || putInPlace(file, old)) {
        if (!copy.isEmpty())
            QFile::remove(copy);
    } else if (!copy.isEmpty()) {
        qWarning("%s could not be restored; its previous content is in %s", qPrintable(path), qPrintable(copy));
    }
    return written;
}

} // namespace

std::optional<QByteArray> readWholeFile(const QString& path)
{
    const QString local = QDir::fromNativeSeparators(path);
    if (QFileInfo(local).isDir())
        return std::nullopt;
    QFile file(local);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    // Write through links to their target so the links themselves survive.
    const QString local = resolvedTarget(QDir::fromNativeSeparators(path));
    if (local.isEmpty())
        return false;
    struct stat old {};
    const bool existed = ::stat(QFile::encodeName(local).constData(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode))
        return false;
    // A file with several names stays one file.
    if (existed && old.st_nlink > 1)
        return writeInPlace(local, bytes);
    switch (writeReplacing(local, bytes, existed ? &old : nullptr)) {
    case Replaced::Yes:
        return true;
    case Replaced::Failed:
        return false;
    case Replaced::NotHere:
        break;
    }
    return writeInPlace(local, bytes);
}

QString cannotOpenMessage(const QString& path)
{
    return QStringLiteral("ファイル %1 は開けません").arg(QDir::toNativeSeparators(path));
}

QString cannotCreateMessage(const QString& path)
{
    return QStringLiteral("ファイル %1 を作成できません").arg(QDir::toNativeSeparators(path));
}

} // namespace pel
