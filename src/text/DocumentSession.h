#pragma once
#include "platform/Cp932.h"
#include "platform/EditorPort.h"
#include "text/TextDocument.h"

#include <QObject>
#include <QString>

#include <optional>

namespace pel {

// The document being edited: its text with the edit history, the
// selection, the file it belongs to and how that file spelled it, and the
// change states the window shows.
//
// Three notions of "changed" live here, each with its own reader:
// * the modified flag, set by every change of the text and cleared by the
//   commands that clear it (a caret report, Copy, Save, ...);
// * unsaved changes: the text differs from what is in a file (the
//   recovery copy and the questions that must not lose text follow it);
// * the change indicator: blank until the first change, "changed" after
//   any change, "unchanged" once a file was opened or the document emptied.
class DocumentSession : public QObject, public TextPort {
    Q_OBJECT
public:
    explicit DocumentSession(QObject* parent = nullptr);

    TextDocument& document() { return document_; }
    const TextDocument& document() const { return document_; }
    QString text() const { return document_.text(); }
    bool isEmpty() const { return document_.isEmpty(); }

    Selection selection() const { return selection_; }
    void setSelection(const Selection& selection);
    void select(qsizetype from, qsizetype to) { setSelection({from, to}); }
    QString selectedTextAsIs() const;   // line breaks as '\n'

    // ---- TextPort: what commands and tool windows do with the text ------
    // The selection becomes `text` (CR LF or '\n' breaks), not offered to
    // Undo; the caret ends behind it.
    void ReplaceEditorSelection(const QString& text) override;
    // Line breaks read as CR LF.
    QString selectedText() const override;

    // ---- The file ---------------------------------------------------------
    QString fileName() const { return fileName_; }
    void setFileName(const QString& path) { fileName_ = path; }
    TextSpelling spelling() const { return spelling_; }
    // A new text from a file's bytes, as read: nothing to undo, caret at the
    // start, the text is in a file. A load is a change like any other for
    // the indicator.
    // `encoding`, when given, is what the user chose instead of detection.
    void load(QByteArrayView bytes, std::optional<TextEncoding> encoding = std::nullopt);
    // How the next save writes the text (Save As's 文字コード and line breaks).
    void setSpelling(const TextSpelling& spelling);
    // A new text that is in no file (a recovery copy).
    void restore(const QString& text, const CodeMarks& marks, const TextSpelling& spelling);
    // The empty document of a new start.
    void clear();
    // The text as the file's bytes, or why it cannot be written.
    EncodedText encode() const;
    enum class SaveResult { Saved, CannotEncode, CannotWrite };
    // Writes the text to `path`; on success the text counts as saved.
    SaveResult save(const QString& path, EncodedText* encoded = nullptr);

    // Whether the file on disk is still the one this text was read from or
    // last written to (another program may have replaced, changed or
    // removed it since).
    enum class FileState { Unknown, Same, Changed, Gone };
    FileState fileState() const;
    // The file as it is now is the one the text belongs to.
    void noteFile();
    // A change of the file not yet offered to the user (each change is
    // offered once); noticeChange() marks it offered.
    bool hasNewFileChange() const;
    void noticeChange();

    // ---- Change states ----------------------------------------------------
    bool modifiedFlag() const { return modifiedForced_ || document_.revision() != flagCleared_; }
    void setModifiedFlag(bool modified);
    bool hasUnsavedChanges() const { return !saved_ || *saved_ != document_.revision(); }
    // The text now is what the file holds.
    void markSaved() { saved_ = document_.revision(); }
    enum class Indicator { Blank, Unchanged, Changed };
    Indicator indicator() const { return indicator_; }
    void markUnchanged();

    // Where `text` holds a character that must not come in: one that shows
    // nothing (a variation selector, a format character, a stand-in from
    // outside) and that the document's encoding cannot hold; -1 when none.
    // Characters with a mark (the program's own stand-ins) come in.
    qsizetype firstRefused(QStringView text, const CodeMarks& marks = {}) const;

Q_SIGNALS:
    void selectionChanged();
    // [from, from + removed) became [from, from + added) (edits, undo).
    void changed(qsizetype from, qsizetype removed, qsizetype added);
    // A whole new text (loads, restores, a new document).
    void textReset();
    // After every change of the text, of either kind.
    void contentChanged();
    void indicatorChanged();
    void spellingChanged();
    // Text that would have brought in a character no one can see and the
    // file cannot hold was refused; `index` is where in `text`.
    void refused(const QString& text, qsizetype index);

private:
    void documentChanged(qsizetype from, qsizetype removed, qsizetype added);
    void noteChange();

    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        qint64 modified = 0;   // milliseconds since the epoch
        quint64 identity = 0;  // device and inode, or 0 where unknown
        friend bool operator==(const FileStamp&, const FileStamp&) = default;
    };
    static FileStamp stampOf(const QString& path);

    TextDocument document_;
    Selection selection_;
    std::optional<FileStamp> stamp_;
    std::optional<FileStamp> noticed_;
    QString fileName_;
    TextSpelling spelling_;
    quint64 flagCleared_ = 0;
    bool modifiedForced_ = false;
    std::optional<quint64> saved_ = 0;
    Indicator indicator_ = Indicator::Blank;
};

// The editing commands, the same for the window's commands and the
// editor's keys.
namespace edit {

// The selection becomes `text`; the caret ends behind it.
void replaceSelection(DocumentSession& session, QStringView text, const CodeMarks& marks = {},
                      UndoPolicy undo = UndoPolicy::Undoable);
// Typing: one undo step per call.
void type(DocumentSession& session, QStringView text);
// Removes `range` as one undo step (Backspace, Delete, a cut by key); the
// caret stays where the range began.
void remove(DocumentSession& session, TextRange range);
// The whole text becomes `text`, as one undo step.
void replaceAll(DocumentSession& session, QStringView text);
void selectAll(DocumentSession& session);
bool undo(DocumentSession& session);
bool redo(DocumentSession& session);

} // namespace edit

} // namespace pel
