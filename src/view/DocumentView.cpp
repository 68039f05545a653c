#include "view/DocumentView.h"

#include "platform/Composition.h"
#include "text/TextMime.h"
#include "view/ViewAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <utility>

namespace pel {

namespace {

// Room between the view's edges and the text.
constexpr int kMargin = 4;
// Blinks before the caret stays on, so an idle window costs nothing.
constexpr int kBlinks = 40;
// How much text on each side of the caret the input method and word moves see.
constexpr qsizetype kAround = 1024;
constexpr qreal kTabStop = 80;

// Keys that type, as the toolkit's own editors take them: Ctrl alone never
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

QFont smallFont(QFont font)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(std::max(1.0, font.pointSizeF() * 0.6));
    else
        font.setPixelSize(std::max(1, font.pixelSize() * 3 / 5));
    return font;
}

} // namespace

DocumentView::DocumentView(DocumentSession& session, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session), widths_(font(), kTabStop), layout_(session.document(), widths_)
{
    ViewAccessible::install();
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent, false);
    connect(&session_, &DocumentSession::changed, this, &DocumentView::documentChanged);
    connect(&session_, &DocumentSession::textReset, this, &DocumentView::textReset);
    connect(&session_, &DocumentSession::selectionChanged, this, &DocumentView::sessionSelectionChanged);
    useFont();
}

DocumentView::~DocumentView() = default;

// ---- The session -------------------------------------------------------------

bool DocumentView::showLoading(QByteArrayView bytes, const Progress& progress, std::optional<TextEncoding> encoding)
{
    if (progress && !progress(0))
        return false;
    session_.load(bytes, encoding);
    return true;
}

void DocumentView::documentChanged(qsizetype from, qsizetype removed, qsizetype added)
{
    layout_.update(from, removed, added);
    layouts_.clear();
    preeditLayout_.reset();
    if (!wraps()) {
        const TextDocument& text = session_.document();
        checkWidth(text.lineAt(from), text.lineAt(from + added));
    }
    updateScrollBars();
    viewport()->update();
    if (QAccessible::isActive()) {
        // What came in, as far as a reader would say it.
        const QString in = session_.document().text(from, std::min(added, kAround));
        QAccessibleTextUpdateEvent event(this, int(from), QString(removed, QChar::Space), in);
        QAccessible::updateAccessibility(&event);
    }
}

void DocumentView::textReset()
{
    preedit_.clear();
    wrapKept_ = false;
    relayout();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    shown_ = session_.selection();
    restartBlink();
}

void DocumentView::sessionSelectionChanged()
{
    const Selection now = session_.selection();
    const Selection before = std::exchange(shown_, now);
    if (before == now)
        return;
    // The old and the new caret lines, and what lies between when a
    // selection grows or shrinks.
    const qsizetype from = std::min(before.start(), now.start());
    const qsizetype to = std::max(before.end(), now.end());
    const int first = layout_.placeOf(from).shown.number;
    const int last = layout_.placeOf(to).shown.number;
    viewport()->update(QRect(0, topOf(first), viewport()->width(), (last - first + 1) * lineHeight_));
    restartBlink();
    ensureCaretVisible();
    if (!before.isEmpty() || !now.isEmpty())
        Q_EMIT selectionChanged();
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent event(this, int(now.position));
        QAccessible::updateAccessibility(&event);
    }
}

// ---- Layout ----------------------------------------------------------------------

void DocumentView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange)
        useFont();
}

void DocumentView::useFont()
{
    // Kana, kanji and Latin letters look the same unshaped and unkerned,
    // and a line is then as wide as its characters' advances.
    textFont_ = font();
    textFont_.setStyleStrategy(QFont::StyleStrategy(textFont_.styleStrategy() | QFont::PreferNoShaping));
    textFont_.setKerning(false);
    widths_.setFont(textFont_, kTabStop);
    // As high as the tallest of the fonts the text may take its letters from.
    QTextLayout sample(QStringLiteral("Wgあ漢｜"), textFont_);
    sample.beginLayout();
    QTextLine line = sample.createLine();
    sample.endLayout();
    lineHeight_ = std::max(1, int(std::ceil(line.height())));
    relayout();
}

