#pragma once
#include <QtGlobal>

namespace pel {

// A line as the view shows it: a wrapped line shows as several.
struct DisplayLine {
    int number = 0;          // from 0, as the view's vertical scroll bar counts
    qsizetype start = 0;     // position of its first character
    qsizetype length = 0;    // without the line break
};

// What commands need to know of the view's lines: the caret report counts
// display lines, and find scrolls the found line to the top.
class DisplayLines {
public:
    virtual ~DisplayLines() = default;
    virtual DisplayLine displayLineAt(qsizetype position) const = 0;
    virtual int firstVisibleDisplayLine() const = 0;
    // Scrolls so that display line `line` is the first one shown (as far
    // as the text reaches).
    virtual void scrollToDisplayLine(int line) = 0;
};

} // namespace pel
