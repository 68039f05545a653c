#include "main/DocumentEditor.h"

#include "platform/Composition.h"
#include "text/TextMime.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextBoundaryFinder>
#include <QTextObjectInterface>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pel {

namespace {

constexpr int kCodeProperty = QTextFormat::UserProperty + 932;
constexpr int kStandInObject = QTextFormat::UserObject + 932;
constexpr char16_t kStandIn = 0xFFFC;
// Lines longer than this are drawn piecewise without word wrap.
constexpr int kLongLine = 4096;
// Characters laid out beyond each edge of the view, so glyphs cut by the
// edge are drawn whole.
constexpr int kSliceMargin = 16;
// Without word wrap a line may be at most this wide (in pixels, half the
// toolkit's fixed-point range), by an estimate from its length.
constexpr qreal kWidestUnwrapped = qreal(1 << 24);
// A text loaded with progress goes into the view in pieces this long.
constexpr qsizetype kLoadPiece = qsizetype(1) << 20;

// Wrapping a word longer than a line takes time growing with the square of
// its length (a data: address, a minified script): a document with a word
// this long wraps anywhere instead.
bool hasLongWord(QStringView text)
{
    if (text.size() <= kLongLine)
        return false;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text.data(), int(text.size()));
    qsizetype last = 0;
    for (qsizetype at = breaks.toNextBoundary(); at >= 0; at = breaks.toNextBoundary()) {
        if (at - last > kLongLine)
            return true;
        last = at;
    }
    return false;
}

// Where the piece from `from` ends: after a line break, so that no long
// line is laid out again for each piece of it.
qsizetype pieceEnd(const QString& text, qsizetype from)
{
    const qsizetype end = from + kLoadPiece;
    if (end >= text.size())
        return text.size();
    qsizetype lineEnd = text.lastIndexOf(u'\n', end - 1);
    if (lineEnd < from)
        lineEnd = text.indexOf(u'\n', end);
    return lineEnd < 0 ? text.size() : lineEnd + 1;
}

QTextCharFormat standInFormat(quint16 code)
{
    QTextCharFormat format;
    format.setProperty(kCodeProperty, int(code));
    format.setObjectType(kStandInObject);
    return format;
}

// The text of the view's copy between two positions, one character per
// position.
QString viewText(QTextDocument* document, int from, int to)
{
    QTextCursor cursor(document);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

// Keys that type, as the toolkit's own editor takes them: Ctrl alone never
// types, AltGr (Ctrl+Alt) does.
bool typesText(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const QChar c = text.at(0);
    if (c.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse || c == u'\t'
        || (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

// Draws a stand-in as the hexadecimal byte it stands for, boxed, so bytes
// that are no characters can be told apart.
class StandInGlyphs : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument* document, int, const QTextFormat&) override
    {
        const QFontMetricsF text(document->defaultFont());
        const QFontMetricsF digits(smallFont(document->defaultFont()));
        // As high as the text above its baseline; the box reaches below.
        return QSizeF(digits.horizontalAdvance(QStringLiteral("FF")) + 4, text.ascent());
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                    const QTextFormat& format) override
    {
        const QFontMetricsF text(document->defaultFont());
        const QRectF box(rect.left() + 0.5, rect.top() + 0.5, rect.width() - 2, text.ascent() + text.descent() - 1);
        const QString hex = QStringLiteral("%1").arg(format.intProperty(kCodeProperty) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
        painter->save();
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box);
        painter->setFont(smallFont(document->defaultFont()));
        painter->drawText(box, Qt::AlignCenter, hex);
        painter->restore();
    }

private:
    static QFont smallFont(QFont font)
    {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(std::max(1.0, font.pointSizeF() * 0.6));
        else
            font.setPixelSize(std::max(1, font.pixelSize() * 3 / 5));
        return font;
    }
};

} // namespace

DocumentEditor::DocumentEditor(DocumentSession& session, QWidget* parent) : QPlainTextEdit(parent), session_(session)
{
    // Undo is the session's.
    document()->setUndoRedoEnabled(false);
    document()->documentLayout()->registerHandler(kStandInObject, new StandInGlyphs(this));
    connect(document(), &QTextDocument::contentsChange, this, &DocumentEditor::layoutEdited);
    connect(document(), &QTextDocument::contentsChange, this, &DocumentEditor::adoptViewChange);
    connect(&session_, &DocumentSession::changed, this, &DocumentEditor::mirrorChange);
    connect(&session_, &DocumentSession::textReset, this,
            [this] { loadWhole_ = fillFromSession(loadProgress_ ? *loadProgress_ : Progress()); });
    connect(&session_, &DocumentSession::selectionChanged, this, &DocumentEditor::showSelection);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &DocumentEditor::takeSelection);
    connect(this, &QPlainTextEdit::selectionChanged, this, &DocumentEditor::takeSelection);
    useUnshapedFont();
}

void DocumentEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange)
        useUnshapedFont();
}

void DocumentEditor::useUnshapedFont()
{
    // Kana, kanji and Latin letters look the same unshaped, and a long line
    // then lays out in less than half the time.
    QFont font = this->font();
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    document()->setDefaultFont(font);
}

// ---- The session and the view's copy ---------------------------------------

void DocumentEditor::mirrorChange(qsizetype from, qsizetype removed, qsizetype added)
{
    if (adopting_)
        return;   // the view has it already
    const bool wasMirroring = std::exchange(mirroring_, true);
    QTextCursor cursor(document());
    cursor.setPosition(int(from));
    cursor.setPosition(int(from + removed), QTextCursor::KeepAnchor);
    cursor.insertText(session_.document().text(from, added), QTextCharFormat());
    markStandIns(from, from + added);
    mirroring_ = wasMirroring;
}

void DocumentEditor::markStandIns(qsizetype from, qsizetype to)
{
    const TextDocument& text = session_.document();
    const CodeMarks marks = text.marks(from, to);
    if (marks.isEmpty())
        return;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const CodeMark& mark : marks) {
        const qsizetype at = from + mark.position;
        if (text.at(at) != kStandIn)
            continue;
        cursor.setPosition(int(at));
        cursor.setPosition(int(at + 1), QTextCursor::KeepAnchor);
        cursor.setCharFormat(standInFormat(mark.code));
    }
    cursor.endEditBlock();
}

bool DocumentEditor::showLoading(QByteArrayView bytes, const Progress& progress, std::optional<TextEncoding> encoding)
{
    // The session's reset fills the view; this fill shows its progress.
    loadProgress_ = &progress;
    loadWhole_ = true;
    session_.load(bytes, encoding);
    loadProgress_ = nullptr;
    return loadWhole_;
}

bool DocumentEditor::fillFromSession(const Progress& progress)
{
    const bool wasMirroring = std::exchange(mirroring_, true);
    const QString text = session_.document().text();
    QTextDocument* doc = document();
    // How the view wraps is found again as the lines come in.
    if (breaksAnywhere_) {
        doc->clear();
        breakAnywhere(false);
    }
    wrapKept_ = false;
    setTextCursor(QTextCursor(doc));
    // A text longer than a piece says it is loading even when it is one
    // long line.
    const bool inPieces = progress && text.size() > kLoadPiece;
    bool whole = true;
    if (!inPieces) {
        doc->setPlainText(text);
    } else {
        // Pieces end at line breaks, so no line is laid out twice; the view
        // shows the beginning as soon as it is in.
        doc->clear();
        QTextCursor end(doc);
        for (qsizetype from = 0; from < text.size();) {
            if (!progress(int(from * 100 / text.size()))) {
                doc->clear();
                whole = false;
                break;
            }
            const qsizetype to = pieceEnd(text, from);
            end.insertText(text.sliced(from, to - from));
            from = to;
        }
    }
    keepWrap(whole && wrapKept_);
    if (whole)
        markStandIns(0, text.size());
    // The caret at the start; the view stays where the reader scrolled it
    // while the text came in.
    const int scrolled = verticalScrollBar()->value();
    setTextCursor(QTextCursor(doc));
    ensureCursorVisible();
    if (inPieces)
        verticalScrollBar()->setValue(scrolled);
    mirroring_ = wasMirroring;
    return whole;
}

