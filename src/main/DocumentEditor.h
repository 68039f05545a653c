#pragma once
#include "platform/Cp932.h"

#include <QPlainTextEdit>
#include <QTextLayout>

#include <functional>
#include <map>
#include <memory>

class QTextBlock;
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

    // Replaces the whole document; the undo history starts anew. With
    // `progress`, a long text goes in piece by piece and `progress` hears
    // after each piece how much of it is in (0 to 99 percent), so the window
    // can show it and repaint. When `progress` says no, the loading stops
    // and the document is left empty, never half loaded; false then.
    bool setDocumentText(const QString& text, const CodeMarks& marks,
                         const std::function<bool(int percent)>& progress = {});
    struct Content {
        QString text;   // line breaks as '\n'
        CodeMarks marks;
    };
    Content documentContent() const;
    // The document's marks alone: cheap when it has none.
    CodeMarks marks() const { return marksIn(0, document()->characterCount()); }

    // The format for new text at `cursor`: its neighbour's look without
    // the neighbour's marks.
    static QTextCharFormat insertionFormat(const QTextCursor& cursor);

    // What Copy puts on the clipboard, and the insertion Paste makes of it.
    QMimeData* selectionMimeData() const { return createMimeDataFromSelection(); }
    void insertMimeData(const QMimeData* source) { insertFromMimeData(source); }

    // Word wrap as the user chose it. The toolkit places a line's glyphs in
    // fixed point that ends at 2^25 pixels: a line that might reach past
    // half of that keeps the view wrapped whatever the choice (unwrapped it
    // would be drawn garbled and keep a core busy), until a document without
    // such a line is loaded or the choice is made again.
    void setWordWrap(bool wrap);
    bool wordWrap() const { return wrapChosen_; }
    bool wrapKept() const { return wrapKept_; }
    // Whether the document has a word too long to wrap at its ends: wrapping
    // then breaks anywhere (word ends would take time growing with the
    // square of its length).
    bool breaksAnywhere() const { return breaksAnywhere_; }

Q_SIGNALS:
    void wrapKeptChanged(bool kept);

protected:
    void changeEvent(QEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void documentEdited(int position, int removed, int added);
    void useUnshapedFont();
    bool tooWideUnwrapped(const QTextBlock& block) const;
    void keepWrap(bool kept);
    void breakAnywhere(bool anywhere);
    bool breaksAnywhere_ = false;
    bool wrapChosen_ = true;
    bool wrapKept_ = false;
    // Without word wrap a line is one layout line however long: only the
    // part in view of a long one is laid out again and drawn.
    bool drawVisibleSlice(QPainter& painter, const QTextBlock& block, QPointF offset, const QRect& clip,
                          const QList<QTextLayout::FormatRange>& selections, int caret);
    struct Slice {
        int length = 0;
        qreal left = 0;
        int width = 0;
        QFont font;
        int from = 0;
        int to = 0;
        qreal x = 0;   // where `from` lies in the block's layout
        std::shared_ptr<QTextLayout> layout;
    };
    // The part of a long block in view, at a horizontal scroll position.
    const Slice* visibleSlice(const QTextBlock& block, qreal left);
    std::map<int, Slice> slices_;   // by block number
    CodeMarks marksIn(int from, int to) const;
    void applyMarks(int start, const QString& text, const CodeMarks& marks);
    void dropInheritedMarks();
};

} // namespace pel