qreal DocumentView::textWidth() const
{
    return std::max(1, viewport()->width() - 2 * kMargin - 1);
}

void DocumentView::relayout()
{
    layout_.setWrapWidth(wraps() ? textWidth() : 0);
    layout_.reset();   // also when the width stays: the font or the text changed
    layouts_.clear();
    preeditLayout_.reset();
    updateScrollBars();
    viewport()->update();
}

void DocumentView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (wraps() && layout_.wrapWidth() != textWidth())
        relayout();
    else
        updateScrollBars();
}

void DocumentView::updateScrollBars()
{
    if (!wraps() && layout_.widest() > kWidestUnwrapped) {
        keepWrap(true);
        return;
    }
    const int rows = std::max(1, (viewport()->height() - kMargin) / lineHeight_);
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, layout_.displayLineCount() - rows));
    vertical->setPageStep(rows);
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = wraps() ? 0 : int(std::ceil(layout_.widest())) + 2 * kMargin + 1;
    horizontal->setRange(0, std::max(0, width - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(20);
}

void DocumentView::checkWidth(int fromLine, int toLine)
{
    // Only a line this long can be too wide.
    const qreal widestLetter = std::max({kTabStop, qreal(lineHeight_) * 4});
    const TextDocument& text = session_.document();
    for (int line = fromLine; line <= toLine && !wrapKept_; ++line) {
        if (text.lineLength(line) * widestLetter <= kWidestUnwrapped)
            continue;
        const qreal width = layout_.lineWidth(line);
        layout_.noteWidth(width);
        if (width > kWidestUnwrapped)
            keepWrap(true);
    }
}

void DocumentView::keepWrap(bool kept)
{
    if (std::exchange(wrapKept_, kept) == kept)
        return;
    relayout();
    Q_EMIT wrapKeptChanged(kept);
}

void DocumentView::setWordWrap(bool wrap)
{
    wrapChosen_ = wrap;
    wrapKept_ = false;
    relayout();
    if (!wrap) {
        // The lines in view tell at once whether the view must stay wrapped.
        const int first = layout_.place(verticalScrollBar()->value()).line;
        const int last = layout_.place(verticalScrollBar()->value() + verticalScrollBar()->pageStep()).line;
        checkWidth(first, last);
    }
}

void DocumentView::scrollContentsBy(int, int)
{
    viewport()->update();
}

int DocumentView::topOf(int displayLine) const
{
    return kMargin + (displayLine - verticalScrollBar()->value()) * lineHeight_;
}

QPointF DocumentView::runOrigin(const DisplayLayout::Place& place, const DisplayLayout::Run& run) const
{
    return QPointF(kMargin - horizontalScrollBar()->value() + run.x, topOf(place.shown.number));
}

QTextLayout& DocumentView::runLayout(const DisplayLayout::Run& run, bool withPreedit)
{
    if (!withPreedit) {
        auto found = layouts_.find(run.start);
        if (found != layouts_.end() && found->second.length == run.length)
            return *found->second.layout;
    } else if (preeditLayout_) {
        return *preeditLayout_;
    }
    QString text = session_.document().text(run.start, run.length);
    std::replace(text.begin(), text.end(), QChar(kStandInChar), QChar(kStandInRoom));
    auto layout = std::make_unique<QTextLayout>(text, textFont_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(kTabStop);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    if (withPreedit) {
        const int at = int(session_.selection().position - run.start);
        layout->setPreeditArea(at, preedit_);
        QList<QTextLayout::FormatRange> formats;
        for (const QInputMethodEvent::Attribute& attribute : std::as_const(preeditAttributes_)) {
            if (attribute.type != QInputMethodEvent::TextFormat)
                continue;
            const QTextCharFormat format = attribute.value.value<QTextFormat>().toCharFormat();
            if (format.isValid())
                formats.append({at + attribute.start, attribute.length, format});
        }
        layout->setFormats(formats);
    }
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setPosition(QPointF(0, 0));
    layout->endLayout();
    if (withPreedit) {
        preeditLayout_ = std::move(layout);
        return *preeditLayout_;
    }
    if (layouts_.size() > 512)
        layouts_.clear();
    CachedLayout& cached = layouts_[run.start];
    cached.length = run.length;
    cached.layout = std::move(layout);
    return *cached.layout;
}

// ---- Drawing -----------------------------------------------------------------------

QList<QTextLayout::FormatRange> DocumentView::selectionFormats(const DisplayLayout::Run& run) const
{
    const Selection selection = session_.selection();
    const qsizetype start = std::max(selection.start(), run.start);
    const qsizetype end = std::min(selection.end(), run.start + run.length);
    if (selection.isEmpty() || end <= start)
        return {};
    QTextCharFormat format;
    format.setBackground(palette().brush(QPalette::Highlight));
    format.setForeground(palette().brush(QPalette::HighlightedText));
    return {{int(start - run.start), int(end - start), format}};
}

void DocumentView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    const qreal left = horizontalScrollBar()->value();
    const qreal right = left + viewport()->width();
    const qreal widest = layout_.widest();
    for (int shown = verticalScrollBar()->value();; ++shown) {
        const int top = topOf(shown);
        if (top > clip.bottom() || shown >= layout_.displayLineCount())
            break;
        if (top + lineHeight_ <= clip.top())
            continue;
        const DisplayLayout::Place place = layout_.place(shown);
        for (const DisplayLayout::Run& run : layout_.runs(place, left - kMargin, right))
            drawRun(painter, place, run, clip);
    }
    if (dropCaret_) {
        const QRect caret = caretRect(*dropCaret_);
        painter.fillRect(caret, palette().text());
    }
    if (!wraps() && layout_.widest() != widest)
        QMetaObject::invokeMethod(this, &DocumentView::updateScrollBars, Qt::QueuedConnection);
}

void DocumentView::drawRun(QPainter& painter, const DisplayLayout::Place& place, const DisplayLayout::Run& run,
                           const QRect& clip)
{
    const qsizetype caret = session_.selection().position;
    const qsizetype lineEnd = place.shown.start + place.shown.length;
    const bool hasCaret = caret >= run.start
        && (caret < run.start + run.length || (caret == run.start + run.length && caret == lineEnd && place.endsLine));
    const bool withPreedit = hasCaret && !preedit_.isEmpty();
    QTextLayout& layout = runLayout(run, withPreedit);
    const QPointF origin = runOrigin(place, run);
    if (!wraps() && run.x == 0 && run.length == place.shown.length)
        layout_.noteWidth(layout.lineAt(0).naturalTextWidth());
    painter.setPen(palette().color(QPalette::Text));
    layout.draw(&painter, origin, selectionFormats(run), clip);
    drawStandIns(painter, layout, run, origin);
    if (hasCaret && hasFocus() && caretOn_) {
        int at = int(caret - run.start);
        if (withPreedit)
            at += preeditCursor_;
        layout.drawCursor(&painter, origin, at, 1);
    }
}

void DocumentView::drawStandIns(QPainter& painter, QTextLayout& layout, const DisplayLayout::Run& run, QPointF origin)
{
    const QString& text = layout.text();
    if (!text.contains(QChar(kStandInRoom)))
        return;
    const CodeMarks marks = session_.document().marks(run.start, run.start + run.length);
    const int preeditAt = layout.preeditAreaText().isEmpty() ? INT_MAX : layout.preeditAreaPosition();
    const QTextLine line = layout.lineAt(0);
    const QFont digits = smallFont(textFont_);
    painter.save();
    painter.setFont(digits);
    painter.setBrush(Qt::NoBrush);
    for (const CodeMark& mark : marks) {
        if (session_.document().at(run.start + mark.position) != QChar(kStandInChar))
            continue;
        int at = int(mark.position);
        if (at >= preeditAt)
            at += layout.preeditAreaText().size();
        const qreal x0 = line.cursorToX(at);
        const qreal x1 = line.cursorToX(at + 1);
        // Inside its room, clear of a caret on either side.
        const QRectF box(origin.x() + x0 + 2.5, origin.y() + 1.5, std::max<qreal>(x1 - x0 - 5, 4), lineHeight_ - 3);
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("%1").arg(mark.code & 0xFF, 2, 16, QLatin1Char('0')).toUpper());
    }
    painter.restore();
}

