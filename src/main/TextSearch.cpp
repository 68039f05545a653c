#include "main/TextSearch.h"

#include "platform/LineBreaks.h"

namespace pel {

namespace {

bool hasLineBreak(QStringView s)
{
    return s.contains(u'\n') || s.contains(u'\r');
}

// A match at [at, at + length) keeps every character whole.
bool onCharacterBoundaries(QStringView text, qsizetype at, qsizetype length)
{
    auto splitsPair = [&text](qsizetype i) {
        return i > 0 && i < text.size() && text.at(i - 1).isHighSurrogate() && text.at(i).isLowSurrogate();
    };
    return !splitsPair(at) && !splitsPair(at + length);
}

} // namespace

qsizetype TextSearch::indexOf(QStringView text, QStringView needle, qsizetype from)
{
    if (needle.isEmpty() || from < 0)
        return -1;
    for (qsizetype at = text.indexOf(needle, from, Qt::CaseSensitive); at >= 0;
         at = text.indexOf(needle, at + 1, Qt::CaseSensitive)) {
        if (onCharacterBoundaries(text, at, needle.size()))
            return at;
    }
    return -1;
}

qsizetype TextSearch::lastIndexOf(QStringView text, QStringView needle, qsizetype from)
{
    if (needle.isEmpty() || from < 0)
        return -1;
    from = qMin(from, text.size() - needle.size());
    for (qsizetype at = from < 0 ? -1 : text.lastIndexOf(needle, from, Qt::CaseSensitive); at >= 0;
         at = at == 0 ? -1 : text.lastIndexOf(needle, at - 1, Qt::CaseSensitive)) {
        if (onCharacterBoundaries(text, at, needle.size()))
            return at;
    }
    return -1;
}

qsizetype TextSearch::findDown(QStringView text, QStringView needle, qsizetype lineStart)
{
    if (hasLineBreak(needle))
        return -1;
    return indexOf(text, needle, lineStart);
}

qsizetype TextSearch::findUp(QStringView text, QStringView needle, qsizetype lineEnd)
{
    if (hasLineBreak(needle))
        return -1;
    return lastIndexOf(text, needle, lineEnd - 1);
}

TextSearch::Match TextSearch::findInDocument(QStringView text, QStringView typed)
{
    // A lone CR or LF typed without its partner would match half of a CR LF.
    const qsizetype breaks = typed.count(u"\r\n");
    if (typed.count(u'\r') != breaks || typed.count(u'\n') != breaks)
        return {};
    const QString needle = lineBreaks::toEditor(typed.toString());
    const qsizetype at = indexOf(text, needle);
    if (at < 0)
        return {};
    return {at, needle.size()};
}

} // namespace pel
