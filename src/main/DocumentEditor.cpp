#include "main/DocumentEditor.h"

#include <QAbstractTextDocumentLayout>
#include <QDataStream>
#include <QFontMetricsF>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextObjectInterface>

#include <vector>

namespace pel {

namespace {

constexpr int kCodeProperty = QTextFormat::UserProperty + 932;
constexpr int kStandInObject = QTextFormat::UserObject + 932;
constexpr char16_t kStandIn = 0xFFFC;
// Marks travel with a copy inside the program under this clipboard format.
const QString kMarksMimeType = QStringLiteral("application/x-pelmora-code-marks");

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
}

void DocumentEditor::setDocumentText(const QString& text, const CodeMarks& marks)
{
    setPlainText(text);
    document()->setUndoRedoEnabled(false);
    applyMarks(0, text, marks);
    document()->setUndoRedoEnabled(true);
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
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
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
    dropInheritedMarks();
    QPlainTextEdit::keyPressEvent(event);
}

void DocumentEditor::inputMethodEvent(QInputMethodEvent* event)
{
    dropInheritedMarks();
    QPlainTextEdit::inputMethodEvent(event);
}

} // namespace pel

#include "DocumentEditor.moc"