void DocumentView::updateCaretLine()
{
    const int shown = layout_.placeOf(session_.selection().position).shown.number;
    viewport()->update(QRect(0, topOf(shown), viewport()->width(), lineHeight_));
}

void DocumentView::restartBlink()
{
    caretOn_ = true;
    blinks_ = 0;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        blinkTimer_.start(flash / 2, this);
    else
        blinkTimer_.stop();
    updateCaretLine();
}

void DocumentView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == blinkTimer_.timerId()) {
        caretOn_ = !caretOn_;
        if (++blinks_ >= kBlinks && caretOn_)
            blinkTimer_.stop();
        updateCaretLine();
    } else if (event->timerId() == scrollTimer_.timerId()) {
        // Selecting with the mouse outside the view scrolls it.
        const QRect area = viewport()->rect();
        if (lastMouse_.y() < area.top())
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (lastMouse_.y() > area.bottom())
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        if (lastMouse_.x() < area.left())
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (lastMouse_.x() > area.right())
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        moveTo(positionAt(lastMouse_), true);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

void DocumentView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    restartBlink();
}

void DocumentView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    blinkTimer_.stop();
    updateCaretLine();
}

// ---- Positions -----------------------------------------------------------------------

qreal DocumentView::caretX(const DisplayLayout::Place& place, qsizetype position)
{
    const DisplayLayout::Run run = layout_.runAt(place, position);
    return run.x + runLayout(run, false).lineAt(0).cursorToX(int(position - run.start));
}

