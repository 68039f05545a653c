#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace pel {

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
    QString local = QDir::fromNativeSeparators(path);
    const QFileInfo info(local);
    if (info.isDir())
        return false;
    // Write through a link to its target so the link itself survives.
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        if (target.isEmpty())
            return false;
        local = target;
    }
    const bool existed = QFileInfo::exists(local);
    const QFileDevice::Permissions permissions = existed ? QFile::permissions(local)
                                                         : QFileDevice::Permissions{};

    QSaveFile file(local);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile::write can come back short on a full disk without an error.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 chunk = file.write(bytes.constData() + written, bytes.size() - written);
        if (chunk <= 0) {
            file.cancelWriting();
            return false;
        }
        written += chunk;
    }
    if (!file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    if (existed)
        QFile::setPermissions(local, permissions);
    return true;
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
