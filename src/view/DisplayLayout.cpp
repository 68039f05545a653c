#include "view/DisplayLayout.h"

#include "text/TextDocument.h"

#include <QChar>

#include <algorithm>
#include <iterator>

namespace pel {

namespace {

bool isSpace(char32_t c) { return c == u' ' || c == u'\t'; }

bool isMark(char32_t c)
{
    if (c < 0x300)
        return false;
    const auto category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

// Characters that wrap anywhere around them: kana, kanji, full-width forms.
bool isWide(char32_t c)
{
    return (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF)
        || (c >= 0x20000 && c <= 0x3FFFF);
}

// The characters of `list`, for a lookup per character.
std::vector<bool> charSet(std::u16string_view list)
{
    std::vector<bool> set(0x10000);
    for (char16_t c : list)
        set[c] = true;
    return set;
}

// Never at the start of a display line: closing brackets, stops, small kana.
bool closes(char32_t c)
{
    static const std::vector<bool> closing = charSet(
        u"、。，．・：；？！゛゜ヽヾゝゞ々ー’”）〕］｝〉》」』】〙〗ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ"
        u"ㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ)]},.;:!?｡｣､･ｧｨｩｪｫｬｭｮｯｰﾞﾟ");
    return c < 0x10000 && closing[c];
}

// Never at the end of a display line: opening brackets.
bool opens(char32_t c)
{
    static const std::vector<bool> opening = charSet(u"‘“（〔［｛〈《「『【〘〖([{｢");
    return c < 0x10000 && opening[c];
}

bool breaksBetween(char32_t before, char32_t after)
{
    if (isSpace(before)) {
        if (isSpace(after))
            return false;
    } else if (!isWide(before) && !isWide(after)) {
        return false;
    }
    return !isMark(after) && !closes(after) && !opens(before);
}

} // namespace

// Reads the document forward (and a little back) a block at a time.
class DisplayLayout::Reader {
public:
    explicit Reader(const TextDocument& document) : document_(document) {}

