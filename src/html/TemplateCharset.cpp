#include "html/TemplateCharset.h"

#include <QRegularExpression>

namespace pel::html {

QString withDocumentCharset(const QString& text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Cp932 || !text.contains(QLatin1String("charset"), Qt::CaseInsensitive))
        return text;
    static const QRegularExpression declaration(
        QStringLiteral(R"((charset\s*=\s*["']?)(shift[_-]jis|x-sjis|sjis|windows-31j)(?![\w-]))"),
        QRegularExpression::CaseInsensitiveOption);
    QString result = text;
    result.replace(declaration, QStringLiteral("\\1") + htmlCharsetName(encoding));
    return result;
}

} // namespace pel::html
