#pragma once
#include "platform/Cp932.h"
#include "text/EditHistory.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

namespace pel {

// A document's text: one position per character (UTF-16 code unit), '\n'
// for every line break, and the code marks of what the file's bytes said
// beyond the characters. Every change goes through replace(), which counts
// a revision, tells the change and keeps the edit history.
class TextDocument : public QObject {
    Q_OBJECT
public:
    explicit TextDocument(QObject* parent = nullptr);

    qsizetype length() const { return text_.size(); }
    bool isEmpty() const { return text_.isEmpty(); }
    QString text() const { return text_; }
    QString text(qsizetype from, qsizetype length) const;
    QChar at(qsizetype position) const { return text_.at(position); }
    // Hands `visit` the range's text piece by piece, in order, with each
    // piece's position, until it returns false.
    void forEachChunk(qsizetype from, qsizetype to,
                      const std::function<bool(QStringView chunk, qsizetype at)>& visit) const;

    // The marks of [from, to), their positions relative to `from`.
    CodeMarks marks(qsizetype from, qsizetype to) const;
    CodeMarks marks() const { return marks_; }
    // The code mark on the character at `position`, 0 when it has none.
    quint16 markAt(qsizetype position) const;

    int lineCount() const { return int(lineStarts_.size()); }
    qsizetype lineStart(int line) const { return lineStarts_.at(line); }
    // Without its line break.
    qsizetype lineLength(int line) const;
    int lineAt(qsizetype position) const;

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

    EditHistory& history() { return history_; }
    const EditHistory& history() const { return history_; }
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
    Edit apply(TextRange range, QStringView text, const CodeMarks& marks);
    void indexLines(qsizetype from, qsizetype removed, qsizetype added);

    QString text_;
    CodeMarks marks_;                    // ascending positions
    std::vector<qsizetype> lineStarts_{0};
    quint64 revision_ = 0;
    EditHistory history_;
};

} // namespace pel
