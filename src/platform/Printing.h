#pragma once
#include <QString>

class QPrinter;

namespace pel {

// The program's one printer. The printer set-up dialog changes it and every
// print job (the document, the picture) goes through it, so the user's
// choice of printer, paper and orientation holds for all later printing.
// With no printer installed it prints to a PDF file.
QPrinter& sharedPrinter();

// With no printer installed, output goes to a PDF file: name one after the
// document (beside it, or in the home folder for an unnamed document) so the
// print dialog offers it. Does nothing when printing goes to a printer.
void preparePdfFallback(QPrinter& printer, const QString& documentPath);

// The error text for a print job that could not be started or finished.
QString printFailureMessage(const QPrinter& printer);

} // namespace pel
