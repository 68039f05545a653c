#include "main/DocumentText.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>

namespace pel {

namespace {
// Edits up to this many characters (typing, a command's insertion) are
// patched in; a loaded file or a large paste reads the text anew.
constexpr int kPatchLimit = 64 * 1024;
} // namespace

DocumentText::DocumentText(QTextDocument* document, QObject* parent)
    : QObject(parent), document_(document)
{
    // A document reports its changes only once it has a layout.
    document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &DocumentText::contentsChange);
}

const QString& DocumentText::text()
{
    // A change of length that was never reported reads the text anew too.
    if (!valid_ || text_.size() != document_->characterCount() - 1) {
        text_ = document_->toRawText();
        valid_ = true;
    }
    return text_;
}

void DocumentText::invalidate()
{
    valid_ = false;
    text_ = QString();
}

void DocumentText::contentsChange(int position, int removed, int added)
{
    if (!valid_)
        return;
    // The document's length without its final paragraph break.
    const int length = document_->characterCount() - 1;
    if (added > kPatchLimit || removed > kPatchLimit || position < 0 || position + added > length
        || position + removed > text_.size()) {
        invalidate();
        return;
    }
    QTextCursor cursor(document_);
    cursor.setPosition(position);
    cursor.setPosition(position + added, QTextCursor::KeepAnchor);
    text_.replace(position, removed, cursor.selectedText());
    // A change reported other than it happened must never leave a stale text.
    if (text_.size() != length)
        invalidate();
}

} // namespace pel
