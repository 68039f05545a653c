#include "platform/TextMessages.h"

namespace pel {

QString describeCharacter(const QString& text, qsizetype index)
{
    const QChar c = text.at(index);
    const bool pair = c.isHighSurrogate() && index + 1 < text.size();
    const QString character = pair ? text.mid(index, 2) : QString(c);
    const uint code = pair ? QChar::surrogateToUcs4(c, text.at(index + 1)) : c.unicode();
    return QStringLiteral("「%1」(U+%2)")
        .arg(character, QString::number(code, 16).toUpper().rightJustified(4, u'0'));
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
