#pragma once
#include "platform/Cp932.h"

#include <QString>

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

// One change of the text as the history keeps it: enough to take it back
// and to do it again.
struct Edit {
    qsizetype from = 0;
    QString removed;
    CodeMarks removedMarks;   // relative to `from`
    QString inserted;
    CodeMarks insertedMarks;  // relative to `from`
};

// Undo and redo as groups of edits, each with the selection before and
// after it. A group is what one command or one key does.
class EditHistory {
public:
    // Edits recorded until end() form one group (begin/end may nest: the
    // outermost pair counts).
    void begin(const Selection& before);
    void end(const Selection& after);
    bool inGroup() const { return depth_ > 0; }

    void record(Edit edit);
    void clear();

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }

    struct Group {
        std::vector<Edit> edits;
        Selection before;
        Selection after;
    };
    // The group to take back (moved to the redo side), or nothing.
    std::optional<Group> takeUndo();
    std::optional<Group> takeRedo();

private:
    std::vector<Group> done_;
    std::vector<Group> undone_;
    Group open_;
    int depth_ = 0;
};

} // namespace pel
