#pragma once
#include <QColor>
#include <QFont>

class QPrinter;

namespace pel {

class TextDocument;

// Prints a document as one job over the whole printable area of each page,
// in the editor's font and text colour. Long lines wrap at the page edge
// whatever the editor shows, as the editor wraps them; the printer's page
// range, if it has one, limits the pages.
class DocumentPrinter {
public:
    // `screenDpi` is the resolution the editor's font is sized for.
    DocumentPrinter(const QFont& font, const QColor& textColour, int screenDpi);

    enum class Outcome { Printed, NoPages, Failed };
    // NoPages (and no job) when the printer's page range lies wholly past
    // the document's end; Failed when the job could not be started or a
    // page not begun.
    Outcome print(const TextDocument& document, QPrinter& printer) const;

private:
    QFont font_;
    QColor textColour_;
};

} // namespace pel
