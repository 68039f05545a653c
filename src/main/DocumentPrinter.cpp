#include "main/DocumentPrinter.h"

#include "platform/Fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>
#include <memory>

namespace pel {

namespace {

// The font with a pixel size turned into points, so it keeps its size on a
// device of another resolution (a printer).
QFont fontInPoints(const QFont& font, int dpi)
{
    QFont result = font;
    if (font.pointSizeF() <= 0 && font.pixelSize() > 0)
        result.setPointSizeF(pel::pixelsToPoints(font.pixelSize(), dpi));
    return result;
}

} // namespace

DocumentPrinter::DocumentPrinter(const QFont& font, const QColor& textColour, int screenDpi, bool breakAnywhere)
    : font_(fontInPoints(font, screenDpi)), textColour_(textColour), breakAnywhere_(breakAnywhere)
{
}

DocumentPrinter::Outcome DocumentPrinter::print(const QString& text, QPrinter& printer) const
{
    auto document = std::make_unique<QTextDocument>();
    document->setPlainText(text);
    document->setDefaultFont(font_);
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(breakAnywhere_ ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    layout->setPaintDevice(&printer);
    QTextFrameFormat frame = document->rootFrame()->frameFormat();
    frame.setMargin(0);
    frame.setPadding(0);
    document->rootFrame()->setFrameFormat(frame);

    const QSizeF page(printer.width(), printer.height());
    document->setPageSize(page);
    const int pages = document->pageCount();
    int first = 1;
    int last = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = qMax(1, printer.fromPage());
        last = qMin(pages, printer.toPage() > 0 ? printer.toPage() : pages);
    }
    if (first > last)
        return Outcome::NoPages;
    QPainter painter;
    if (!painter.begin(&printer))
        return Outcome::Failed;
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, textColour_);
    for (int number = first; number <= last; ++number) {
        if (number > first && !printer.newPage()) {
            painter.end();
            return Outcome::Failed;
        }
        const qreal top = (number - 1) * page.height();
        painter.save();
        painter.translate(0, -top);
        context.clip = QRectF(0, top, page.width(), page.height());
        painter.setClipRect(context.clip);
        layout->draw(&painter, context);
        painter.restore();
    }
    return painter.end() ? Outcome::Printed : Outcome::Failed;
}

} // namespace pel
