#include "phrases/PhraseList.h"

#include "platform/Cp932.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "platform/TextMessages.h"

#include <QHash>

#include <algorithm>

namespace pel {

PhraseList::PhraseList(QObject* parent) : QAbstractListModel(parent) {}

QString PhraseList::entryText(int index) const
{
    return Cp932::decode(entries_.at(index));
}

QStringList PhraseList::texts() const
{
    QStringList result;
    result.reserve(entries_.size());
    for (const QByteArray& entry : entries_)
        result << Cp932::decode(entry);
    return result;
}

void PhraseList::setCurrent(int index)
{
    if (index < -1 || index >= count())
        index = -1;
    if (index == current_)
        return;
    current_ = index;
    Q_EMIT currentChanged(current_);
}

QString PhraseList::singleLine(const QString& text)
{
    // Entries are single lines: a pasted break is kept as the space a
    // one-line field shows for it, and a NUL would end the file early and
    // lose the entries behind it.
    QString line = text;
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    line.remove(QChar(u'\0'));
    return line;
}

qsizetype PhraseList::Append(const QString& text)
{
    // A character the code page cannot hold is refused, never dropped or
    // turned into "?".
    const QString line = singleLine(text);
    const Cp932::Encoded encoded = Cp932::encode(line);
    if (!encoded.ok())
        return encoded.failedAt;
    AppendBytes(encoded.bytes);
    return -1;
}

bool registerPhrase(PhraseList& list, const QString& text, QWidget* messageParent)
{
    const qsizetype refused = list.Append(text);
    if (refused < 0)
        return true;
    prompts().error(messageParent, unregistrableCharacterMessage(PhraseList::singleLine(text), refused));
    return false;
}

void PhraseList::AppendBytes(const QByteArray& bytes)
{
    QByteArray entry = bytes;
    entry.removeIf([](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    beginInsertRows({}, count(), count());
    entries_.append(std::move(entry));
    endInsertRows();
}

bool PhraseList::move(int from, int to)
{
    if (from == to)
        return false;
    const int before = current_;
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    entries_.move(from, to);
    // The current entry travels with its entry, as a view's own mark does;
    // it is settled before the views hear of the move.
    if (current_ == from)
        current_ = to;
    else if (from < current_ && current_ <= to)
        --current_;
    else if (to <= current_ && current_ < from)
        ++current_;
    endMoveRows();
    if (current_ != before)
        Q_EMIT currentChanged(current_);
    return true;
}

bool PhraseList::Rotate()
{
    if (count() < 2)
        return false;
    return move(0, count() - 1);
}

bool PhraseList::MoveToTop()
{
    if (current_ < 0)
        return false;
    return move(current_, 0);
}

bool PhraseList::MoveToBottom()
{
    if (current_ < 0)
        return false;
    return move(current_, count() - 1);
}

bool PhraseList::MoveUp()
{
    if (current_ <= 0)
        return false;
    return move(current_, current_ - 1);
}

bool PhraseList::MoveDown()
{
    if (current_ < 0 || current_ >= count() - 1)
        return false;
    return move(current_, current_ + 1);
}

bool PhraseList::DeleteCurrent()
{
    if (current_ < 0)
        return false;
    const int index = current_;
    beginRemoveRows({}, index, index);
    entries_.removeAt(index);
    current_ = -1;
    endRemoveRows();
    Q_EMIT currentChanged(-1);
    return true;
}

void PhraseList::ClearAll()
{
    replaceAll({});
}

void PhraseList::replaceAll(QList<QByteArray> entries)
{
    const bool hadCurrent = current_ >= 0;
    beginResetModel();
    entries_ = std::move(entries);
    current_ = -1;
    endResetModel();
    if (hadCurrent)
        Q_EMIT currentChanged(-1);
}

bool PhraseList::LoadPhraseFile(const QString& path)
{
    const std::optional<QByteArray> bytes = readWholeFile(path);
    if (!bytes)
        return false;
    replaceAll(PhraseFile::parse(*bytes));
    return true;
}

bool PhraseList::SavePhraseFile(const QString& path) const
{
    return writeWholeFile(path, PhraseFile::serialize(entries_));
}

int PhraseList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant PhraseList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return entryText(index.row());
    return {};
}

namespace PhraseFile {

QByteArray serialize(const QList<QByteArray>& entries)
{
    qsizetype size = 0;
    for (const QByteArray& entry : entries)
        size += entry.size() + 2;
    QByteArray block;
    block.reserve(size);
    for (const QByteArray& entry : entries) {
        block += entry;
        block += "\r\n";
    }
    return block;
}

QList<QByteArray> parse(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    QList<QByteArray> entries;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        entries.append(bytes.sliced(start, i - start).toByteArray());
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        entries.append(bytes.sliced(start).toByteArray());
    return entries;
}

QList<QByteArray> merge(const QList<QByteArray>& base, const QList<QByteArray>& theirs,
                        const QList<QByteArray>& mine)
{
    if (theirs == base)
        return mine;
    QHash<QByteArray, qsizetype> inBase;
    QHash<QByteArray, qsizetype> inTheirs;
    QHash<QByteArray, qsizetype> inMine;
    for (const QByteArray& entry : base)
        ++inBase[entry];
    for (const QByteArray& entry : theirs)
        ++inTheirs[entry];
    for (const QByteArray& entry : mine)
        ++inMine[entry];
    const auto wanted = [&](const QByteArray& entry) {
        return std::max<qsizetype>(0, inMine.value(entry) + inTheirs.value(entry) - inBase.value(entry));
    };

    // Mine, without what the other copy deleted (the oldest occurrences).
    QHash<QByteArray, qsizetype> toDrop;
    for (auto it = inMine.cbegin(); it != inMine.cend(); ++it) {
        const qsizetype surplus = it.value() - wanted(it.key());
        if (surplus > 0)
            toDrop.insert(it.key(), surplus);
    }
    QList<QByteArray> kept;
    kept.reserve(mine.size());
    QHash<QByteArray, QList<qsizetype>> keptAt;
    for (const QByteArray& entry : mine) {
        auto drop = toDrop.find(entry);
        if (drop != toDrop.end() && *drop > 0) {
            --*drop;
            continue;
        }
        keptAt[entry].append(kept.size());
        kept.append(entry);
    }

    // Theirs, walked in order: its last occurrences of an entry beyond what
    // is kept are the ones added there; the others anchor what follows.
    QList<QList<QByteArray>> after(kept.size() + 1);
    QHash<QByteArray, qsizetype> seen;
    qsizetype anchor = -1;
    for (const QByteArray& entry : theirs) {
        const qsizetype occurrence = seen[entry]++;
        static const QList<qsizetype> nowhere;
        const auto found = keptAt.constFind(entry);
        const QList<qsizetype>& positions = found == keptAt.cend() ? nowhere : *found;
        const qsizetype added = wanted(entry) - positions.size();
        if (occurrence >= inTheirs.value(entry) - added)
            after[anchor + 1].append(entry);
        else if (occurrence < positions.size())
            anchor = positions[occurrence];
    }
    QList<QByteArray> result;
    result.reserve(kept.size() + theirs.size());
    result += after[0];
    for (qsizetype i = 0; i < kept.size(); ++i) {
        result.append(kept[i]);
        result += after[i + 1];
    }
    return result;
}

} // namespace PhraseFile
} // namespace pel
