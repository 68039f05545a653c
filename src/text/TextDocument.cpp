#include "text/TextDocument.h"

#include <algorithm>
#include <utility>

namespace pel {

namespace {

// How far a whole-text visit reads at once: search and save see pieces of
// this size, as they will from a piece table.
constexpr qsizetype kChunk = qsizetype(1) << 16;

auto firstMarkAt(const CodeMarks& marks, qsizetype position)
{
    return std::lower_bound(marks.cbegin(), marks.cend(), position,
                            [](const CodeMark& mark, qsizetype at) { return mark.position < at; });
}

} // namespace

TextDocument::TextDocument(QObject* parent) : QObject(parent) {}

QString TextDocument::text(qsizetype from, qsizetype length) const
{
    from = std::clamp<qsizetype>(from, 0, text_.size());
    length = std::clamp<qsizetype>(length, 0, text_.size() - from);
    if (from == 0 && length == text_.size())
        return text_;
    return text_.sliced(from, length);
}

void TextDocument::forEachChunk(qsizetype from, qsizetype to,
                                const std::function<bool(QStringView, qsizetype)>& visit) const
{
    from = std::clamp<qsizetype>(from, 0, text_.size());
    to = std::clamp<qsizetype>(to, from, text_.size());
    for (qsizetype at = from; at < to;) {
        qsizetype end = std::min(to, at + kChunk);
        // Never between the halves of a pair.
        if (end < to && text_.at(end - 1).isHighSurrogate())
            ++end;
        if (!visit(QStringView(text_).sliced(at, end - at), at))
            return;
        at = end;
    }
}

CodeMarks TextDocument::marks(qsizetype from, qsizetype to) const
{
    CodeMarks result;
    for (auto it = firstMarkAt(marks_, from); it != marks_.cend() && it->position < to; ++it)
        result.append({it->position - from, it->code});
    return result;
}

quint16 TextDocument::markAt(qsizetype position) const
{
    const auto it = firstMarkAt(marks_, position);
    return it != marks_.cend() && it->position == position ? it->code : 0;
}

qsizetype TextDocument::lineLength(int line) const
{
    const qsizetype end = line + 1 < lineCount() ? lineStarts_[line + 1] - 1 : text_.size();
    return end - lineStarts_[line];
}

int TextDocument::lineAt(qsizetype position) const
{
    const auto it = std::upper_bound(lineStarts_.cbegin(), lineStarts_.cend(), position);
    return int(it - lineStarts_.cbegin()) - 1;
}

Edit TextDocument::apply(TextRange range, QStringView text, const CodeMarks& marks)
{
    range.from = std::clamp<qsizetype>(range.from, 0, text_.size());
    range.length = std::clamp<qsizetype>(range.length, 0, text_.size() - range.from);
    Edit edit;
    edit.from = range.from;
    edit.removed = text_.sliced(range.from, range.length);
    edit.removedMarks = this->marks(range.from, range.end());
    edit.inserted = text.toString();
    text_.replace(range.from, range.length, text.data(), text.size());

    // Marks of the removed text go; those behind move; the new text's come in.
    const qsizetype delta = text.size() - range.length;
    const auto first = firstMarkAt(marks_, range.from) - marks_.cbegin();
    const auto last = firstMarkAt(marks_, range.end()) - marks_.cbegin();
    marks_.remove(first, last - first);
    for (qsizetype i = first; i < marks_.size(); ++i)
        marks_[i].position += delta;
    qsizetype at = first;
    for (const CodeMark& mark : marks) {
        if (mark.position < 0 || mark.position >= text.size())
            continue;
        marks_.insert(at++, {range.from + mark.position, mark.code});
        edit.insertedMarks.append(mark);
    }
    indexLines(range.from, range.length, text.size());
    ++revision_;
    return edit;
}

void TextDocument::indexLines(qsizetype from, qsizetype removed, qsizetype added)
{
    // Line starts lie one past each break: those inside the replaced range
    // go, those behind it move, and the new text's breaks come in.
    auto first = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), from);
    auto last = std::upper_bound(first, lineStarts_.end(), from + removed);
    first = lineStarts_.erase(first, last);
    const qsizetype delta = added - removed;
    for (auto it = first; it != lineStarts_.end(); ++it)
        *it += delta;
    std::vector<qsizetype> starts;
    for (qsizetype at = text_.indexOf(u'\n', from); at >= 0 && at < from + added; at = text_.indexOf(u'\n', at + 1))
        starts.push_back(at + 1);
    lineStarts_.insert(first, starts.cbegin(), starts.cend());
}

void TextDocument::replace(TextRange range, QStringView text, const CodeMarks& marks, UndoPolicy undo)
{
    if (range.length == 0 && text.isEmpty())
        return;
    Edit edit = apply(range, text, marks);
    const qsizetype from = edit.from;
    const qsizetype removed = edit.removed.size();
    if (undo == UndoPolicy::Undoable)
        history_.record(std::move(edit));
    else
        history_.clear();
    Q_EMIT changed(from, removed, text.size());
}

void TextDocument::reset(QString text, CodeMarks marks)
{
    text_ = std::move(text);
    marks_.clear();
    for (const CodeMark& mark : std::as_const(marks)) {
        if (mark.position >= 0 && mark.position < text_.size()
            && (marks_.isEmpty() || marks_.constLast().position < mark.position))
            marks_.append(mark);
    }
    lineStarts_.assign(1, 0);
    for (qsizetype at = text_.indexOf(u'\n'); at >= 0; at = text_.indexOf(u'\n', at + 1))
        lineStarts_.push_back(at + 1);
    ++revision_;
    history_.clear();
    Q_EMIT textReset();
}

std::optional<Selection> TextDocument::undo()
{
    auto group = history_.takeUndo();
    if (!group)
        return std::nullopt;
    for (auto it = group->edits.crbegin(); it != group->edits.crend(); ++it) {
        apply({it->from, it->inserted.size()}, it->removed, it->removedMarks);
        Q_EMIT changed(it->from, it->inserted.size(), it->removed.size());
    }
    return group->before;
}

std::optional<Selection> TextDocument::redo()
{
    auto group = history_.takeRedo();
    if (!group)
        return std::nullopt;
    for (const Edit& edit : group->edits) {
        apply({edit.from, edit.removed.size()}, edit.inserted, edit.insertedMarks);
        Q_EMIT changed(edit.from, edit.removed.size(), edit.inserted.size());
    }
    return group->after;
}

} // namespace pel
