#include "text/TextDocument.h"

#include <algorithm>
#include <utility>

namespace pel {

TextDocument::TextDocument(QObject* parent) : QObject(parent) {}

void TextDocument::forEachChunk(qsizetype from, qsizetype to,
                                const std::function<bool(QStringView, qsizetype)>& visit) const
{
    from = std::clamp<qsizetype>(from, 0, length());
    to = std::clamp<qsizetype>(to, from, length());
    qsizetype at = from;
    table_.chunks(from, to - from, [&](QStringView chunk) {
        const bool more = visit(chunk, at);
        at += chunk.size();
        return more;
    });
}

void TextDocument::replace(TextRange range, QStringView text, const CodeMarks& marks, UndoPolicy undo)
{
    const qsizetype from = std::clamp<qsizetype>(range.from, 0, length());
    const qsizetype removed = std::clamp<qsizetype>(range.length, 0, length() - from);
    if (removed == 0 && text.isEmpty())
        return;
    PieceTable::Edit edit = table_.replace(from, removed, text, marks);
    ++revision_;
    if (undo == UndoPolicy::Undoable)
        history_.record(std::move(edit));
    else
        history_.clear();
    Q_EMIT changed(from, removed, text.size());
}

void TextDocument::reset(QString text, CodeMarks marks)
{
    history_.clear();
    table_ = PieceTable(std::move(text), marks);
    ++revision_;
    Q_EMIT textReset();
}

std::optional<Selection> TextDocument::undo()
{
    return history_.undo([this](std::vector<PieceTable::Edit>& edits) {
        for (auto it = edits.rbegin(); it != edits.rend(); ++it) {
            if (!table_.undo(*it))
                continue;
            ++revision_;
            Q_EMIT changed(it->from(), it->insertedLength(), it->removedLength());
        }
    });
}

std::optional<Selection> TextDocument::redo()
{
    return history_.redo([this](std::vector<PieceTable::Edit>& edits) {
        for (PieceTable::Edit& edit : edits) {
            if (!table_.redo(edit))
                continue;
            ++revision_;
            Q_EMIT changed(edit.from(), edit.removedLength(), edit.insertedLength());
        }
    });
}

} // namespace pel