void DocumentEditor::showSelection()
{
    if (adopting_)
        return;
    const Selection selection = session_.selection();
    const QTextCursor current = textCursor();
    if (current.anchor() == selection.anchor && current.position() == selection.position)
        return;
    const bool wasShowing = std::exchange(showingSelection_, true);
    QTextCursor cursor(document());
    cursor.setPosition(int(selection.anchor));
    cursor.setPosition(int(selection.position), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    showingSelection_ = wasShowing;
}

void DocumentEditor::takeSelection()
{
    if (mirroring_ || showingSelection_)
        return;
    const QTextCursor cursor = textCursor();
    session_.setSelection({cursor.anchor(), cursor.position()});
}

void DocumentEditor::adoptViewChange(int position, int removed, int)
{
    if (mirroring_)
        return;
    // The toolkit reports changes with the text's end in its own count, and
    // at times more than changed (a whole line laid out anew): the part
    // behind the change is what both still share, and what reads the same
    // at either end is no change.
    const TextDocument& model = session_.document();
    const qsizetype oldLength = model.length();
    const qsizetype newLength = document()->characterCount() - 1;
    qsizetype from = std::clamp<qsizetype>(position, 0, oldLength);
    qsizetype oldEnd = std::clamp<qsizetype>(qsizetype(position) + removed, from, oldLength);
    qsizetype newEnd = std::max(from, newLength - (oldLength - oldEnd));
    const QString seen = viewText(document(), int(from), int(newEnd));
    qsizetype head = 0;
    while (from + head < oldEnd && head < seen.size() && model.at(from + head) == seen.at(head))
        ++head;
    qsizetype tail = 0;
    while (oldEnd - tail > from + head && seen.size() - tail > head && model.at(oldEnd - tail - 1) == seen.at(seen.size() - tail - 1))
        ++tail;
    from += head;
    oldEnd -= tail;
    newEnd -= tail;
    if (oldEnd == from && newEnd == from)
        return;
    const bool wasAdopting = std::exchange(adopting_, true);
    const QTextCursor cursor = textCursor();
    TextDocument::History& history = session_.document().history();
    history.begin(session_.selection());
    session_.document().replace({from, oldEnd - from}, QStringView(seen).sliced(head, newEnd - from));
    session_.setSelection({cursor.anchor(), cursor.position()});
    history.end(session_.selection());
    adopting_ = wasAdopting;
}

void DocumentEditor::dropEvent(QDropEvent* event)
{
    // Text dragged within the editor moves as one undo step, its marks
    // with it; anything else comes in through insertFromMimeData.
    const Selection selection = session_.selection();
    if (event->source() == this && event->dropAction() == Qt::MoveAction && !selection.isEmpty()) {
        const qsizetype target = cursorForPosition(event->position().toPoint()).position();
        event->acceptProposedAction();
        if (target > selection.start() && target < selection.end())
            return;
        const TextDocument& model = session_.document();
        const QString text = session_.selectedTextAsIs();
        const CodeMarks marks = model.marks(selection.start(), selection.end());
        TextDocument::History& history = session_.document().history();
        history.begin(selection);
        session_.document().replace(selection.range(), {});
        const qsizetype at = target > selection.start() ? target - selection.length() : target;
        session_.document().replace({at, 0}, text, marks);
        session_.setSelection({at, at + text.size()});
        history.end(session_.selection());
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

// ---- Editing -----------------------------------------------------------------

void DocumentEditor::paste(const QMimeData* source, UndoPolicy undo)
{
    const std::optional<MimeText> text = textFromMime(source);
    if (!text || (text->text.isEmpty() && session_.selection().isEmpty()))
        return;
    edit::replaceSelection(session_, text->text, text->marks, undo);
    ensureCursorVisible();
}

QMimeData* DocumentEditor::createMimeDataFromSelection() const
{
    return mimeFromSelection(session_);
}

bool DocumentEditor::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText() || QPlainTextEdit::canInsertFromMimeData(source);
}

void DocumentEditor::insertFromMimeData(const QMimeData* source)
{
    // The toolkit's paste key, middle click and drop: ordinary edits.
    paste(source, UndoPolicy::Undoable);
}

bool DocumentEditor::editKey(QKeyEvent* event)
{
    const Selection selection = session_.selection();
    if (event == QKeySequence::Undo) {
        edit::undo(session_);
    } else if (event == QKeySequence::Redo) {
        edit::redo(session_);
    } else if (event == QKeySequence::Cut) {
        if (selection.isEmpty())
            return true;
        QApplication::clipboard()->setMimeData(mimeFromSelection(session_));
        edit::remove(session_, selection.range());
    } else if (event == QKeySequence::Paste) {
        paste(QApplication::clipboard()->mimeData(), UndoPolicy::Undoable);
    } else if (event == QKeySequence::InsertParagraphSeparator || event == QKeySequence::InsertLineSeparator) {
        edit::type(session_, u"\n");
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) {
        if (!selection.isEmpty()) {
            edit::remove(session_, selection.range());
        } else if (selection.position > 0) {
            // One character back, both halves of a pair.
            const qsizetype at = selection.position;
            const bool pair = at > 1 && session_.document().at(at - 1).isLowSurrogate()
                && session_.document().at(at - 2).isHighSurrogate();
            const qsizetype width = pair ? 2 : 1;
            edit::remove(session_, {at - width, width});
        }
    } else if (event == QKeySequence::Delete || event == QKeySequence::DeleteStartOfWord
               || event == QKeySequence::DeleteEndOfWord || event == QKeySequence::DeleteEndOfLine) {
        QTextCursor cursor = textCursor();
        if (!cursor.hasSelection()) {
            const auto move = event == QKeySequence::Delete              ? QTextCursor::NextCharacter
                              : event == QKeySequence::DeleteStartOfWord ? QTextCursor::PreviousWord
                              : event == QKeySequence::DeleteEndOfWord   ? QTextCursor::NextWord
                                                                         : QTextCursor::EndOfBlock;
            cursor.movePosition(move, QTextCursor::KeepAnchor);
        }
        edit::remove(session_, {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()});
    } else if (typesText(event)) {
        edit::type(session_, event->text());
    } else {
        return false;
    }
    return true;
}

void DocumentEditor::keyPressEvent(QKeyEvent* event)
{
    // Alt with a letter is a menu's or a button's key, never typing, even
    // where no command answers it (AltGr comes as Ctrl+Alt or a group
    // switch and still types).
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !event->text().isEmpty()
        && event->text().at(0).isPrint()) {
        event->ignore();
        return;
    }
    if (!isReadOnly() && editKey(event)) {
        event->accept();
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DocumentEditor::inputMethodEvent(QInputMethodEvent* event)
{
    const bool commits = !event->commitString().isEmpty() || event->replacementLength() > 0;
    const QList<QInputMethodEvent::Attribute> attributes =
        compositionColoured_ ? restyleComposition(event->preeditString().size(), event->attributes())
                             : event->attributes();
    if (!commits) {
        QInputMethodEvent shown(event->preeditString(), attributes);
        QPlainTextEdit::inputMethodEvent(&shown);
        return;
    }
    // The committed text is typing, one undo step; the composition that
    // may follow it is the view's to show.
    if (event->replacementLength() > 0) {
        const qsizetype at = session_.selection().position + event->replacementStart();
        session_.select(at, at + event->replacementLength());
    }
    edit::type(session_, event->commitString());
    QInputMethodEvent rest(event->preeditString(), attributes);
    QPlainTextEdit::inputMethodEvent(&rest);
    ensureCursorVisible();
}

// ---- Display lines -----------------------------------------------------------

DisplayLine DocumentEditor::displayLineAt(qsizetype position) const
{
    QTextDocument* doc = document();
    const QTextBlock block = doc->findBlock(int(position));
    if (!block.isValid())
        return {};
    // Lay the paragraph out if the view has not yet (it lays out what it
    // has shown); paragraphs it has never shown count one line each, as in
    // its scroll bar.
    doc->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    const int offset = int(position) - block.position();
    const QTextLine line = layout ? layout->lineForTextPosition(offset) : QTextLine();
    if (!line.isValid())
        return {block.firstLineNumber(), block.position(), block.length() - 1};
    return {block.firstLineNumber() + line.lineNumber(), block.position() + line.textStart(), line.textLength()};
}

int DocumentEditor::firstVisibleDisplayLine() const
{
    return verticalScrollBar()->value();
}

void DocumentEditor::scrollToDisplayLine(int line)
{
    // The vertical scroll bar stands at the first visible display line; it
    // stops where the text ends.
    verticalScrollBar()->setValue(line);
}

// ---- Wrapping ----------------------------------------------------------------

void DocumentEditor::layoutEdited(int position, int, int added)
{
    // A block's layout forgets its shaped glyphs after each use, so every
    // caret blink, paint or caret move on a long line would shape the whole
    // line again: long lines keep theirs.
    slices_.clear();
    if (document()->characterCount() <= kLongLine) {
        if (wrapKept_)
            keepWrap(false);
        breakAnywhere(false);
    }
    const QTextBlock end = document()->findBlock(position + added).next();
    for (QTextBlock block = document()->findBlock(position); block.isValid() && block != end; block = block.next()) {
        if (block.length() <= kLongLine)
            continue;
        if (block.layout())
            block.layout()->setCacheEnabled(true);
        // Before the layout sees the new line.
        if (!wrapChosen_ && !wrapKept_ && tooWideUnwrapped(block))
            keepWrap(true);
        if (!breaksAnywhere_) {
            // Only a word that takes in the edit can be new.
            const int from = std::max(block.position(), position - kLongLine);
            const int to = std::min(block.position() + block.length() - 1, position + added + kLongLine);
            breakAnywhere(hasLongWord(viewText(document(), from, to)));
        }
    }
}

void DocumentEditor::breakAnywhere(bool anywhere)
{
    if (std::exchange(breaksAnywhere_, anywhere) != anywhere)
        setWordWrapMode(anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
}

bool DocumentEditor::tooWideUnwrapped(const QTextBlock& block) const
{
    if (block.length() <= kLongLine)
        return false;
    const QFontMetricsF metrics(document()->defaultFont());
    const qreal widest = std::max({metrics.horizontalAdvance(QChar(0x3042)), metrics.horizontalAdvance(QLatin1Char('W')),
                                   metrics.averageCharWidth() * 2});
    const qreal letters = block.length() * widest;
    if (letters > kWidestUnwrapped)
        return true;
    const qsizetype tabs = block.text().count(u'\t');
    return letters + tabs * document()->defaultTextOption().tabStopDistance() > kWidestUnwrapped;
}

void DocumentEditor::keepWrap(bool kept)
{
    const bool changed = std::exchange(wrapKept_, kept) != kept;
    const LineWrapMode mode = wrapChosen_ || wrapKept_ ? WidgetWidth : NoWrap;
    if (lineWrapMode() != mode)
        setLineWrapMode(mode);
    if (changed)
        Q_EMIT wrapKeptChanged(kept);
}

void DocumentEditor::setWordWrap(bool wrap)
{
    wrapChosen_ = wrap;
    bool tooWide = false;
    for (QTextBlock block = document()->begin(); !wrap && !tooWide && block.isValid(); block = block.next())
        tooWide = tooWideUnwrapped(block);
    keepWrap(tooWide);
}

void DocumentEditor::paintEvent(QPaintEvent* event)
{
    if (lineWrapMode() != NoWrap) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    struct LongBlock {
        QTextBlock block;
        QPointF offset;
        QRegion region;
    };
    std::vector<LongBlock> longBlocks;
    QRegion rest = event->region();
    const int viewportHeight = viewport()->height();
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && offset.y() <= viewportHeight; block = block.next()) {
        if (!block.isVisible())
            continue;
        const QRectF r = blockBoundingRect(block).translated(offset);
        if (block.length() > kLongLine) {
            const int top = int(std::floor(r.top()));
            const QRect strip(0, top, viewport()->width(), int(std::ceil(r.bottom())) - top);
            const QRegion region = rest.intersected(strip);
            if (!region.isEmpty()) {
                longBlocks.push_back({block, offset, region});
                rest -= strip;
            }
        }
        offset.ry() += r.height();
    }
    if (longBlocks.empty()) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    // The toolkit draws everything but the long lines, strip by strip.
    for (const QRect& rect : rest) {
        QPaintEvent part(rect);
        QPlainTextEdit::paintEvent(&part);
    }
    QPainter painter(viewport());
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());
    for (const LongBlock& item : longBlocks) {
        const int position = item.block.position();
        const int length = item.block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const QAbstractTextDocumentLayout::Selection& range : context.selections) {
            const int start = range.cursor.selectionStart() - position;
            const int end = range.cursor.selectionEnd() - position;
            if (start < length && end > 0 && end > start)
                selections.append({start, end - start, range.format});
        }
        const bool hasCaret = !isReadOnly() && context.cursorPosition >= position && context.cursorPosition < position + length;
        const int caret = hasCaret ? context.cursorPosition - position : -1;
        painter.setClipRegion(item.region);
        const QRect clip = item.region.boundingRect();
        if (drawVisibleSlice(painter, item.block, item.offset, clip, selections, caret))
            continue;
        QTextLayout* layout = item.block.layout();
        layout->draw(&painter, item.offset, selections, clip);
        if (caret >= 0)
            layout->drawCursor(&painter, item.offset, caret, cursorWidth());
    }
}

const DocumentEditor::Slice* DocumentEditor::visibleSlice(const QTextBlock& block, qreal left)
{
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() != 1 || !layout->preeditAreaText().isEmpty())
        return nullptr;
    const int width = viewport()->width();
    const QFont font = document()->defaultFont();
    auto found = slices_.find(block.blockNumber());
    if (found != slices_.end() && found->second.left == left
        && found->second.width == width && found->second.font == font && found->second.length == block.length())
        return &found->second;
    if (slices_.size() > 16)
        slices_.clear();
    // Any edit clears the slices. Placing the part in view takes a walk through the whole line's
    // glyphs: done once per scroll position and edit, not per paint.
    const QTextLine line = layout->lineAt(0);
    const int length = block.length() - 1;
    Slice slice;
    slice.left = left;
    slice.width = width;
    slice.font = font;
    slice.length = block.length();
    slice.from = std::max(0, line.xToCursor(left) - kSliceMargin);
    slice.to = std::min(length, line.xToCursor(left + width) + kSliceMargin);
    QTextCursor cursor(document());
    cursor.setPosition(block.position() + slice.from);
    cursor.setPosition(block.position() + slice.to, QTextCursor::KeepAnchor);
    const QString text = cursor.selectedText();
    // A stand-in needs the document's object handler: the whole line then.
    if (text.contains(QChar(kStandIn)))
        return nullptr;
    QList<QTextLayout::FormatRange> formats;
    for (const QTextLayout::FormatRange& range : block.textFormats()) {
        const int start = std::max(range.start, slice.from);
        const int end = std::min(range.start + range.length, slice.to);
        if (end > start)
            formats.append({start - slice.from, end - start, range.format});
    }
    slice.layout = std::make_shared<QTextLayout>(text, font);
    slice.layout->setTextOption(document()->defaultTextOption());
    slice.layout->setFormats(formats);
    slice.layout->setCacheEnabled(true);
    slice.layout->beginLayout();
    QTextLine sliceLine = slice.layout->createLine();
    sliceLine.setPosition(QPointF(0, line.y()));
    slice.layout->endLayout();
    slice.x = line.x() + line.cursorToX(slice.from) - line.cursorToX(0);
    return &(slices_[block.blockNumber()] = std::move(slice));
}

bool DocumentEditor::drawVisibleSlice(QPainter& painter, const QTextBlock& block, QPointF offset, const QRect& clip,
                                      const QList<QTextLayout::FormatRange>& selections, int caret)
{
    const Slice* slice = visibleSlice(block, -offset.x());
    if (!slice)
        return false;
    QList<QTextLayout::FormatRange> selected;
    for (const QTextLayout::FormatRange& range : selections) {
        const int start = std::max(range.start, slice->from);
        const int end = std::min(range.start + range.length, slice->to + 1);
        if (end > start)
            selected.append({start - slice->from, end - start, range.format});
    }
    const QPointF at = offset + QPointF(slice->x, 0);
    slice->layout->draw(&painter, at, selected, clip);
    if (caret >= slice->from && caret <= slice->to)
        slice->layout->drawCursor(&painter, at, caret - slice->from, cursorWidth());
    return true;
}

} // namespace pel

#include "DocumentEditor.moc"
