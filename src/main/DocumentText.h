#pragma once
#include <QObject>
#include <QString>

class QTextDocument;

namespace pel {

// A document's text as one string for searching, one character per document
// position (paragraph breaks as U+2029, as QTextDocument::toRawText gives
// them). Reading a large document out of QTextDocument costs far more than
// searching it, so the string is kept: small edits are patched in as they
// happen, anything larger makes the next use read the whole text again.
class DocumentText : public QObject {
public:
    explicit DocumentText(QTextDocument* document, QObject* parent = nullptr);

    const QString& text();

private:
    void contentsChange(int position, int removed, int added);
    void invalidate();

    QTextDocument* document_;
    QString text_;
    bool valid_ = false;
};

} // namespace pel
