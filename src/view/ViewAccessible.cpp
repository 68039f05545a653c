#include "view/ViewAccessible.h"

#include "view/DocumentView.h"

#include <QScrollBar>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace pel {

namespace {

// How much text around an offset is looked at for words and sentences.
constexpr int kAround = 2048;

QAccessibleInterface* makeInterface(const QString&, QObject* object)
{
    if (auto* view = qobject_cast<DocumentView*>(object))
        return new ViewAccessible(view);
    return nullptr;
}

} // namespace

ViewAccessible::ViewAccessible(DocumentView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

void ViewAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&makeInterface);
        return true;
    }();
    (void)installed;
}

DocumentView* ViewAccessible::view() const { return static_cast<DocumentView*>(widget()); }

void* ViewAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State ViewAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString ViewAccessible::text(QAccessible::Text kind) const
{
    // The value is the caret's line; the whole text is read by ranges.
    if (kind == QAccessible::Value) {
        int start = 0;
        int end = 0;
        return textAtOffset(cursorPosition(), QAccessible::LineBoundary, &start, &end);
    }
    return QAccessibleWidget::text(kind);
}

void ViewAccessible::selection(int index, int* start, int* end) const
{
    const Selection selection = view()->session().selection();
    *start = *end = 0;
    if (index == 0 && !selection.isEmpty()) {
        *start = int(selection.start());
        *end = int(selection.end());
    }
}

int ViewAccessible::selectionCount() const { return view()->session().selection().isEmpty() ? 0 : 1; }

void ViewAccessible::addSelection(int start, int end) { setSelection(0, start, end); }

void ViewAccessible::removeSelection(int index)
{
    if (index == 0)
        setCursorPosition(cursorPosition());
}

void ViewAccessible::setSelection(int index, int start, int end)
{
    if (index != 0)
        return;
    const qsizetype length = view()->session().document().length();
    view()->session().select(std::clamp<qsizetype>(start, 0, length), std::clamp<qsizetype>(end, 0, length));
}

int ViewAccessible::cursorPosition() const { return int(view()->session().selection().position); }

void ViewAccessible::setCursorPosition(int position) { setSelection(0, position, position); }

QString ViewAccessible::text(int start, int end) const
{
    const TextDocument& document = view()->session().document();
    start = std::clamp(start, 0, int(document.length()));
    end = std::clamp(end, start, int(document.length()));
    return document.text(start, end - start);
}

int ViewAccessible::characterCount() const { return int(view()->session().document().length()); }

QRect ViewAccessible::characterRect(int offset) const
{
    const QRect caret = view()->caretRect(offset);
    const QRect next = view()->caretRect(offset + 1);
    const int width = next.top() == caret.top() ? std::max(1, next.left() - caret.left()) : 1;
    return QRect(view()->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height()));
}

int ViewAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint at = view()->viewport()->mapFromGlobal(point);
    return view()->viewport()->rect().contains(at) ? int(view()->positionAt(at)) : -1;
}

void ViewAccessible::scrollToSubstring(int start, int)
{
    view()->scrollToDisplayLine(view()->displayLineAt(start).number);
}

QString ViewAccessible::attributes(int offset, int* start, int* end) const
{
    *start = offset;
    *end = offset;
    return {};
}

QString ViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const
{
    const TextDocument& document = view()->session().document();
    const int length = int(document.length());
    offset = std::clamp(offset, 0, length);
    *start = *end = -1;
    if (boundary == QAccessible::NoBoundary) {
        *start = 0;
        *end = length;
        return text(0, length);
    }
    const int line = document.lineAt(offset);
    const int lineStart = int(document.lineStart(line));
    const int lineEnd = lineStart + int(document.lineLength(line));
    if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
        // A line with its break, as the toolkit's own editors give it.
        *start = lineStart;
        *end = std::min(length, lineEnd + 1);
        return text(*start, *end);
    }
    const int from = std::max(lineStart, offset - kAround);
    const int to = std::min(lineEnd, offset + kAround);
    const QString around = text(from, to);
    const auto type = boundary == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                      : boundary == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                               : QTextBoundaryFinder::Sentence;
    QTextBoundaryFinder finder(type, around);
    finder.setPosition(offset - from);
    const qsizetype before = finder.isAtBoundary() ? finder.position() : finder.toPreviousBoundary();
    finder.setPosition(offset - from);
    const qsizetype after = finder.toNextBoundary();
    *start = from + int(std::max<qsizetype>(0, before));
    *end = after < 0 ? to : from + int(after);
    if (offset == lineEnd && offset < length) {
        *start = offset;
        *end = offset + 1;   // the line break
    }
    return text(*start, *end);
}

QString ViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const
{
    int at = 0;
    int atEnd = 0;
    textAtOffset(offset, boundary, &at, &atEnd);
    if (at <= 0) {
        *start = *end = -1;
        return {};
    }
    return textAtOffset(at - 1, boundary, start, end);
}

QString ViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const
{
    int at = 0;
    int atEnd = 0;
    textAtOffset(offset, boundary, &at, &atEnd);
    if (atEnd >= characterCount()) {
        *start = *end = -1;
        return {};
    }
    return textAtOffset(atEnd, boundary, start, end);
}

} // namespace pel
