#pragma once
#include <QtGlobal>

#include <algorithm>
#include <optional>
#include <vector>

namespace pel {

struct TextRange {
    qsizetype from = 0;
    qsizetype length = 0;
    qsizetype end() const { return from + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// A selection: the anchor stays where it began, the position moves (the
// caret). Empty when both are one position.
struct Selection {
    qsizetype anchor = 0;
    qsizetype position = 0;
    qsizetype start() const { return std::min(anchor, position); }
    qsizetype end() const { return std::max(anchor, position); }
    qsizetype length() const { return end() - start(); }
    bool isEmpty() const { return anchor == position; }
    TextRange range() const { return {start(), length()}; }
    static Selection caret(qsizetype at) { return {at, at}; }
    friend bool operator==(const Selection&, const Selection&) = default;
};

enum class UndoPolicy { Undoable, NotUndoable };

// Undo and redo as groups of edits, each with the selection before and
// after it. A group is what one command or one key does. An edit is the
// text's own record of one change (for a piece table: the pieces it took
// out or put in), so taking back a large edit copies no text.
template <typename Edit>
class EditHistory {
public:
    struct Group {
        std::vector<Edit> edits;
        Selection before;
        Selection after;
    };

    // Edits recorded until end() form one group (begin/end may nest: the
    // outermost pair counts).
    void begin(const Selection& before)
    {
        if (depth_++ == 0)
            open_ = Group{{}, before, before};
    }
    void end(const Selection& after)
    {
        if (depth_ == 0 || --depth_ > 0 || open_.edits.empty())
            return;
        open_.after = after;
        done_.push_back(std::move(open_));
        open_ = Group{};
        undone_.clear();
    }
    bool inGroup() const { return depth_ > 0; }

    void record(Edit edit)
    {
        if (depth_ > 0) {
            open_.edits.push_back(std::move(edit));
            return;
        }
        // An edit outside any group is a group of its own.
        Group group;
        group.edits.push_back(std::move(edit));
        done_.push_back(std::move(group));
        undone_.clear();
    }
    void clear()
    {
        done_.clear();
        undone_.clear();
        open_.edits.clear();
    }

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }

    // The group to take back, moved to the redo side once `apply` has run
    // over it; nothing when there is none (or a group is open).
    template <typename Apply>
    std::optional<Selection> undo(Apply apply)
    {
        return move(done_, undone_, apply, true);
    }
    template <typename Apply>
    std::optional<Selection> redo(Apply apply)
    {
        return move(undone_, done_, apply, false);
    }

private:
    template <typename Apply>
    std::optional<Selection> move(std::vector<Group>& from, std::vector<Group>& to, Apply& apply, bool back)
    {
        if (from.empty() || depth_ > 0)
            return std::nullopt;
        Group group = std::move(from.back());
        from.pop_back();
        apply(group.edits);
        const Selection selection = back ? group.before : group.after;
        to.push_back(std::move(group));
        return selection;
    }

    std::vector<Group> done_;
    std::vector<Group> undone_;
    Group open_;
    int depth_ = 0;
};

} // namespace pel
