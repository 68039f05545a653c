#include "platform/RecoveryStore.h"

#include "platform/LineBreaks.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThreadPool>

#include <atomic>

namespace pel {

namespace {

const QByteArray kMagic = "Pelmora recovery 1\n";
const QString kCopySuffix = QStringLiteral(".recover");
const QString kLockSuffix = QStringLiteral(".lock");

QString& folderOverride()
{
    static QString folder;
    return folder;
}

QString lockPathOf(const QString& copyPath)
{
    return copyPath.chopped(kCopySuffix.size()) + kLockSuffix;
}

} // namespace

QString RecoveryStore::folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
           + QStringLiteral("/recovery");
}

void RecoveryStore::setFolder(const QString& folder)
{
    folderOverride() = folder;
}

RecoveryStore::RecoveryStore()
    : writer_(std::make_unique<QThreadPool>()),
      generation_(std::make_shared<std::atomic<quint64>>(0))
{
    writer_->setMaxThreadCount(1);
    const QString base = folder() + QStringLiteral("/session-%1-%2")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(QDateTime::currentMSecsSinceEpoch());
    copyPath_ = base + kCopySuffix;
    if (ensureFolder()) {
        lock_ = std::make_unique<QLockFile>(base + kLockSuffix);
        lock_->setStaleLockTime(0);
        lock_->tryLock(0);
    }
}

RecoveryStore::~RecoveryStore()
{
    writer_->waitForDone();
    // The copy stays when there is one: the document was not closed normally.
    if (lock_)
        lock_->unlock();
}

bool RecoveryStore::ensureFolder() const
{
    const QString path = folder();
    if (!QDir().mkpath(path))
        return false;
    // The copies hold the user's text: nobody else may look into the folder.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

QByteArray RecoveryStore::serialize(const QString& text, const QString& documentFileName)
{
    QByteArray bytes = kMagic;
    bytes += documentFileName.toUtf8();
    bytes += '\n';
    bytes += lineBreaks::toNewlines(text).toUtf8();
    return bytes;
}

bool RecoveryStore::parse(const QByteArray& bytes, Copy& copy)
{
    if (!bytes.startsWith(kMagic))
        return false;
    const qsizetype nameEnd = bytes.indexOf('\n', kMagic.size());
    if (nameEnd < 0)
        return false;
    copy.documentFileName = QString::fromUtf8(bytes.mid(kMagic.size(), nameEnd - kMagic.size()));
    copy.text = QString::fromUtf8(bytes.mid(nameEnd + 1));
    return true;
}

bool RecoveryStore::writeCopy(const QByteArray& bytes) const
{
    if (!ensureFolder())
        return false;
    QSaveFile file(copyPath_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    QFile::setPermissions(copyPath_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

void RecoveryStore::save(const QString& text, const QString& documentFileName)
{
    const quint64 mine = ++*generation_;
    auto generation = generation_;
    writer_->start([this, text, documentFileName, mine, generation] {
        // A newer copy is on its way: this one would only be overwritten.
        if (generation->load() != mine)
            return;
        writeCopy(serialize(text, documentFileName));
    });
}

bool RecoveryStore::saveNow(const QString& text, const QString& documentFileName)
{
    ++*generation_;
    writer_->waitForDone();
    return writeCopy(serialize(text, documentFileName));
}

void RecoveryStore::remove()
{
    ++*generation_;
    writer_->waitForDone();
    QFile::remove(copyPath_);
}

bool RecoveryStore::exists() const
{
    return QFileInfo::exists(copyPath_);
}

QList<RecoveryStore::Copy> RecoveryStore::orphans() const
{
    // Locks of ended runs that kept no copy are only clutter.
    const QDir locks(folder());
    for (const QString& name : locks.entryList({QStringLiteral("*") + kLockSuffix}, QDir::Files)) {
        const QString lockPath = locks.filePath(name);
        const QString copyPath = lockPath.chopped(kLockSuffix.size()) + kCopySuffix;
        if (QFileInfo::exists(copyPath))
            continue;
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            lock.unlock();  // removes the file
    }
    QList<Copy> copies;
    const QFileInfoList files = QDir(folder()).entryInfoList({QStringLiteral("*") + kCopySuffix},
                                                             QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& info : files) {
        const QString path = info.absoluteFilePath();
        if (path == QFileInfo(copyPath_).absoluteFilePath())
            continue;
        // A lock that can be taken belongs to a run that has ended.
        QLockFile lock(lockPathOf(path));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        QFile file(path);
        Copy copy;
        if (file.open(QIODevice::ReadOnly) && parse(file.readAll(), copy)) {
            copy.path = path;
            copies << copy;
        }
    }
    return copies;
}

void RecoveryStore::discard(const Copy& copy)
{
    QFile::remove(copy.path);
    QFile::remove(lockPathOf(copy.path));
}

} // namespace pel
