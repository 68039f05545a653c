#pragma once
#include "text/DisplayLines.h"
#include "text/DocumentSession.h"

#include <QPlainTextEdit>
#include <QTextLayout>

#include <functional>
#include <map>
#include <memory>

class QTextBlock;

namespace pel {

// The main window's editor: a view of the document session. The session
// holds the text, its code marks, the selection and the undo history; this
// widget shows them and turns keys, input-method text, drops and the
// clipboard into the session's editing commands. Its own text document is
// a copy for the layout only, following every change of the session.
// A stand-in for a byte that is no character is drawn as its byte, boxed.
class DocumentEditor : public QPlainTextEdit, public DisplayLines {
    Q_OBJECT
public:
    explicit DocumentEditor(DocumentSession& session, QWidget* parent = nullptr);

    DocumentSession& session() const { return session_; }

    // While a document loads, `progress` hears how much of the text is in
    // the view (0 to 99 percent) after each piece, so the window can show
    // it and repaint; when it says no, the view stops filling. Returns
    // whether the text is whole in the view.
    using Progress = std::function<bool(int percent)>;
    bool showLoading(QByteArrayView bytes, const Progress& progress,
                     std::optional<TextEncoding> encoding = std::nullopt);

    // The clipboard's insertion of the Paste command and of the editor's
    // own paste key, which differ only in whether Undo is offered.
    void paste(const QMimeData* source, UndoPolicy undo);

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

    // Whether an input method's composition is drawn in the editor's own
    // colours (platform/Composition.h) rather than in the input method's.
    void setCompositionColoured(bool coloured) { compositionColoured_ = coloured; }
    bool compositionColoured() const { return compositionColoured_; }

    // DisplayLines
    DisplayLine displayLineAt(qsizetype position) const override;
    int firstVisibleDisplayLine() const override;
    void scrollToDisplayLine(int line) override;

Q_SIGNALS:
    void wrapKeptChanged(bool kept);

protected:
    void changeEvent(QEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The session's changes into the view's copy.
    void mirrorChange(qsizetype from, qsizetype removed, qsizetype added);
    bool fillFromSession(const Progress& progress);
    void showSelection();
    void takeSelection();
    // A change the toolkit made to the view's copy by itself goes to the
    // session too, so the two never differ.
    void adoptViewChange(int position, int removed, int);
    bool editKey(QKeyEvent* event);
    void markStandIns(qsizetype from, qsizetype to);

    void layoutEdited(int position, int removed, int added);
    void useUnshapedFont();
    bool tooWideUnwrapped(const QTextBlock& block) const;
    void keepWrap(bool kept);
    void breakAnywhere(bool anywhere);

    DocumentSession& session_;
    const Progress* loadProgress_ = nullptr;   // while showLoading runs
    bool loadWhole_ = true;
    bool mirroring_ = false;   // the view's copy is being changed from the session
    bool adopting_ = false;    // the session is taking a change the view made
    bool showingSelection_ = false;
    bool breaksAnywhere_ = false;
    bool wrapChosen_ = true;
    bool wrapKept_ = false;
    bool compositionColoured_ = false;
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
};

} // namespace pel
