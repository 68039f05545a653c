#pragma once
#include <QColor>
#include <QFont>
#include <QString>

class QPrinter;

namespace pel {

// Prints a plain-text document as one job over the whole printable area of
// each page, in the editor's font and text colour. Long lines wrap at the
// page edge whatever the editor shows (at word ends, or anywhere for a
// document with a word too long for that); the printer's page range, if it
// has one, limits the pages.
class DocumentPrinter {
public:
    // `screenDpi` is the resolution the editor's font is sized for.
    DocumentPrinter(const QFont& font, const QColor& textColour, int screenDpi, bool breakAnywhere = false);

    enum class Outcome { Printed, NoPages, Failed };
    // NoPages (and no job) when the printer's page range lies wholly past
    // the document's end; Failed when the job could not be started or a
    // page not begun.
    // `text` has '\n' for its line breaks.
    Outcome print(const QString& text, QPrinter& printer) const;

private:
    QFont font_;
    QColor textColour_;
    bool breakAnywhere_;
};

} // namespace pel
