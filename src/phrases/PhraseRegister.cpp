#include "phrases/PhraseRegister.h"

#include "phrases/PhraseList.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>

namespace pel {

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

void PhraseRegister::markChanged()
{
    if (!loading_)
        changed_ = true;
}

PhraseRegister::Loaded PhraseRegister::load(QWidget* messageParent)
{
    const QString path = listPath();
    if (!QFileInfo::exists(path)) {
        loaded_ = Loaded::Missing;
        return loaded_;
    }
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        loaded_ = Loaded::Unreadable;
        prompts().applicationError(
            messageParent,
            cannotOpenMessage(path)
                + QStringLiteral("\r\nこのファイルとバックアップは書き換えません｡"
                                 "この登録に加えた内容は終了時に %1 に保存します｡")
                      .arg(QDir::toNativeSeparators(keepPath())));
        return loaded_;
    }
    loading_ = true;
    list_.replaceAll(PhraseFile::parse(*bytes));
    loading_ = false;
    changed_ = false;
    // Everything after a NUL byte stays on disk until the user changes the list.
    const bool whole = !bytes->contains('\0');
    loaded_ = whole ? Loaded::Whole : Loaded::Partly;
    fileBytes_ = whole ? QByteArray() : *bytes;
    return loaded_;
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

namespace {
bool reported(QWidget* parent, const QString& path, bool written)
{
    if (!written)
        prompts().applicationError(parent, cannotCreateMessage(path));
    return written;
}
} // namespace

bool PhraseRegister::writeBackup(QWidget* messageParent) const
{
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
    return reported(messageParent, path, list_.SavePhraseFile(path));
}

bool PhraseRegister::writeList(QWidget* messageParent) const
{
    const bool loadedWhole = loaded_ == Loaded::Missing || loaded_ == Loaded::Whole;
    if (!loadedWhole && !changed_)
        return true;
    const QString path = loaded_ == Loaded::Unreadable ? keepPath() : listPath();
    return reported(messageParent, path, list_.SavePhraseFile(path));
}

} // namespace pel
