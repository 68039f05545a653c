#pragma once
#include "text/DisplayLines.h"
#include "text/DocumentSession.h"
#include "view/CharWidths.h"
#include "view/DisplayLayout.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <unordered_map>
#include <QInputMethodEvent>
#include <QTextLayout>

#include <functional>
#include <memory>
#include <optional>

namespace pel {

// The main window's editor: a view of the document session that lays out
// and draws only the lines in view. The session holds the text, its code
// marks, the selection and the undo history; this widget shows them and
// turns keys, mouse, input-method text, drops and the clipboard into the
// session's editing commands. A stand-in for a byte that is no character
// is drawn as its byte, boxed.
class DocumentView : public QAbstractScrollArea, public DisplayLines {
    Q_OBJECT
public:
    explicit DocumentView(DocumentSession& session, QWidget* parent = nullptr);
    ~DocumentView() override;

    DocumentSession& session() const { return session_; }

    // Reads a file's bytes into the session. `progress` hears 0 percent
    // before the text is read; when it says no, nothing is read. Returns
    // whether the text is in.
    using Progress = std::function<bool(int percent)>;
    bool showLoading(QByteArrayView bytes, const Progress& progress,
                     std::optional<TextEncoding> encoding = std::nullopt);

    // The clipboard's insertion of the Paste command and of the editor's
    // own paste key, which differ only in whether Undo is offered.
    void paste(const QMimeData* source, UndoPolicy undo);

    // Word wrap as the user chose it. A line too wide for the horizontal
    // scroll bar keeps the view wrapped whatever the choice, until a
    // document without such a line is loaded or the choice is made again.
    void setWordWrap(bool wrap);
    bool wordWrap() const { return wrapChosen_; }
    bool wrapKept() const { return wrapKept_; }
    bool wraps() const { return wrapChosen_ || wrapKept_; }
    // The widest a line may be drawn without wrap, in pixels.
    static constexpr qreal kWidestUnwrapped = qreal(1 << 30);

    // Where the caret stands before `position`, in the viewport's
    // coordinates, and the position nearest a viewport point.
    QRect caretRect(qsizetype position);
    qsizetype positionAt(QPoint point);
    void ensureCaretVisible();

    // Whether an input method's composition is drawn in the editor's own
    // colours (platform/Composition.h) rather than in the input method's.
    void setCompositionColoured(bool coloured) { compositionColoured_ = coloured; }
    bool compositionColoured() const { return compositionColoured_; }

    // The unshaped font the text is drawn in.
    QFont textFont() const { return textFont_; }
    int lineHeight() const { return lineHeight_; }

    // DisplayLines
    DisplayLine displayLineAt(qsizetype position) const override;
    int firstVisibleDisplayLine() const override;
    void scrollToDisplayLine(int line) override;

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    void wrapKeptChanged(bool kept);
    // The selection became or stopped being non-empty, or a non-empty one
    // changed (a caret move alone says nothing).
    void selectionChanged();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ---- The session ------------------------------------------------------
    void documentChanged(qsizetype from, qsizetype removed, qsizetype added);
    void textReset();
    void sessionSelectionChanged();

    // ---- Layout -----------------------------------------------------------
    void useFont();
    void relayout();
    void updateScrollBars();
    qreal textWidth() const;
    void checkWidth(int fromLine, int toLine);
    void keepWrap(bool kept);
    // The laid-out text of a run; the caret's run carries the composition.
    QTextLayout& runLayout(const DisplayLayout::Run& run, bool withPreedit);
    QPointF runOrigin(const DisplayLayout::Place& place, const DisplayLayout::Run& run) const;
    int topOf(int displayLine) const;
    qreal caretX(const DisplayLayout::Place& place, qsizetype position);

    // ---- Drawing ----------------------------------------------------------
    void drawRun(QPainter& painter, const DisplayLayout::Place& place, const DisplayLayout::Run& run, const QRect& clip);
    void drawStandIns(QPainter& painter, QTextLayout& layout, const DisplayLayout::Run& run, QPointF origin);
    QList<QTextLayout::FormatRange> selectionFormats(const DisplayLayout::Run& run) const;
    void updateCaretLine();
    void restartBlink();

    // ---- Editing ----------------------------------------------------------
    bool editKey(QKeyEvent* event);
    bool moveKey(QKeyEvent* event);
    void moveTo(qsizetype position, bool extend, bool keepGoal = false);
    qsizetype nextCursorPosition(qsizetype position, int direction, bool word);
    qsizetype lineEdge(qsizetype position, bool end);
    qsizetype verticalMove(qsizetype position, int displayLines);
    TextRange wordAt(qsizetype position);
    void moveSelectionTo(qsizetype target);

    DocumentSession& session_;
    FontWidths widths_;
    DisplayLayout layout_;
    QFont textFont_;
    int lineHeight_ = 1;
    bool wrapChosen_ = true;
    bool wrapKept_ = false;
    bool compositionColoured_ = false;

    // Layouts of the runs drawn lately, by where they start.
    struct CachedLayout {
        qsizetype length = 0;
        std::unique_ptr<QTextLayout> layout;
    };
    std::unordered_map<qsizetype, CachedLayout> layouts_;
    std::unique_ptr<QTextLayout> preeditLayout_;

    // The caret and the selection as last told.
    Selection shown_;
    bool caretOn_ = true;
    int blinks_ = 0;
    QBasicTimer blinkTimer_;
    std::optional<qreal> goalX_;   // where Up and Down aim

    // The composition the input method shows at the caret.
    QString preedit_;
    QList<QInputMethodEvent::Attribute> preeditAttributes_;
    int preeditCursor_ = 0;

    // The mouse.
    enum class Press { None, Select, SelectWords, MaybeDrag };
    Press press_ = Press::None;
    QPoint pressPoint_;
    TextRange pressWord_;
    QBasicTimer scrollTimer_;
    QPoint lastMouse_;
    std::optional<qsizetype> dropCaret_;
};

} // namespace pel
