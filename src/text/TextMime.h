#pragma once
#include "platform/Cp932.h"

#include <QString>

#include <optional>

class QMimeData;

namespace pel {

class DocumentSession;

// Text as the clipboard and drag and drop carry it. Inside the program a
// copy keeps its code marks (a private format beside the plain text);
// outside it, a stand-in for an unreadable byte is the replacement
// character.
QMimeData* mimeFromSelection(const DocumentSession& session);

struct MimeText {
    QString text;     // line breaks as '\n'
    CodeMarks marks;
};
// Nothing when the data holds no text.
std::optional<MimeText> textFromMime(const QMimeData* data);

// Text coming in from outside with every kind of line break (CR LF, CR,
// LF, U+2028, U+2029) as '\n'.
QString withNewlines(QString text);

} // namespace pel
