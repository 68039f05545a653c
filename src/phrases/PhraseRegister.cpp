#include "phrases/PhraseRegister.h"

#include "phrases/PhraseList.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace pel {
namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool reported(QWidget* parent, const QString& path, bool written)
{
    if (!written)
        prompts().applicationError(parent, cannotCreateMessage(path));
    return written;
}

// Held while one copy of the program reads and writes a register, so that
// two copies never interleave. A lock that cannot be had (a folder nobody
// may write, a copy that hangs) does not stop the write: the re-read before
// writing still takes in what the other copy wrote.
class RegisterLock {
public:
    explicit RegisterLock(const QString& path) : file_(path) { file_.tryLock(5000); }

private:
    QLockFile file_;
};

} // namespace

PhraseRegister::PhraseRegister(PhraseList& list, QString listFileName, QString backupFileName,
                               QObject* parent)
    : QObject(parent), list_(list), listFileName_(std::move(listFileName)),
      backupFileName_(std::move(backupFileName))
{
    connect(&list_, &PhraseList::rowsInserted, this, &PhraseRegister::markChanged);
    connect(&list_, &PhraseList::rowsRemoved, this, &PhraseRegister::markChanged);
    connect(&list_, &PhraseList::rowsMoved, this, &PhraseRegister::markChanged);
    connect(&list_, &PhraseList::modelReset, this, &PhraseRegister::markChanged);
}

QString PhraseRegister::listPath() const
{
    return ProgramDirectory() + listFileName_;
}

QString PhraseRegister::backupPath() const
{
    return ProgramDirectory() + backupFileName_;
}

QString PhraseRegister::keepPath() const
{
    return listPath() + QStringLiteral(".new");
}

QString PhraseRegister::lockPath() const
{
    return listPath() + QStringLiteral(".lock");
}

void PhraseRegister::markChanged()
{
    if (!loading_)
        changed_ = true;
}

void PhraseRegister::replaceQuietly(QList<QByteArray> entries)
{
    loading_ = true;
    list_.replaceAll(std::move(entries));
    loading_ = false;
}

PhraseRegister::Loaded PhraseRegister::load(QWidget* messageParent)
{
    const QString path = listPath();
    target_ = Target::ListFile;
    base_.clear();
    fileBytes_.clear();
    unreadPath_.clear();
    keptTakenIn_ = false;
    backupWritten_ = false;
    if (!QFileInfo::exists(path)) {
        loaded_ = Loaded::Missing;
        offerKeptEntries(messageParent);
        return loaded_;
    }
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        loaded_ = Loaded::Unreadable;
        target_ = Target::KeepFile;
        prompts().applicationError(
            messageParent,
            cannotOpenMessage(path)
                + QStringLiteral("\r\nこのファイルとバックアップは書き換えません｡"
                                 "この登録に加えた内容は終了時に %1 に追加します｡")
                      .arg(shown(keepPath())));
        return loaded_;
    }
    replaceQuietly(PhraseFile::parse(*bytes));
    changed_ = false;
    base_ = list_.entries();
    const qsizetype nul = bytes->indexOf('\0');
    loaded_ = nul < 0 ? Loaded::Whole : Loaded::Partly;
    if (nul >= 0) {
        // The old file, tail and all, becomes the backup of a changed list.
        fileBytes_ = *bytes;
        keepUnreadPart(messageParent, *bytes, nul);
    }
    offerKeptEntries(messageParent);
    return loaded_;
}

void PhraseRegister::keepUnreadPart(QWidget* messageParent, const QByteArray& bytes, qsizetype nul)
{
    // From the NUL byte on, so the list's part and this one together are the
    // file as it was. A file of its own that no later close touches: an
    // earlier run's copy of the same bytes is used again, any other is left.
    const QByteArray tail = bytes.mid(nul);
    for (int n = 1; n <= 100 && unreadPath_.isEmpty(); ++n) {
        const QString candidate = listPath() + QStringLiteral(".unread")
            + (n == 1 ? QString() : QString::number(n));
        if (QFileInfo::exists(candidate)) {
            if (readWholeFile(candidate) == tail)
                unreadPath_ = candidate;
            continue;
        }
        if (!writeWholeFile(candidate, tail))
            break;
        unreadPath_ = candidate;
    }
    const QString start = QStringLiteral("ファイル %1 の %2 バイト目に NUL 文字があるため､そこから後の %3 バイトは"
                                         "登録に読み込んでいません｡\r\n")
                              .arg(shown(listPath()))
                              .arg(nul + 1)
                              .arg(tail.size());
    if (!unreadPath_.isEmpty()) {
        prompts().message(messageParent,
                          start
                              + QStringLiteral("読み込まなかった部分は %1 に残しました｡"
                                               "登録を変えると %2 はその部分なしで保存されます｡")
                                    .arg(shown(unreadPath_), shown(listPath())));
        return;
    }
    // Nowhere to keep the rest: the file stays as it is.
    target_ = Target::KeepFile;
    prompts().applicationError(messageParent,
                               start
                                   + QStringLiteral("読み込まなかった部分を別のファイルに残せないため､このファイルと"
                                                    "バックアップは書き換えません｡この登録に加えた内容は終了時に %1 "
                                                    "に追加します｡")
                                         .arg(shown(keepPath())));
}

