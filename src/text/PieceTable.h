#pragma once
#include "platform/Cp932.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <type_traits>
#include <vector>

namespace pel {

// The storage of a document's text: a piece table.
//
// The text is a sequence of pieces, each a run of one buffer. Buffer 0 is
// the decoded file, taken over as it is and never changed; typed and pasted
// text is appended to further buffers, which only ever grow at their end.
// Positions are UTF-16 code units; '\n' is the one line break.
//
// The pieces sit in a treap (a binary search tree by position, balanced by
// random priorities) whose nodes carry the character and line-break counts
// of their subtree, so position ⇄ line is O(log pieces + log lines). A
// treap because its two primitives, split at a position and merge, cut a
// range out as one subtree and put it back whole: a deletion keeps the
// removed pieces as that subtree and undoing it is two splits and two
// merges, whatever the size of the range, with no text copied.
//
// Each buffer keeps the positions of its line breaks (so the breaks of any
// piece are found by binary search) and its code marks, sorted by buffer
// position; pieces thus carry their marks through every edit.
//
// Every range is (from, length); arguments out of range are clamped to the
// text. Reading changes nothing, so several threads may read at once while
// none writes.
class PieceTable {
public:
    struct Node;  // a piece and its subtree; defined in PieceTable.cpp only

    // What one replace() did, holding what is needed to take it back and to
    // do it again: the pieces it removed (while done) or inserted (while
    // undone), as references into the buffers. A record applies only to the
    // text as its edit left it (undo) or found it (redo); applied anywhere
    // else it is refused, so a stale record can never corrupt the text.
    class Edit {
    public:
        Edit();
        Edit(Edit&&) noexcept;
        Edit& operator=(Edit&&) noexcept;
        ~Edit();

        qsizetype from() const { return from_; }
        qsizetype removedLength() const { return removedLength_; }
        qsizetype insertedLength() const { return insertedLength_; }
        bool isUndone() const { return undone_; }

    private:
        friend class PieceTable;
        struct Free {
            void operator()(Node* node) const;
        };
        qsizetype from_ = 0;
        qsizetype removedLength_ = 0;
        qsizetype insertedLength_ = 0;
        quint64 before_ = 0;
        quint64 after_ = 0;
        bool undone_ = false;
        std::unique_ptr<Node, Free> detached_;
    };

    PieceTable();
    // Takes the text over without copying it. Marks name positions in
    // `text`; those outside it are dropped, and of two marks on one
    // position the first is kept.
    explicit PieceTable(QString&& text, const CodeMarks& marks = {});
    PieceTable(PieceTable&&) noexcept;
    PieceTable& operator=(PieceTable&&) noexcept;
    PieceTable(const PieceTable&) = delete;
    PieceTable& operator=(const PieceTable&) = delete;
    ~PieceTable();

    qsizetype length() const;
    qsizetype lineCount() const;                 // line breaks + 1
    qsizetype lineStart(qsizetype line) const;   // past the last line: length()
    qsizetype lineAt(qsizetype position) const;
    qsizetype lineLength(qsizetype line) const;  // without its break
    QChar charAt(qsizetype position) const;      // null outside the text
    QString text(qsizetype from, qsizetype length) const;
    QString text() const { return text(0, length()); }
    // The marks on the range, positions relative to `from`, ascending.
    CodeMarks marks(qsizetype from, qsizetype length) const;

    // Calls `visit(QStringView)` for each run of the range in order (or in
    // reverse order), without copying; a visitor that returns bool stops the
    // walk by returning false.
    template <typename Visit>
    void chunks(qsizetype from, qsizetype length, Visit&& visit) const
    {
        walk(from, length, false, &callVisit<std::remove_reference_t<Visit>>, &visit);
    }
    template <typename Visit>
    void chunksBackward(qsizetype from, qsizetype length, Visit&& visit) const
    {
        walk(from, length, true, &callVisit<std::remove_reference_t<Visit>>, &visit);
    }

    // The one writing primitive: replaces `removedLength` characters at
    // `from` with `text`, whose marks are positions in `text`.
    Edit replace(qsizetype from, qsizetype removedLength, QStringView text, const CodeMarks& marks = {});
    // Take an edit back / do it again; false (nothing changed) when the text
    // is not in the state the record needs.
    bool undo(Edit& edit);
    bool redo(Edit& edit);

    // For tests and measurements.
    qsizetype pieceCount() const;
    qsizetype memoryUse() const;  // bytes held by buffers, indexes and pieces

private:
    struct Buffer;
    using VisitFn = bool (*)(void*, QStringView);

    template <typename Visit>
    static bool callVisit(void* context, QStringView chunk)
    {
        auto& visit = *static_cast<Visit*>(context);
        if constexpr (std::is_same_v<decltype(visit(chunk)), bool>)
            return visit(chunk);
        else {
            visit(chunk);
            return true;
        }
    }
    void walk(qsizetype from, qsizetype length, bool backward, VisitFn fn, void* context) const;

    Node* newNode(quint32 buffer, qsizetype start, qsizetype length);
    qsizetype breaksIn(quint32 buffer, qsizetype start, qsizetype end) const;
    void split(Node* node, qsizetype position, Node*& left, Node*& right);
    bool extendLastPiece(qsizetype from, QStringView text, const CodeMarks& marks);
    quint32 appendText(QStringView text, const CodeMarks& marks, qsizetype& start);
    void swapRange(qsizetype from, qsizetype length, Edit& edit);

    std::vector<Buffer> buffers_;
    Node* root_ = nullptr;
    quint64 state_ = 0;
    quint64 random_ = 0x9e3779b97f4a7c15ULL;
};

} // namespace pel
