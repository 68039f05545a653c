#include "text/TextMime.h"

#include "text/DocumentSession.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

namespace pel {

namespace {

const QString kMarksMimeType = QStringLiteral("application/x-pelmora-code-marks");

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
        if (position < 0 || position >= text.size() || (!marks.isEmpty() && position <= marks.constLast().position))
            return false;
        marks.append({position, code});
    }
    return in.status() == QDataStream::Ok;
}

} // namespace

QString withNewlines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar& c : text) {
        if (c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u'\n';
    }
    return text;
}

QMimeData* mimeFromSelection(const DocumentSession& session)
{
    const Selection selection = session.selection();
    QString text = session.selectedTextAsIs();
    auto* mime = new QMimeData;
    const CodeMarks marks = session.document().marks(selection.start(), selection.end());
    if (!marks.isEmpty())
        mime->setData(kMarksMimeType, packMarks(text, marks));
    text.replace(QChar(QChar::ObjectReplacementCharacter), QChar(QChar::ReplacementCharacter));
    mime->setText(text);
    return mime;
}

std::optional<MimeText> textFromMime(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    MimeText result;
    if (data->hasFormat(kMarksMimeType) && unpackMarks(data->data(kMarksMimeType), result.text, result.marks))
        return result;
    if (!data->hasText())
        return std::nullopt;
    return MimeText{withNewlines(data->text()), {}};
}

} // namespace pel