    QChar at(qsizetype position)
    {
        if (position < from_ || position >= from_ + text_.size()) {
            from_ = std::max<qsizetype>(0, position - kBack);
            text_ = document_.text(from_, std::min(kBlock, document_.length() - from_));
        }
        return text_.at(position - from_);
    }
    // The character at `position` and how many positions it takes.
    char32_t codeAt(qsizetype position, qsizetype end, int* units)
    {
        const QChar c = at(position);
        *units = 1;
        if (c.isHighSurrogate() && position + 1 < end) {
            const QChar low = at(position + 1);
            if (low.isLowSurrogate()) {
                *units = 2;
                return QChar::surrogateToUcs4(c, low);
            }
        }
        return c.unicode();
    }

private:
    static constexpr qsizetype kBlock = 1 << 16;
    static constexpr qsizetype kBack = 1 << 12;
    const TextDocument& document_;
    QString text_;
    qsizetype from_ = 0;
};

DisplayLayout::DisplayLayout(const TextDocument& document, const CharWidths& widths)
    : document_(document), widths_(widths)
{
    reset();
}

void DisplayLayout::setWrapWidth(qreal width)
{
    width = std::max<qreal>(width, 0);
    if (width == wrapWidth_)
        return;
    wrapWidth_ = width;
    reset();
}

void DisplayLayout::reset()
{
    kept_.clear();
    extras_.clear();
    indexed_ = false;
    widest_ = 0;
    lineCount_ = document_.lineCount();
}

// ---- Laying a line out -------------------------------------------------------

qsizetype DisplayLayout::wrapEnd(Reader& text, qsizetype start, qsizetype end, qreal* width) const
{
    qreal x = 0;
    qsizetype breakAt = -1;
    qreal breakX = 0;
    char32_t before = 0;
    int units = 1;
    for (qsizetype at = start; at < end; at += units) {
        const char32_t c = text.codeAt(at, end, &units);
        if (at > start && breaksBetween(before, c)) {
            breakAt = at;
            breakX = x;
        }
        const qreal advance = widths_.advanceAt(c, x);
        // Spaces may hang past the edge; marks stay with their letter.
        if (at > start && x + advance > wrapWidth_ && !isSpace(c) && !isMark(c)) {
            if (breakAt > start) {
                *width = breakX;
                return breakAt;
            }
            *width = x;
            return at;
        }
        x += advance;
        before = c;
    }
    *width = x;
    return end;
}

qsizetype DisplayLayout::pieceEnd(Reader& text, qsizetype start, qsizetype end, qreal* width) const
{
    qreal x = 0;
    qsizetype at = start;
    int units = 1;
    for (; at < end; at += units) {
        const char32_t c = text.codeAt(at, end, &units);
        // A piece ends before a letter, never between a letter and its mark.
        if (at - start >= kPiece && !isMark(c))
            break;
        x += widths_.advanceAt(c, x);
    }
    *width = x;
    return at;
}

std::vector<DisplayLayout::Segment> DisplayLayout::segmentsOf(Reader& text, qsizetype lineStart, qsizetype from,
                                                               qsizetype to) const
{
    std::vector<Segment> segments;
    qsizetype start = from;
    do {
        qreal width = 0;
        const qsizetype end = wraps() ? wrapEnd(text, start, to, &width) : pieceEnd(text, start, to, &width);
        segments.push_back({start - lineStart, width});
        start = end;
    } while (start < to);
    return segments;
}

bool DisplayLayout::keeps(const std::vector<Segment>& segments, qsizetype length) const
{
    return length >= kLongLine || (wraps() && segments.size() > 1);
}

const DisplayLayout::Line* DisplayLayout::layout(int line)
{
    const auto found = kept_.find(line);
    if (found != kept_.end())
        return &found->second;
    const qsizetype length = document_.lineLength(line);
    if (!wraps() && length < kLongLine)
        return nullptr;
    const qsizetype start = document_.lineStart(line);
    Reader text(document_);
    std::vector<Segment> segments = segmentsOf(text, start, start, start + length);
    if (!keeps(segments, length))
        return nullptr;
    indexed_ = false;
    Line& kept = kept_[line];
    kept.segments = std::move(segments);
    return &kept;
}

qreal DisplayLayout::lineWidth(int line)
{
    const Line* kept = layout(line);
    if (kept && !wraps()) {
        qreal width = 0;
        for (const Segment& segment : kept->segments)
            width += segment.width;
        return width;
    }
    const qsizetype start = document_.lineStart(line);
    const qsizetype end = start + document_.lineLength(line);
    Reader text(document_);
    qreal x = 0;
    int units = 1;
    for (qsizetype at = start; at < end; at += units)
        x += widths_.advanceAt(text.codeAt(at, end, &units), x);
    return x;
}

// ---- Edits -------------------------------------------------------------------

void DisplayLayout::update(qsizetype from, qsizetype removed, qsizetype added)
{
    const int first = document_.lineAt(from);
    const int addedBreaks = document_.lineAt(from + added) - first;
    const int lineCount = document_.lineCount();
    const int removedBreaks = lineCount_ + addedBreaks - lineCount;
    lineCount_ = lineCount;
    indexed_ = false;
    if (addedBreaks == 0 && removedBreaks == 0) {
        if (kept_.contains(first))
            updateInLine(first, from - document_.lineStart(first), removed, added);
        return;
    }
    // The changed lines are laid out again when next looked at; the lines
    // behind them move.
    const int shift = addedBreaks - removedBreaks;
    std::map<int, Line> moved;
    for (auto it = kept_.begin(); it != kept_.end();) {
        auto node = kept_.extract(it++);
        if (node.key() < first)
            moved.insert(moved.end(), std::move(node));
        else if (node.key() > first + removedBreaks) {
            node.key() += shift;
            moved.insert(moved.end(), std::move(node));
        }
    }
    kept_ = std::move(moved);
}

// An edit within one kept line: only the segments it touches are laid out
// again, and wrapping goes on only until it meets a break that was there
// before.
void DisplayLayout::updateInLine(int line, qsizetype offset, qsizetype removed, qsizetype added)
{
    Line& kept = kept_[line];
    std::vector<Segment>& old = kept.segments;
    const qsizetype lineStart = document_.lineStart(line);
    const qsizetype length = document_.lineLength(line);
    const qsizetype delta = added - removed;
    const auto startsAfter = [&](qsizetype offset) {
        return std::upper_bound(old.begin(), old.end(), offset,
                                [](qsizetype at, const Segment& segment) { return at < segment.start; });
    };
    // The segment the edit begins in (wrapping: the one before it too, whose
    // last word may now fit).
    auto begin = std::prev(startsAfter(offset));
    if (wraps() && begin != old.begin())
        --begin;
    // The old segments from the first one wholly behind the edit.
    auto rest = startsAfter(offset + removed);
    Reader text(document_);
    std::vector<Segment> fresh;
    if (!wraps()) {
        // Pieces from the touched one up to the first one behind the edit.
        const qsizetype to = rest != old.end() ? rest->start + delta : length;
        if (to > begin->start)
            fresh = segmentsOf(text, lineStart, lineStart + begin->start, lineStart + to);
    } else {
        const qsizetype editEnd = offset + added;
        int rewrapped = 0;
        for (qsizetype start = begin->start;;) {
            qreal width = 0;
            const qsizetype next = wrapEnd(text, lineStart + start, lineStart + length, &width) - lineStart;
            fresh.push_back({start, width});
            start = next;
            if (start >= length) {
                rest = old.end();
                break;
            }
            if (start < editEnd)
                continue;
            // Past the edit: done where a break from before, moved by the
            // edit, is met again.
            while (rest != old.end() && rest->start + delta < start)
                ++rest;
            if (rest != old.end() && rest->start + delta == start)
                break;
            if (++rewrapped >= rewrapLimit_ && rest != old.end()) {
                // Far enough past the edit: this display line ends early,
                // where the old wrapping goes on.
                const qsizetype to = rest->start + delta;
                fresh.push_back({start, width});
                wrapEnd(text, lineStart + start, lineStart + to, &fresh.back().width);
                break;
            }
        }
    }
    // In place: the segments behind the edit move by it.
    for (auto it = rest; it != old.end(); ++it)
        it->start += delta;
    old.insert(old.erase(begin, rest), fresh.begin(), fresh.end());
    if (!keeps(old, length)) {
        kept_.erase(line);
        return;
    }
    kept.lefts.clear();
}

// ---- Display lines -------------------------------------------------------------

void DisplayLayout::index()
{
    if (indexed_)
        return;
    extras_.clear();
    int before = 0;
    if (wraps()) {
        for (const auto& [line, kept] : kept_) {
            if (count(kept) == 1)
                continue;
            extras_.push_back({line, before, count(kept)});
            before += count(kept) - 1;
        }
    }
    indexed_ = true;
}

int DisplayLayout::extraBefore(int line)
{
    index();
    const auto after = std::lower_bound(extras_.begin(), extras_.end(), line,
                                        [](const Extra& extra, int line) { return extra.line < line; });
    return after == extras_.begin() ? 0 : std::prev(after)->after();
}

int DisplayLayout::displayLineCount()
{
    index();
    return lineCount_ + (extras_.empty() ? 0 : extras_.back().after());
}

DisplayLine DisplayLayout::shownOf(int line, const Line* kept, std::size_t segment) const
{
    const qsizetype start = document_.lineStart(line);
    const qsizetype length = document_.lineLength(line);
    if (!kept || !wraps())
        return {0, start, length};
    const qsizetype from = kept->segments[segment].start;
    const qsizetype to = segment + 1 < kept->segments.size() ? kept->segments[segment + 1].start : length;
    return {0, start + from, to - from};
}

DisplayLayout::Place DisplayLayout::place(int displayLine)
{
    // Laying the line found out may show that it takes more display lines
    // than counted: look again then.
    for (int attempt = 0;; ++attempt) {
        displayLine = std::clamp(displayLine, 0, std::max(0, displayLineCount() - 1));
        index();
        // The last line of several display lines that starts at or before
        // the display line.
        const auto after = std::upper_bound(extras_.begin(), extras_.end(), displayLine,
                                            [](int wanted, const Extra& extra) { return wanted < extra.firstShown(); });
        int line = displayLine;
        int segment = 0;
        if (after != extras_.begin()) {
            const Extra& extra = *std::prev(after);
            if (displayLine < extra.firstShown() + extra.shows) {
                line = extra.line;
                segment = displayLine - extra.firstShown();
            } else {
                line = displayLine - extra.after();
            }
        }
        const quint64 before = kept_.size();
        const Line* kept = layout(line);
        if (kept_.size() != before && attempt < 3)
            continue;
        Place result;
        result.line = line;
        result.shown = shownOf(line, kept, std::size_t(segment));
        result.shown.number = displayLine;
        result.endsLine = !kept || !wraps() || segment + 1 == int(kept->segments.size());
        return result;
    }
}

DisplayLayout::Place DisplayLayout::placeOf(qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, document_.length());
    const int line = document_.lineAt(position);
    const Line* kept = layout(line);
    std::size_t segment = 0;
    if (kept && wraps()) {
        const qsizetype offset = position - document_.lineStart(line);
        const auto after = std::upper_bound(kept->segments.begin(), kept->segments.end(), offset,
                                            [](qsizetype at, const Segment& s) { return at < s.start; });
        segment = std::size_t(std::distance(kept->segments.begin(), after) - 1);
    }
    Place result;
    result.line = line;
    result.shown = shownOf(line, kept, segment);
    result.shown.number = line + extraBefore(line) + int(segment);
    result.endsLine = !kept || !wraps() || segment + 1 == kept->segments.size();
    return result;
}

std::vector<DisplayLayout::Run> DisplayLayout::runs(const Place& place, qreal left, qreal right)
{
    const auto found = wraps() ? kept_.end() : kept_.find(place.line);
    if (found == kept_.end())
        return {{place.shown.start, place.shown.length, 0}};
    Line& kept = found->second;
    lefts(kept);
    const auto& segments = kept.segments;
    std::size_t i = std::size_t(std::distance(kept.lefts.begin(), std::upper_bound(kept.lefts.begin(), kept.lefts.end(), left)));
    i = i > 0 ? i - 1 : 0;
    std::vector<Run> result;
    for (; i < segments.size() && kept.lefts[i] < right; ++i) {
        const qsizetype end = i + 1 < segments.size() ? segments[i + 1].start : place.shown.length;
        result.push_back({place.shown.start + segments[i].start, end - segments[i].start, kept.lefts[i]});
    }
    return result;
}

const std::vector<qreal>& DisplayLayout::lefts(Line& line)
{
    if (line.lefts.empty()) {
        qreal x = 0;
        for (const Segment& segment : line.segments) {
            line.lefts.push_back(x);
            x += segment.width;
        }
        noteWidth(x);
    }
    return line.lefts;
}

DisplayLayout::Run DisplayLayout::runAt(const Place& place, qsizetype position)
{
    const auto found = wraps() ? kept_.end() : kept_.find(place.line);
    if (found == kept_.end())
        return {place.shown.start, place.shown.length, 0};
    Line& kept = found->second;
    lefts(kept);
    const qsizetype offset = position - place.shown.start;
    const auto after = std::upper_bound(kept.segments.begin(), kept.segments.end(), offset,
                                        [](qsizetype at, const Segment& s) { return at < s.start; });
    const std::size_t i = std::size_t(std::max<std::ptrdiff_t>(0, std::distance(kept.segments.begin(), after) - 1));
    const qsizetype end = i + 1 < kept.segments.size() ? kept.segments[i + 1].start : place.shown.length;
    return {place.shown.start + kept.segments[i].start, end - kept.segments[i].start, kept.lefts[i]};
}

} // namespace pel
