#include "main/DocumentEditor.h"

#include "platform/LineBreaks.h"

#include <QAbstractTextDocumentLayout>
#include <QDataStream>
#include <QFontMetricsF>
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
#include <utility>
#include <vector>

namespace pel {

namespace {

constexpr int kCodeProperty = QTextFormat::UserProperty + 932;
constexpr int kStandInObject = QTextFormat::UserObject + 932;
constexpr char16_t kStandIn = 0xFFFC;
// Marks travel with a copy inside the program under this clipboard format.
const QString kMarksMimeType = QStringLiteral("application/x-pelmora-code-marks");
// Lines longer than this are drawn piecewise without word wrap.
constexpr int kLongLine = 4096;
// Characters laid out beyond each edge of the view, so glyphs cut by the
// edge are drawn whole.
constexpr int kSliceMargin = 16;
// Without word wrap a line may be at most this wide (in pixels, half the
// toolkit's fixed-point range), by an estimate from its length.
constexpr qreal kWidestUnwrapped = qreal(1 << 24);
// A text loaded with progress goes into the document in pieces this long.
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

QTextCharFormat markFormat(QChar c, quint16 code)
{
    QTextCharFormat format;
    format.setProperty(kCodeProperty, int(code));
    if (c == kStandIn)
        format.setObjectType(kStandInObject);
    return format;
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

QByteArray packMarks(const QString& text, const CodeMarks& marks)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << text << qint64(marks.size());
    for (const CodeMark& mark : marks)
        out << qint64(mark.position) << mark.code;
    return data;
}

bool unpackMarks(const QByteArray& data, QString& text, CodeMarks& marks)
{
    QDataStream in(data);
    qint64 count = 0;
    in >> text >> count;
    if (in.status() != QDataStream::Ok || count < 0 || count > text.size())
        return false;
    marks.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        qint64 position = 0;
        quint16 code = 0;
        in >> position >> code;
        if (position < 0 || position >= text.size())
            return false;
        marks.append({position, code});
    }
    return in.status() == QDataStream::Ok;
}

} // namespace

DocumentEditor::DocumentEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    document()->documentLayout()->registerHandler(kStandInObject, new StandInGlyphs(this));
    connect(document(), &QTextDocument::contentsChange, this, &DocumentEditor::documentEdited);
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

void DocumentEditor::documentEdited(int position, int, int added)
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
            QTextCursor around(document());
            around.setPosition(from);
            around.setPosition(to, QTextCursor::KeepAnchor);
            breakAnywhere(hasLongWord(around.selectedText()));
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

bool DocumentEditor::setDocumentText(const QString& text, const CodeMarks& marks,
                                     const std::function<bool(int)>& progress)
{
    // Straight into the document: the editor's own setPlainText would then
    // set the default format again over every character and line.
    QTextDocument* doc = document();
    // How the view wraps is found again as the lines come in.
    if (breaksAnywhere_) {
        doc->clear();
        breakAnywhere(false);
    }
    wrapKept_ = false;
    doc->setUndoRedoEnabled(false);
    setTextCursor(QTextCursor(doc));
    // A text longer than a piece says it is loading even when it is one
    // long line.
    const bool inPieces = progress && text.size() > kLoadPiece;
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
                keepWrap(false);
                doc->setUndoRedoEnabled(true);
                doc->setModified(false);
                return false;
            }
            const qsizetype to = pieceEnd(text, from);
            end.insertText(text.sliced(from, to - from));
            from = to;
        }
    }
    keepWrap(wrapKept_);
    applyMarks(0, text, marks);
    doc->setUndoRedoEnabled(true);
    // The caret at the start; the view stays where the reader scrolled it
    // while the text came in.
    const int scrolled = verticalScrollBar()->value();
    setTextCursor(QTextCursor(doc));
    ensureCursorVisible();
    if (inPieces)
        verticalScrollBar()->setValue(scrolled);
    doc->setModified(false);
    return true;
}