QRect DocumentView::caretRect(qsizetype position)
{
    const DisplayLayout::Place place = layout_.placeOf(position);
    const DisplayLayout::Run run = layout_.runAt(place, position);
    const bool withPreedit = !preedit_.isEmpty() && position == session_.selection().position;
    QTextLayout& layout = runLayout(run, withPreedit);
    const int at = int(position - run.start) + (withPreedit ? preeditCursor_ : 0);
    const QPointF origin = runOrigin(place, run);
    return QRect(int(std::floor(origin.x() + layout.lineAt(0).cursorToX(at))), int(origin.y()), 1, lineHeight_);
}

qsizetype DocumentView::positionAt(QPoint point)
{
    const int count = layout_.displayLineCount();
    // The margin above the text belongs to the first line shown.
    const int y = point.y() >= 0 ? std::max(point.y(), kMargin) : point.y();
    const int row = int(std::floor(qreal(y - kMargin) / lineHeight_));
    const int shown = std::clamp(verticalScrollBar()->value() + row, 0, std::max(0, count - 1));
    // The lines above it in view are laid out first, so it is counted as
    // drawn.
    for (int above = verticalScrollBar()->value(); above < shown; ++above)
        layout_.place(above);
    const DisplayLayout::Place place = layout_.place(shown);
    const qreal x = point.x() - kMargin + horizontalScrollBar()->value();
    const std::vector<DisplayLayout::Run> runs = layout_.runs(place, x, x + 1);
    if (runs.empty())
        return place.shown.start + place.shown.length;
    const DisplayLayout::Run& run = runs.front();
    const int offset = runLayout(run, false).lineAt(0).xToCursor(x - run.x);
    qsizetype position = run.start + offset;
    // The end of a wrapped display line shows at the start of the next.
    if (!place.endsLine && position >= place.shown.start + place.shown.length && place.shown.length > 0)
        position = nextCursorPosition(place.shown.start + place.shown.length, -1, false);
    return position;
}

