#pragma once
#include "platform/Cp932.h"

#include <QPlainTextEdit>

class QTextCharFormat;

namespace pel {

// The main window's editor. Its characters are exactly what the user sees;
// what a file's bytes said beyond them (the raw byte behind a stand-in, a
// character's non-standard code) rides on the characters as a format
// property, so it moves with them through typing, deletion, undo, and cut
// and paste inside the document. Text leaving the editor is plain Unicode;
// text from elsewhere comes in without marks, so it takes standard codes.
// A stand-in (U+FFFC) is drawn as its byte in a small box.
class DocumentEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DocumentEditor(QWidget* parent = nullptr);

    // Replaces the whole document; the undo history starts anew.
    void setDocumentText(const QString& text, const CodeMarks& marks);
    struct Content {
        QString text;   // line breaks as '\n'
        CodeMarks marks;
    };
    Content documentContent() const;

    // The format for new text at `cursor`: its neighbour's look without
    // the neighbour's marks.
    static QTextCharFormat insertionFormat(const QTextCursor& cursor);

    // What Copy puts on the clipboard, and the insertion Paste makes of it.
    QMimeData* selectionMimeData() const { return createMimeDataFromSelection(); }
    void insertMimeData(const QMimeData* source) { insertFromMimeData(source); }

protected:
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    CodeMarks marksIn(int from, int to) const;
    void applyMarks(int start, const QString& text, const CodeMarks& marks);
    void dropInheritedMarks();
};

} // namespace pel