void DocumentEditor::applyMarks(int start, const QString& text, const CodeMarks& marks)
{
    if (marks.isEmpty())
        return;
    // One edit block: the layout and the change signal see one change.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const CodeMark& mark : marks) {
        if (mark.position < 0 || mark.position >= text.size())
            continue;
        cursor.setPosition(start + int(mark.position));
        cursor.setPosition(start + int(mark.position) + 1, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(markFormat(text.at(mark.position), mark.code));
    }
    cursor.endEditBlock();
}

CodeMarks DocumentEditor::marksIn(int from, int to) const
{
    CodeMarks marks;
    const QList<QTextFormat> formats = document()->allFormats();
    std::vector<bool> marked(formats.size());
    bool any = false;
    for (qsizetype i = 0; i < formats.size(); ++i) {
        marked[i] = formats.at(i).hasProperty(kCodeProperty);
        any = any || marked[i];
    }
    // Most documents never had a mark: no walk through their text.
    if (!any)
        return marks;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int index = fragment.charFormatIndex();
            if (index < 0 || index >= int(marked.size()) || !marked[index])
                continue;
            const QTextFormat& format = formats.at(index);
            const quint16 code = quint16(format.intProperty(kCodeProperty));
            // Typing next to a stand-in copies its property but never its
            // object type, so a typed U+FFFC never becomes a raw byte.
            const bool standIn = format.objectType() == kStandInObject;
            const QString text = fragment.text();
            const int first = std::max(from, fragment.position());
            const int last = std::min(to, fragment.position() + fragment.length());
            for (int position = first; position < last; ++position) {
                const bool isStandIn = text.at(position - fragment.position()) == kStandIn;
                if (isStandIn == standIn)
                    marks.append({position - from, code});
            }
        }
    }
    return marks;
}

DocumentEditor::Content DocumentEditor::documentContent() const
{
    Content content;
    content.text = toPlainText();
    content.marks = marksIn(0, int(content.text.size()));
    return content;
}

QTextCharFormat DocumentEditor::insertionFormat(const QTextCursor& cursor)
{
    QTextCharFormat format = cursor.charFormat();
    format.clearProperty(kCodeProperty);
    format.clearProperty(QTextFormat::ObjectType);
    return format;
}

QMimeData* DocumentEditor::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    QString text = lineBreaks::toNewlines(cursor.selectedText());
    auto* mime = new QMimeData;
    const CodeMarks marks = marksIn(cursor.selectionStart(), cursor.selectionEnd());
    if (!marks.isEmpty())
        mime->setData(kMarksMimeType, packMarks(text, marks));
    // Outside the program a stand-in is the character for an unreadable byte.
    text.replace(QChar(kStandIn), QChar::ReplacementCharacter);
    mime->setText(text);
    return mime;
}

void DocumentEditor::insertFromMimeData(const QMimeData* source)
{
    QString text;
    CodeMarks marks;
    if (!source->hasFormat(kMarksMimeType) || !unpackMarks(source->data(kMarksMimeType), text, marks)) {
        text = source->text();
        marks.clear();
    }
    if (text.isEmpty() && !textCursor().hasSelection())
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    const QTextCharFormat format = insertionFormat(cursor);
    cursor.removeSelectedText();
    const int start = cursor.position();
    cursor.insertText(text, format);
    applyMarks(start, text, marks);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void DocumentEditor::dropInheritedMarks()
{
    // Typed text would take the marks of the character before it.
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() && cursor.charFormat().hasProperty(kCodeProperty))
        setCurrentCharFormat(insertionFormat(cursor));
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
    dropInheritedMarks();
    QPlainTextEdit::keyPressEvent(event);
}

void DocumentEditor::inputMethodEvent(QInputMethodEvent* event)
{
    dropInheritedMarks();
    QPlainTextEdit::inputMethodEvent(event);
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
