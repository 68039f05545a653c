#pragma once
#include "platform/Cp932.h"
#include "text/EditHistory.h"
#include "text/PieceTable.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace pel {

// A document's text: one position per character (UTF-16 code unit), '\n'
// for every line break, and the code marks of what the file's bytes said
// beyond the characters, kept in a piece table. Every change goes through
// replace(), which counts a revision, tells the change and keeps the edit
// history.
class TextDocument : public QObject {
    Q_OBJECT
public:
    explicit TextDocument(QObject* parent = nullptr);

    using History = EditHistory<PieceTable::Edit>;

    qsizetype length() const { return table_.length(); }
    bool isEmpty() const { return table_.length() == 0; }
    // The whole text, read out of the table: for what needs it all at once
    // (a save, a search); the rest reads ranges or chunks.
    QString text() const { return table_.text(); }
    QString text(qsizetype from, qsizetype length) const { return table_.text(from, length); }
    QChar at(qsizetype position) const { return table_.charAt(position); }
    // Hands `visit` the range's text piece by piece, in order, with each
    // piece's position, until it returns false.
    void forEachChunk(qsizetype from, qsizetype to,
                      const std::function<bool(QStringView chunk, qsizetype at)>& visit) const;

    // The marks of [from, to), their positions relative to `from`.
    CodeMarks marks(qsizetype from, qsizetype to) const { return table_.marks(from, to - from); }
    CodeMarks marks() const { return table_.marks(0, table_.length()); }

    int lineCount() const { return int(table_.lineCount()); }
    qsizetype lineStart(int line) const { return table_.lineStart(line); }
    // Without its line break.
    qsizetype lineLength(int line) const { return table_.lineLength(line); }
    int lineAt(qsizetype position) const { return int(table_.lineAt(position)); }

    // Counts every change of the text; never goes back.
    quint64 revision() const { return revision_; }

    // The one way the text changes: [from, from + length) becomes `text`
    // with `marks` (positions relative to `from`). An undoable edit joins
    // the history's open group; one that is not offered to Undo clears the
    // history (what it would undo no longer lies where it was).
    void replace(TextRange range, QStringView text, const CodeMarks& marks = {},
                 UndoPolicy undo = UndoPolicy::Undoable);
    // A new text: nothing to undo, the revision counts on.
    void reset(QString text = {}, CodeMarks marks = {});

    History& history() { return history_; }
    const History& history() const { return history_; }
    // Takes back the last group (or does it again); the selection it had
    // before (after), or nothing when there was nothing to take back.
    std::optional<Selection> undo();
    std::optional<Selection> redo();

Q_SIGNALS:
    // [from, from + removed) became [from, from + added).
    void changed(qsizetype from, qsizetype removed, qsizetype added);
    // The whole text was replaced by reset().
    void textReset();

private:
    PieceTable table_;
    quint64 revision_ = 0;
    History history_;
};

} // namespace pel