void PhraseRegister::offerKeptEntries(QWidget* messageParent)
{
    if (target_ != Target::ListFile || !QFileInfo::exists(keepPath()))
        return;
    const std::optional<QByteArray> bytes = readWholeFile(keepPath());
    const qsizetype count = bytes ? PhraseFile::parse(*bytes).size() : 0;
    if (count == 0)
        return;
    const auto answer = prompts().confirm(
        messageParent,
        QStringLiteral("%1 を読めなかった間に登録した語句が %2 件､%3 にあります｡\r\n"
                       "この登録に加えますか ?\r\n(加えると %3 は削除します｡"
                       "加えなければそのまま残し､次の起動時にまたお尋ねします｡)")
            .arg(shown(listPath()))
            .arg(count)
            .arg(shown(keepPath())),
        Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes)
        return;
    RegisterLock lock(lockPath());
    takeInOthers(messageParent);
    // Another copy may have taken them in meanwhile.
    const std::optional<QByteArray> kept = readWholeFile(keepPath());
    if (!kept || target_ != Target::ListFile)
        return;
    for (const QByteArray& entry : PhraseFile::parse(*kept))
        list_.AppendBytes(entry);
    keptTakenIn_ = true;
    // Into the list file at once; the kept file goes only then.
    storeList(messageParent);
}

bool PhraseRegister::takeInOthers(QWidget* messageParent)
{
    if (target_ != Target::ListFile || !QFileInfo::exists(listPath()))
        return false;
    const std::optional<QByteArray> bytes = readWholeFile(listPath());
    if (!bytes) {
        // It cannot be read any more: it is not written over either.
        target_ = Target::KeepFile;
        base_.clear();
        prompts().applicationError(
            messageParent, cannotOpenMessage(listPath())
                               + QStringLiteral("\r\nこのファイルとバックアップは書き換えません｡"
                                                "この登録の内容は %1 に追加します｡")
                                     .arg(shown(keepPath())));
        return false;
    }
    const QList<QByteArray> theirs = PhraseFile::parse(*bytes);
    if (theirs == base_)
        return false;
    QList<QByteArray> merged = PhraseFile::merge(base_, theirs, list_.entries());
    base_ = theirs;
    if (merged == list_.entries())
        return false;
    replaceQuietly(std::move(merged));
    return true;
}

bool PhraseRegister::restore(QWidget* messageParent)
{
    const QString path = backupPath();
    if (!list_.LoadPhraseFile(path)) {
        prompts().applicationError(messageParent, cannotOpenMessage(path));
        return false;
    }
    return true;
}

bool PhraseRegister::writeBackup(QWidget* messageParent)
{
    RegisterLock lock(lockPath());
    takeInOthers(messageParent);
    const QString path = backupPath();
    switch (loaded_) {
    case Loaded::Unreadable:
        return true;
    case Loaded::Partly:
        // The old file, tail and all, is the backup of a list the user changed.
        return !changed_ || reported(messageParent, path, writeWholeFile(path, fileBytes_));
    case Loaded::Missing:
    case Loaded::Whole:
        break;
    }
    backupWritten_ = reported(messageParent, path, list_.SavePhraseFile(path));
    return backupWritten_;
}

bool PhraseRegister::writeList(QWidget* messageParent)
{
    RegisterLock lock(lockPath());
    const bool tookIn = takeInOthers(messageParent);
    if (target_ == Target::KeepFile)
        return storeKept(messageParent);
    // The backup follows what came in since it was written, so that after
    // both copies ended it still equals the list file.
    if (tookIn && backupWritten_)
        reported(messageParent, backupPath(), list_.SavePhraseFile(backupPath()));
    return storeList(messageParent);
}

bool PhraseRegister::storeList(QWidget* messageParent)
{
    // A file read only in part is written only when the user changed it.
    if (loaded_ == Loaded::Partly && !changed_)
        return true;
    if (!reported(messageParent, listPath(), list_.SavePhraseFile(listPath())))
        return false;
    base_ = list_.entries();
    if (keptTakenIn_ && QFile::remove(keepPath()))
        keptTakenIn_ = false;
    return true;
}

bool PhraseRegister::storeKept(QWidget* messageParent)
{
    if (!changed_)
        return true;
    // Added to, never written over: what an earlier run kept there stays,
    // and what this run put there before is not added twice.
    const QString path = keepPath();
    QList<QByteArray> theirs;
    if (QFileInfo::exists(path)) {
        const std::optional<QByteArray> bytes = readWholeFile(path);
        if (!bytes) {
            prompts().applicationError(messageParent, cannotOpenMessage(path));
            return false;
        }
        theirs = PhraseFile::parse(*bytes);
    }
    const QList<QByteArray> merged = PhraseFile::merge(base_, theirs, list_.entries());
    if (!reported(messageParent, path, writeWholeFile(path, PhraseFile::serialize(merged))))
        return false;
    base_ = list_.entries();
    return true;
}

} // namespace pel
