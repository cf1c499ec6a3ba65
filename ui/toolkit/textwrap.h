#pragma once

#include <QStringView>

#include <vector>

namespace Toolkit {

// One line on screen: `length` characters from `start`, followed by
// `breakLength` characters that end it without being shown (2 for CR LF,
// 0 where the line wraps or the text ends).
struct VisualLine
{
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype breakLength = 0;

    qsizetype end() const { return start + length; }
    bool operator==(const VisualLine &) const = default;
};

// Breaks text into lines the way a multi-line edit box with word wrap does:
// a line ends at every CR LF; a lone CR or LF is an ordinary character. A line
// wraps after its last space when the next character would pass maxWidth, or
// right before that character when the line has no space; spaces may hang past
// the edge, and a line always takes at least one character. A surrogate pair
// is never split. advance(text, i, units) gives the width of the units at i.
//
// Wraps from `from`, the start of a line, appending to lines, and stops once
// `limit` lines are added. Returns where the next line starts, or -1 when the
// text is done (its last line, possibly empty, appended). Wrapping on from a
// line start gives the same lines as wrapping in one go.
template <typename Advance>
qsizetype wrapLines(QStringView text, qsizetype from, double maxWidth, Advance &&advance,
                    std::vector<VisualLine> &lines, std::size_t limit)
{
    const qsizetype n = text.size();
    qsizetype lineStart = from, lastBreak = -1, i = from;
    std::size_t added = 0;
    double x = 0;
    auto unitsAt = [&](qsizetype at) -> qsizetype {
        return (text[at].isHighSurrogate() && at + 1 < n && text[at + 1].isLowSurrogate()) ? 2 : 1;
    };
    while (i < n) {
        if (added >= limit)
            return lineStart;
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            lines.push_back({lineStart, i - lineStart, 2});
            ++added;
            i += 2;
            lineStart = i;
            lastBreak = -1;
            x = 0;
            continue;
        }
        const qsizetype units = unitsAt(i);
        const double w = advance(text, i, units);
        if (c != u' ' && i > lineStart && x + w > maxWidth) {
            const qsizetype breakAt = lastBreak > lineStart ? lastBreak : i;
            lines.push_back({lineStart, breakAt - lineStart, 0});
            ++added;
            lineStart = breakAt;
            lastBreak = -1;
            x = 0;
            for (qsizetype j = breakAt; j < i; j += unitsAt(j))
                x += advance(text, j, unitsAt(j));
            continue;
        }
        x += w;
        i += units;
        if (c == u' ')
            lastBreak = i;
    }
    if (added >= limit)
        return lineStart;
    lines.push_back({lineStart, n - lineStart, 0});
    return -1;
}

// All lines of text, into lines, whose storage is reused.
template <typename Advance>
void wrapText(QStringView text, double maxWidth, Advance &&advance, std::vector<VisualLine> &lines)
{
    lines.clear();
    wrapLines(text, 0, maxWidth, advance, lines, std::size_t(-1));
}

template <typename Advance>
std::vector<VisualLine> wrapText(QStringView text, double maxWidth, Advance &&advance)
{
    std::vector<VisualLine> lines;
    wrapText(text, maxWidth, advance, lines);
    return lines;
}

// The index of the line that shows position pos (0..text size). A position at
// a wrap belongs to the line it starts.
qsizetype lineOfPosition(const std::vector<VisualLine> &lines, qsizetype pos);

} // namespace Toolkit