void DocumentView::ensureCaretVisible()
{
    const qsizetype caret = session_.selection().position;
    const DisplayLayout::Place place = layout_.placeOf(caret);
    if (!wraps())
        layout_.noteWidth(caretX(place, place.shown.start + place.shown.length));
    updateScrollBars();
    QScrollBar* vertical = verticalScrollBar();
    const int shown = place.shown.number;
    if (shown < vertical->value())
        vertical->setValue(shown);
    else if (shown >= vertical->value() + vertical->pageStep())
        vertical->setValue(shown - vertical->pageStep() + 1);
    if (wraps())
        return;
    QScrollBar* horizontal = horizontalScrollBar();
    const int x = int(caretX(place, caret));
    const int room = viewport()->width() - 2 * kMargin - 1;
    if (x < horizontal->value())
        horizontal->setValue(std::max(0, x - room / 4));
    else if (x > horizontal->value() + room)
        horizontal->setValue(x - room * 3 / 4);
}

// ---- DisplayLines ---------------------------------------------------------------------

DisplayLine DocumentView::displayLineAt(qsizetype position) const
{
    return const_cast<DocumentView*>(this)->layout_.placeOf(position).shown;
}

int DocumentView::firstVisibleDisplayLine() const
{
    return verticalScrollBar()->value();
}

void DocumentView::scrollToDisplayLine(int line)
{
    // Stops where the text ends.
    verticalScrollBar()->setValue(line);
}

// ---- Moving the caret -------------------------------------------------------------------

void DocumentView::moveTo(qsizetype position, bool extend, bool keepGoal)
{
    const Selection selection = session_.selection();
    session_.setSelection({extend ? selection.anchor : position, position});
    if (!keepGoal)
        goalX_.reset();
    ensureCaretVisible();
}

qsizetype DocumentView::nextCursorPosition(qsizetype position, int direction, bool word)
{
    const TextDocument& text = session_.document();
    const int line = text.lineAt(position);
    const qsizetype lineStart = text.lineStart(line);
    const qsizetype lineEnd = lineStart + text.lineLength(line);
    // Over a line break.
    if (direction < 0 && position == lineStart)
        return std::max<qsizetype>(0, position - 1);
    if (direction > 0 && position == lineEnd)
        return std::min(text.length(), position + 1);
    const qsizetype from = std::max(lineStart, position - kAround);
    const qsizetype to = std::min(lineEnd, position + kAround);
    const QString around = text.text(from, to - from);
    QTextBoundaryFinder finder(word ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Grapheme, around);
    finder.setPosition(position - from);
    for (;;) {
        const qsizetype at = direction > 0 ? finder.toNextBoundary() : finder.toPreviousBoundary();
        if (at < 0)
            return direction > 0 ? to : from;
        if (!word)
            return from + at;
        // A word move stops where a word starts (or the line ends), over spaces.
        const bool starts = finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem;
        if (starts || at == 0 || at == around.size())
            return from + at;
    }
}

qsizetype DocumentView::lineEdge(qsizetype position, bool end)
{
    const DisplayLayout::Place place = layout_.placeOf(position);
    if (!end)
        return place.shown.start;
    const qsizetype edge = place.shown.start + place.shown.length;
    return place.endsLine || place.shown.length == 0 ? edge : nextCursorPosition(edge, -1, false);
}

qsizetype DocumentView::verticalMove(qsizetype position, int displayLines)
{
    // The lines the move crosses are laid out first, so they count as many
    // display lines as they show: above the caret until enough display
    // lines are found; below it, one display line after another.
    const TextDocument& text = session_.document();
    int found = layout_.placeOf(position).shown.number - layout_.placeOf(text.lineStart(text.lineAt(position))).shown.number;
    for (int line = text.lineAt(position) - 1; line >= 0 && found < -displayLines; --line) {
        const qsizetype start = text.lineStart(line);
        found += layout_.placeOf(start + text.lineLength(line)).shown.number - layout_.placeOf(start).shown.number + 1;
    }
    const int from = layout_.placeOf(position).shown.number;
    for (int shown = from + 1; shown < from + displayLines && shown < layout_.displayLineCount(); ++shown)
        layout_.place(shown);
    const DisplayLayout::Place place = layout_.placeOf(position);
    if (!goalX_)
        goalX_ = caretX(place, position);
    const int target = place.shown.number + displayLines;
    if (target < 0)
        return 0;
    if (target >= layout_.displayLineCount())
        return session_.document().length();
    const DisplayLayout::Place there = layout_.place(target);
    const std::vector<DisplayLayout::Run> runs = layout_.runs(there, *goalX_, *goalX_ + 1);
    if (runs.empty())
        return there.shown.start + there.shown.length;
    const DisplayLayout::Run& run = runs.front();
    qsizetype at = run.start + runLayout(run, false).lineAt(0).xToCursor(*goalX_ - run.x);
    if (!there.endsLine && at >= there.shown.start + there.shown.length && there.shown.length > 0)
        at = nextCursorPosition(there.shown.start + there.shown.length, -1, false);
    return at;
}

