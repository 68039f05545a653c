#pragma once
#include "text/DisplayLines.h"
#include "view/CharWidths.h"

#include <QString>

#include <map>
#include <vector>

namespace pel {

class TextDocument;

// Where the document's lines are cut into the lines the view shows, worked
// out only for the lines that are looked at, and again only where an edit
// changed them.
//
// With word wrap a line breaks where the next character would pass the
// wrap width: after spaces, beside Japanese characters (not before closing
// brackets and small kana, not after opening brackets), and anywhere in a
// word too long for a line. A line never laid out counts as one display
// line until it is. Without word wrap every line is one display line; a
// long one is kept in pieces of known width, so the part in view is found
// and drawn without measuring the whole line.
class DisplayLayout {
public:
    DisplayLayout(const TextDocument& document, const CharWidths& widths);

    // Lines at least this long are kept laid out; shorter ones are laid out
    // again each time they are looked at.
    static constexpr qsizetype kLongLine = 4096;
    // Without word wrap a long line is kept in pieces about this long. A
    // tab in such a line reaches the next tab stop from its piece's start.
    static constexpr qsizetype kPiece = 1024;

    // An edit in a wrapped line wraps it again from the edit on until the
    // new breaks meet the old ones, or for at most this many display lines
    // (then one display line ends early and the old breaks go on), so a key
    // in a line of many megabytes of Japanese text costs what a short one does.
    static constexpr int kRewrapLines = 512;
    void setRewrapLimit(int displayLines) { rewrapLimit_ = displayLines; }

    // Wraps lines at `width` pixels; 0 never wraps.
    void setWrapWidth(qreal width);
    qreal wrapWidth() const { return wrapWidth_; }
    bool wraps() const { return wrapWidth_ > 0; }
    // Forgets every line's layout (a new text, another font).
    void reset();
    // The document changed: [from, from + removed) became [from, from + added).
    void update(qsizetype from, qsizetype removed, qsizetype added);

    // A display line with the document line it belongs to.
    struct Place {
        DisplayLine shown;
        int line = 0;
        bool endsLine = true;   // the last display line of its document line
    };
    int displayLineCount();
    Place place(int displayLine);
    // The display line showing `position`; a position where a line wraps
    // shows at the start of the next display line.
    Place placeOf(qsizetype position);

    // A part of a display line drawn on its own, `x` pixels from the line's
    // start. A display line is one run, but for an unwrapped long line,
    // whose runs are its pieces.
    struct Run {
        qsizetype start = 0;
        qsizetype length = 0;
        qreal x = 0;
    };
    // The runs of `place` that reach into [left, right) pixels.
    std::vector<Run> runs(const Place& place, qreal left, qreal right);
    // The run of `place` that holds `position`.
    Run runAt(const Place& place, qsizetype position);

    // How wide a line is without wrap, by its characters' advances.
    qreal lineWidth(int line);
    // The widest line measured so far without wrap.
    qreal widest() const { return widest_; }
    void noteWidth(qreal width) { widest_ = std::max(widest_, width); }

private:
    struct Segment {
        qsizetype start = 0;   // from the line's start
        qreal width = 0;
    };
    struct Line {
        std::vector<Segment> segments;
        std::vector<qreal> lefts;   // x of each segment, without wrap; empty until needed
    };
    class Reader;

    // The line's layout when it is kept (a long line, or one wrapped into
    // several display lines); null when it is one plain display line.
    const Line* layout(int line);
    std::vector<Segment> segmentsOf(Reader& text, qsizetype lineStart, qsizetype from, qsizetype to) const;
    qsizetype wrapEnd(Reader& text, qsizetype start, qsizetype end, qreal* width) const;
    qsizetype pieceEnd(Reader& text, qsizetype start, qsizetype end, qreal* width) const;
    bool keeps(const std::vector<Segment>& segments, qsizetype length) const;
    void updateInLine(int line, qsizetype offset, qsizetype removed, qsizetype added);
    // The x of each of a kept line's segments, without wrap.
    const std::vector<qreal>& lefts(Line& line);
    int count(const Line& line) const { return wraps() ? int(line.segments.size()) : 1; }
    int extraBefore(int line);
    void index();
    DisplayLine shownOf(int line, const Line* layout, std::size_t segment) const;

    const TextDocument& document_;
    const CharWidths& widths_;
    qreal wrapWidth_ = 0;
    int rewrapLimit_ = kRewrapLines;
    qreal widest_ = 0;
    int lineCount_ = 1;
    std::map<int, Line> kept_;
    // Each kept line with the display lines the kept lines before it add
    // and the display lines it shows; built again after changes.
    struct Extra {
        int line = 0;
        int before = 0;
        int shows = 1;
        int firstShown() const { return line + before; }
        int after() const { return before + shows - 1; }
    };
    std::vector<Extra> extras_;
    bool indexed_ = false;
};

} // namespace pel
