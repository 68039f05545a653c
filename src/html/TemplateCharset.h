#pragma once
#include <QString>

#include "platform/TextEncoding.h"

namespace pel::html {

// A template's character-set declaration ("charset=Shift_JIS", also in
// the spellings Shift-JIS, x-sjis, SJIS, Windows-31J) as it goes into a
// document in `encoding`: a page saved as UTF-8 must not claim to be
// Shift_JIS. In a code page 932 document the text stays as it is; so does
// everything but the declared name.
QString withDocumentCharset(const QString& text, TextEncoding encoding);

} // namespace pel::html