TextRange DocumentView::wordAt(qsizetype position)
{
    const qsizetype start = nextCursorPosition(std::min(session_.document().length(), position + 1), -1, true);
    qsizetype end = nextCursorPosition(start, 1, true);
    if (end <= position)
        end = nextCursorPosition(position, 1, true);
    return {std::min(start, position), std::max(end, position) - std::min(start, position)};
}

bool DocumentView::moveKey(QKeyEvent* event)
{
    struct Move {
        QKeySequence::StandardKey move;
        QKeySequence::StandardKey select;
        int kind;
    };
    enum { Char, Word, Line, Page, LineEdge, DocumentEdge };
    static const Move kMoves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Char},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, -Char - 1},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Word},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, -Word - 1},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Line},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, -Line - 1},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Page},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, -Page - 1},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, LineEdge},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, -LineEdge - 1},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, DocumentEdge},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, -DocumentEdge - 1},
    };
    for (const Move& move : kMoves) {
        const bool extend = event->matches(move.select);
        if (!extend && !event->matches(move.move))
            continue;
        const int direction = move.kind < 0 ? -1 : 1;
        const int kind = move.kind < 0 ? -move.kind - 1 : move.kind;
        const Selection selection = session_.selection();
        const qsizetype caret = selection.position;
        qsizetype target = caret;
        switch (kind) {
        case Char:
            // A selection given up by an arrow leaves the caret at its edge.
            if (!extend && !selection.isEmpty())
                target = direction < 0 ? selection.start() : selection.end();
            else
                target = nextCursorPosition(caret, direction, false);
            break;
        case Word:
            target = nextCursorPosition(caret, direction, true);
            break;
        case Line:
            moveTo(verticalMove(caret, direction), extend, true);
            return true;
        case Page: {
            const int rows = std::max(1, verticalScrollBar()->pageStep() - 1);
            const qsizetype at = verticalMove(caret, direction * rows);
            verticalScrollBar()->setValue(verticalScrollBar()->value() + direction * rows);
            moveTo(at, extend, true);
            return true;
        }
        case LineEdge:
            target = lineEdge(caret, direction > 0);
            break;
        case DocumentEdge:
            target = direction > 0 ? session_.document().length() : 0;
            break;
        }
        moveTo(target, extend);
        return true;
    }
    if (event == QKeySequence::SelectAll) {
        edit::selectAll(session_);
        return true;
    }
    if (event == QKeySequence::Copy || (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ControlModifier)) {
        if (!session_.selection().isEmpty())
            QApplication::clipboard()->setMimeData(mimeFromSelection(session_));
        return true;
    }
    return false;
}

// ---- Editing ---------------------------------------------------------------------------------

void DocumentView::paste(const QMimeData* source, UndoPolicy undo)
{
    const std::optional<MimeText> text = textFromMime(source);
    if (!text || (text->text.isEmpty() && session_.selection().isEmpty()))
        return;
    edit::replaceSelection(session_, text->text, text->marks, undo);
    ensureCaretVisible();
}

