#include "main/DocumentPrinter.h"

#include "platform/Fonts.h"
#include "text/TextDocument.h"
#include "view/DisplayLayout.h"

#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace pel {

namespace {

// The font with a pixel size turned into points, so it keeps its size on a
// device of another resolution (a printer).
QFont fontInPoints(const QFont& font, int dpi)
{
    QFont result = font;
    if (font.pointSizeF() <= 0 && font.pixelSize() > 0)
        result.setPointSizeF(pel::pixelsToPoints(font.pixelSize(), dpi));
    result.setStyleStrategy(QFont::StyleStrategy(result.styleStrategy() | QFont::PreferNoShaping));
    result.setKerning(false);
    return result;
}

} // namespace

DocumentPrinter::DocumentPrinter(const QFont& font, const QColor& textColour, int screenDpi)
    : font_(fontInPoints(font, screenDpi)), textColour_(textColour)
{
}

DocumentPrinter::Outcome DocumentPrinter::print(const TextDocument& document, QPrinter& printer) const
{
    // Tab stops as far apart as on the screen, in the printer's resolution.
    const qreal tabStop = 80.0 * printer.logicalDpiX() / 96.0;
    const FontWidths widths(font_, tabStop, &printer);
    DisplayLayout lines(document, widths);
    lines.setWrapWidth(std::max(1, printer.width()));
    // Every line laid out first, so the pages are counted.
    for (int shown = 0; shown < lines.displayLineCount(); ++shown)
        lines.place(shown);
    QTextLayout sample(QStringLiteral("Wgあ漢"), font_, &printer);
    sample.beginLayout();
    const qreal lineHeight = std::ceil(sample.createLine().height());
    sample.endLayout();
    const int perPage = std::max(1, int(printer.height() / lineHeight));
    const int pages = std::max(1, (lines.displayLineCount() + perPage - 1) / perPage);
    int first = 1;
    int last = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pages, printer.toPage() > 0 ? printer.toPage() : pages);
    }
    if (first > last)
        return Outcome::NoPages;
    QPainter painter;
    if (!painter.begin(&printer))
        return Outcome::Failed;
    painter.setPen(textColour_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabStop);
    for (int number = first; number <= last; ++number) {
        if (number > first && !printer.newPage()) {
            painter.end();
            return Outcome::Failed;
        }
        const int top = (number - 1) * perPage;
        for (int row = 0; row < perPage && top + row < lines.displayLineCount(); ++row) {
            const DisplayLayout::Place place = lines.place(top + row);
            QTextLayout line(document.text(place.shown.start, place.shown.length), font_, &printer);
            line.setTextOption(option);
            line.beginLayout();
            line.createLine();
            line.endLayout();
            line.draw(&painter, QPointF(0, row * lineHeight));
        }
    }
    return painter.end() ? Outcome::Printed : Outcome::Failed;
}

} // namespace pel
