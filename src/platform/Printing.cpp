#include "platform/Printing.h"

#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

namespace pel {

namespace {

std::unique_ptr<QPrinter>& printerSlot()
{
    static std::unique_ptr<QPrinter> printer;
    return printer;
}

// The print system's plugins go away with the application object; the
// printer must go before them.
void releasePrinter()
{
    printerSlot().reset();
}

bool noPrinterInstalled()
{
    return QPrinterInfo::availablePrinterNames().isEmpty();
}

} // namespace

QPrinter& sharedPrinter()
{
    std::unique_ptr<QPrinter>& printer = printerSlot();
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (noPrinterInstalled())
            printer->setOutputFormat(QPrinter::PdfFormat);
        qAddPostRoutine(releasePrinter);
    }
    return *printer;
}

void preparePdfFallback(QPrinter& printer, const QString& documentPath)
{
    if (printer.outputFormat() != QPrinter::PdfFormat || !noPrinterInstalled())
        return;
    const QFileInfo document(documentPath);
    const QString folder = documentPath.isEmpty() ? QDir::homePath() : document.absolutePath();
    const QString base = documentPath.isEmpty() ? QStringLiteral("無題") : document.completeBaseName();
    printer.setOutputFileName(QDir(folder).filePath(base + QStringLiteral(".pdf")));
}

QString printFailureMessage(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return cannotCreateMessage(QDir::toNativeSeparators(printer.outputFileName()));
    return QStringLiteral("プリンタ %1 で印刷できません｡").arg(printer.printerName());
}

} // namespace pel