bool DocumentView::editKey(QKeyEvent* event)
{
    const Selection selection = session_.selection();
    const qsizetype caret = selection.position;
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
        } else if (caret > 0) {
            // One character back, both halves of a pair.
            const TextDocument& text = session_.document();
            const bool pair = caret > 1 && text.at(caret - 1).isLowSurrogate() && text.at(caret - 2).isHighSurrogate();
            const qsizetype width = pair ? 2 : 1;
            edit::remove(session_, {caret - width, width});
        }
    } else if (event == QKeySequence::Delete || event == QKeySequence::DeleteStartOfWord
               || event == QKeySequence::DeleteEndOfWord || event == QKeySequence::DeleteEndOfLine) {
        TextRange range = selection.range();
        if (selection.isEmpty()) {
            qsizetype other = caret;
            if (event == QKeySequence::Delete)
                other = nextCursorPosition(caret, 1, false);
            else if (event == QKeySequence::DeleteStartOfWord)
                other = nextCursorPosition(caret, -1, true);
            else if (event == QKeySequence::DeleteEndOfWord)
                other = nextCursorPosition(caret, 1, true);
            else
                other = session_.document().lineStart(session_.document().lineAt(caret))
                    + session_.document().lineLength(session_.document().lineAt(caret));
            range = {std::min(caret, other), std::abs(other - caret)};
        }
        if (range.length > 0)
            edit::remove(session_, range);
    } else if (typesText(event)) {
        edit::type(session_, event->text());
    } else {
        return false;
    }
    return true;
}

bool DocumentView::event(QEvent* event)
{
    // Tab types a tab; it never moves the focus out of the text.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !(key->modifiers() & Qt::ControlModifier)) {
            keyPressEvent(key);
            return true;
        }
    } else if (event->type() == QEvent::ShortcutOverride) {
        // The editor's own keys win over the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key == QKeySequence::Copy || key == QKeySequence::Paste || key == QKeySequence::Cut
            || key == QKeySequence::Undo || key == QKeySequence::Redo || key == QKeySequence::SelectAll
            || key == QKeySequence::Delete) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void DocumentView::keyPressEvent(QKeyEvent* event)
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
    if (moveKey(event)) {
        event->accept();
        return;
    }
    if (editKey(event)) {
        event->accept();
        goalX_.reset();
        ensureCaretVisible();
        return;
    }
    event->ignore();
}

void DocumentView::inputMethodEvent(QInputMethodEvent* event)
{
    const bool commits = !event->commitString().isEmpty() || event->replacementLength() > 0;
    if (commits) {
        // The committed text is typing, one undo step.
        if (event->replacementLength() > 0) {
            const qsizetype at = session_.selection().position + event->replacementStart();
            session_.select(at, at + event->replacementLength());
        }
        edit::type(session_, event->commitString());
    }
    preedit_ = event->preeditString();
    preeditAttributes_ = compositionColoured_ ? restyleComposition(preedit_.size(), event->attributes())
                                              : event->attributes();
    preeditCursor_ = int(preedit_.size());
    for (const QInputMethodEvent::Attribute& attribute : std::as_const(preeditAttributes_)) {
        if (attribute.type == QInputMethodEvent::Cursor)
            preeditCursor_ = attribute.start;
    }
    preeditLayout_.reset();
    updateCaretLine();
    ensureCaretVisible();
    event->accept();
}

QVariant DocumentView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    auto* self = const_cast<DocumentView*>(this);
    const TextDocument& text = session_.document();
    const Selection selection = session_.selection();
    // The text around the caret, within its line.
    const int line = text.lineAt(selection.position);
    const qsizetype lineStart = text.lineStart(line);
    const qsizetype from = std::max(lineStart, selection.position - kAround);
    const qsizetype to = std::min(lineStart + text.lineLength(line), selection.position + kAround);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return self->caretRect(selection.position).translated(viewport()->pos());
    case Qt::ImFont:
        return textFont_;
    case Qt::ImCursorPosition:
        return int(selection.position - from);
    case Qt::ImAnchorPosition:
        return int(std::clamp(selection.anchor, from, to) - from);
    case Qt::ImSurroundingText:
        return text.text(from, to - from);
    case Qt::ImCurrentSelection:
        return text.text(std::max(from, selection.start()), std::max<qsizetype>(0, std::min(to, selection.end()) - std::max(from, selection.start())));
    case Qt::ImAbsolutePosition:
        return qlonglong(selection.position);
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    case Qt::ImMaximumTextLength:
        return QVariant();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- The mouse ---------------------------------------------------------------------------------

