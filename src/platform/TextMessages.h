#pragma once
#include <QString>

#include "platform/TextEncoding.h"

namespace pel {

// "「€」(U+20AC)": the character at `index` of `text` (a surrogate pair
// counts as one) as the messages name it. A character that shows nothing
// is named by its number alone ("(U+00A0)"); a stand-in by the byte it
// stands for ("「バイト 80」") when `standInByte` gives it.
QString describeCharacter(const QString& text, qsizetype index, int standInByte = -1);

// A document character the code page cannot hold: which one, and where
// (line and column counted from 1), so the user can find it.
QString unsavableCharacterMessage(const QString& text, qsizetype index);
// The same for a document in `encoding` (named as the status bar names it).
QString unsavableCharacterMessage(const QString& text, qsizetype index, TextEncoding encoding);

// A phrase character the code page cannot hold; nothing is registered.
QString unregistrableCharacterMessage(const QString& text, qsizetype index);

// A typed or stored value that should have been a whole number.
QString notAnIntegerMessage(const QString& text);

} // namespace pel
