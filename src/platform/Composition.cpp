#include "platform/Composition.h"

#include <QTextCharFormat>

#include <algorithm>
#include <vector>

namespace pel {

CompositionColours compositionColours(CompositionPart part)
{
    switch (part) {
    case CompositionPart::Input:
        return {Qt::blue, Qt::white, true};
    case CompositionPart::TargetConverted:
        return {Qt::cyan, Qt::blue, false};
    case CompositionPart::Converted:
        return {Qt::blue, Qt::cyan, true};
    }
    return {};
}

namespace {

// The clause an input method singles out: it gives it colours of its own
// where the rest of the composition has only an underline.
bool singledOut(const QInputMethodEvent::Attribute& attribute)
{
    if (attribute.type != QInputMethodEvent::TextFormat || attribute.length <= 0)
        return false;
    const QTextCharFormat format = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
    return format.hasProperty(QTextFormat::BackgroundBrush) || format.hasProperty(QTextFormat::ForegroundBrush);
}

QInputMethodEvent::Attribute styled(qsizetype from, qsizetype to, CompositionPart part)
{
    const CompositionColours colours = compositionColours(part);
    QTextCharFormat format;
    format.setForeground(colours.text);
    format.setBackground(colours.background);
    format.setUnderlineStyle(colours.underline ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    return {QInputMethodEvent::TextFormat, int(from), int(to - from), format};
}

} // namespace

QList<QInputMethodEvent::Attribute> restyleComposition(qsizetype length,
                                                       const QList<QInputMethodEvent::Attribute>& attributes)
{
    if (length <= 0)
        return attributes;
    QList<QInputMethodEvent::Attribute> restyled;
    std::vector<bool> target(size_t(length), false);
    bool converting = false;
    for (const QInputMethodEvent::Attribute& attribute : attributes) {
        if (attribute.type != QInputMethodEvent::TextFormat) {
            restyled << attribute;
            continue;
        }
        if (!singledOut(attribute))
            continue;
        const qsizetype from = std::clamp<qsizetype>(attribute.start, 0, length);
        const qsizetype to = std::clamp<qsizetype>(qsizetype(attribute.start) + attribute.length, from, length);
        std::fill(target.begin() + from, target.begin() + to, true);
        converting = converting || from < to;
    }
    // One format per run of characters of the same part.
    const auto partAt = [&](qsizetype i) {
        return !converting ? CompositionPart::Input
               : target[size_t(i)] ? CompositionPart::TargetConverted
                                   : CompositionPart::Converted;
    };
    qsizetype from = 0;
    for (qsizetype i = 1; i <= length; ++i) {
        if (i == length || partAt(i) != partAt(from)) {
            restyled << styled(from, i, partAt(from));
            from = i;
        }
    }
    return restyled;
}

} // namespace pel