void DocumentView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const qsizetype at = positionAt(event->position().toPoint());
    const Selection selection = session_.selection();
    pressPoint_ = event->position().toPoint();
    if (event->modifiers() & Qt::ShiftModifier) {
        press_ = Press::Select;
        moveTo(at, true);
    } else if (!selection.isEmpty() && at >= selection.start() && at < selection.end()) {
        press_ = Press::MaybeDrag;   // a click inside the selection, or the start of a drag
    } else {
        press_ = Press::Select;
        moveTo(at, false);
    }
    event->accept();
}

void DocumentView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    pressWord_ = wordAt(positionAt(event->position().toPoint()));
    session_.select(pressWord_.from, pressWord_.end());
    press_ = Press::SelectWords;
    event->accept();
}

void DocumentView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || press_ == Press::None) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    lastMouse_ = event->position().toPoint();
    if (press_ == Press::MaybeDrag) {
        if ((lastMouse_ - pressPoint_).manhattanLength() < QApplication::startDragDistance())
            return;
        press_ = Press::None;
        // Text dragged out; a move to another program takes it away here.
        auto* drag = new QDrag(this);
        drag->setMimeData(mimeFromSelection(session_));
        const Selection dragged = session_.selection();
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        if (action == Qt::MoveAction && drag->target() != viewport() && drag->target() != this
            && session_.selection() == dragged)
            edit::remove(session_, dragged.range());
        return;
    }
    if (viewport()->rect().contains(lastMouse_))
        scrollTimer_.stop();
    else if (!scrollTimer_.isActive())
        scrollTimer_.start(50, this);
    const qsizetype at = positionAt(lastMouse_);
    if (press_ == Press::SelectWords) {
        // Whole words from the one first clicked.
        const TextRange word = wordAt(at);
        if (at < pressWord_.from)
            session_.setSelection({pressWord_.end(), word.from});
        else
            session_.setSelection({pressWord_.from, std::max(word.end(), pressWord_.end())});
        ensureCaretVisible();
        return;
    }
    moveTo(at, true);
}

void DocumentView::mouseReleaseEvent(QMouseEvent* event)
{
    scrollTimer_.stop();
    if (event->button() == Qt::LeftButton && press_ == Press::MaybeDrag)
        moveTo(positionAt(event->position().toPoint()), false);
    press_ = Press::None;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

// ---- Drag and drop -------------------------------------------------------------------------------

void DocumentView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    dropCaret_ = positionAt(event->position().toPoint());
    viewport()->update();
}

void DocumentView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    lastMouse_ = event->position().toPoint();
    dropCaret_ = positionAt(lastMouse_);
    if (event->source() == this && event->dropAction() == Qt::MoveAction) {
        const Selection selection = session_.selection();
        if (*dropCaret_ > selection.start() && *dropCaret_ < selection.end()) {
            event->ignore();
            viewport()->update();
            return;
        }
    }
    event->acceptProposedAction();
    viewport()->update();
}

void DocumentView::dragLeaveEvent(QDragLeaveEvent*)
{
    dropCaret_.reset();
    viewport()->update();
}

void DocumentView::dropEvent(QDropEvent* event)
{
    dropCaret_.reset();
    viewport()->update();
    const qsizetype target = positionAt(event->position().toPoint());
    const Selection selection = session_.selection();
    if (event->source() == this && event->dropAction() == Qt::MoveAction && !selection.isEmpty()) {
        event->acceptProposedAction();
        if (target > selection.start() && target < selection.end())
            return;
        moveSelectionTo(target);
        return;
    }
    event->acceptProposedAction();
    setFocus();
    session_.select(target, target);
    paste(event->mimeData(), UndoPolicy::Undoable);
}

void DocumentView::moveSelectionTo(qsizetype target)
{
    // Text dragged within the editor moves as one undo step, its marks
    // with it.
    const Selection selection = session_.selection();
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
}

} // namespace pel
