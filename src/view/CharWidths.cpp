#include "view/CharWidths.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace pel {

qreal CharWidths::advanceAt(char32_t c, qreal x) const
{
    if (c != u'\t')
        return advance(c);
    // The next tab stop strictly to the right, as the text layout places it.
    const qreal stop = tabStop();
    return stop <= 0 ? 0 : (std::floor(x / stop) + 1) * stop - x;
}

FontWidths::FontWidths(const QFont& font, qreal tabStop, const QPaintDevice* device)
    : metrics_(font, device), tabStop_(tabStop), basic_(0x10000, -1.0f)
{
}

void FontWidths::setFont(const QFont& font, qreal tabStop)
{
    metrics_ = QFontMetricsF(font);
    tabStop_ = tabStop;
    std::fill(basic_.begin(), basic_.end(), -1.0f);
    others_.clear();
}

qreal FontWidths::measure(char32_t c) const
{
    if (c == kStandInChar)
        c = kStandInRoom;
    return metrics_.horizontalAdvance(QString::fromUcs4(&c, 1));
}

qreal FontWidths::advance(char32_t c) const
{
    if (c < 0x10000) {
        float& known = basic_[c];
        if (known < 0)
            known = float(measure(c));
        return known;
    }
    auto found = others_.constFind(c);
    if (found == others_.constEnd())
        found = others_.insert(c, float(measure(c)));
    return *found;
}

} // namespace pel
