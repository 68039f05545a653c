#pragma once
#include <QString>

// Line breaks between the editor and everything outside it. Files, the
// clipboard of other programs and the editor port speak CR LF; the editor
// takes '\n' for a break it is given and reports its breaks as paragraph
// (U+2029) and line (U+2028) separators.
namespace pel::lineBreaks {

// Every CR LF as the editor's single '\n'; a lone CR or LF stays as it is.
QString toEditor(QString text);
// Every break the editor reports (U+2029, U+2028) as CR LF; a lone CR or LF
// stays as it is.
QString toFile(QString text);
// Every break the editor reports as '\n', so the text has one character per
// editor position.
QString toNewlines(QString text);

} // namespace pel::lineBreaks
