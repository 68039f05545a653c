#pragma once
#include <QString>
#include <QStringView>

namespace pel {

// The text searches behind the main window's find and replace. Matching is
// exact and case-sensitive and never splits a character: neither the two
// halves of a surrogate pair nor a line break.
//
// Texts use '\n' for a line break, as the editor holds them.
class TextSearch {
public:
    // First match starting at or after `from`; -1 when there is none.
    static qsizetype indexOf(QStringView text, QStringView needle, qsizetype from = 0);
    // Last match starting at or before `from`; -1 when there is none.
    static qsizetype lastIndexOf(QStringView text, QStringView needle, qsizetype from);

    // Find, going down: the first match that starts at or after `lineStart`.
    // A search text with a line break in it never matches (lines are
    // searched without their breaks); neither does an empty one.
    static qsizetype findDown(QStringView text, QStringView needle, qsizetype lineStart);
    // Find, going up: the last match that starts before `lineEnd`.
    static qsizetype findUp(QStringView text, QStringView needle, qsizetype lineEnd);

    // Replace: the first occurrence of a typed search text in the document.
    // The document reads as its lines joined with CR LF, so a CR LF typed in
    // the search text stands for a line break; a lone CR or LF would split
    // one and never matches. The result is in editor positions (one per line
    // break) and length; position -1 when there is none.
    struct Match {
        qsizetype position = -1;
        qsizetype length = 0;
    };
    static Match findInDocument(QStringView text, QStringView typed);
};

} // namespace pel
