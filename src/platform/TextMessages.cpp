#include "platform/TextMessages.h"

namespace pel {

namespace {

// Characters that show nothing (or nothing recognisable) between quotes.
bool isInvisible(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return code == QChar::ObjectReplacementCharacter;
    }
}

} // namespace

QString describeCharacter(const QString& text, qsizetype index, int standInByte)
{
    const QChar c = text.at(index);
    const bool pair = c.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate();
    const char32_t code = pair ? QChar::surrogateToUcs4(c, text.at(index + 1)) : c.unicode();
    const QString number = QStringLiteral("(U+%1)").arg(QString::number(code, 16).toUpper().rightJustified(4, u'0'));
    // A stand-in is shown as the byte it stands for; one that stands for
    // no known byte is named, never put between quotes.
    if (c == QChar::ObjectReplacementCharacter) {
        if (standInByte >= 0)
            return QStringLiteral("「バイト %1」").arg(QString::number(standInByte & 0xFF, 16).toUpper().rightJustified(2, u'0'));
        return QStringLiteral("「文字ではないバイト」") + number;
    }
    if (isInvisible(code))
        return number;
    return QStringLiteral("「%1」").arg(pair ? text.mid(index, 2) : QString(c)) + number;
}

QString unsavableCharacterMessage(const QString& text, qsizetype index)
{
    return unsavableCharacterMessage(text, index, TextEncoding::Cp932);
}

QString unsavableCharacterMessage(const QString& text, qsizetype index, TextEncoding encoding)
{
    const QString name = encoding == TextEncoding::Cp932 ? QStringLiteral("Shift-JIS") : textEncodingName(encoding);
    const qsizetype lineStart = text.lastIndexOf(u'\n', index - 1) + 1;
    const qsizetype line = text.left(index).count(u'\n') + 1;
    const qsizetype column = index - lineStart + 1;
    return QStringLiteral("%1行目の%2文字目の文字%3 は%4で保存できません｡\n"
                          "この文字を削除するか置き換えてから保存してください｡ファイルは変更されていません｡")
        .arg(line)
        .arg(column)
        .arg(describeCharacter(text, index), name);
}

QString unregistrableCharacterMessage(const QString& text, qsizetype index)
{
    return QStringLiteral("文字%1 はShift-JISで保存できないため登録できません｡\n"
                          "この文字を削除するか置き換えてから登録してください｡")
        .arg(describeCharacter(text, index));
}

QString notAnIntegerMessage(const QString& text)
{
    return QStringLiteral("'%1' は整数ではありません").arg(text);
}

} // namespace pel
