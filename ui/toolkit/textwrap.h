#pragma once

#include "fade/utf16.h"

#include <QStringView>

#include <string_view>
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

inline qsizetype unitsOfCharacterAt(QStringView text, qsizetype at)
{
    return qsizetype(VarloFade::UnitsOfCharacterAt(
        std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())),
        std::size_t(at)));
}

// The units of the character that ends at `at`, not reaching back before `from`.
inline qsizetype unitsOfCharacterBefore(QStringView text, qsizetype at, qsizetype from = 0)
{
    return at - 2 >= from && unitsOfCharacterAt(text, at - 2) == 2 ? 2 : 1;
}

// Breaks text into lines the way a multi-line edit box with word wrap does:
// a line ends at every CR LF; a lone CR or LF is an ordinary character. A line
// wraps after its last space when the next character would pass maxWidth, or
// right before that character when the line has no space; spaces may hang past
// the edge, and a line always takes at least one character. A surrogate pair
// is never split. advance(text, i, units) gives the width of the units at i.
// fits(start, end) says whether the line [start, end) as drawn (shaped as a
// whole, its hanging spaces left out) is within maxWidth; where it is not, the
// line ends earlier, at its last space, else a character sooner.
//
// Wraps from `from`, the start of a line, appending to lines, and stops once
// `limit` lines are added. Returns where the next line starts, or -1 when the
// text is done (its last line, possibly empty, appended). Wrapping on from a
// line start gives the same lines as wrapping in one go.
template <typename Advance, typename Fits>
qsizetype wrapLines(QStringView text, qsizetype from, double maxWidth, Advance &&advance, Fits &&fits,
                    std::vector<VisualLine> &lines, std::size_t limit)
{
    const qsizetype n = text.size();
    qsizetype lineStart = from, lastBreak = -1, i = from;
    std::size_t added = 0;
    double x = 0;
    // Where a line that should end at `end` really ends.
    auto fittedEnd = [&](qsizetype end) {
        while (end > lineStart && end - lineStart > unitsOfCharacterAt(text, lineStart) && !fits(lineStart, end)) {
            qsizetype at = end - 1;
            while (at > lineStart && !(text[at - 1] == u' ' && text[at] != u' '))
                --at;
            if (at > lineStart)
                end = at;
            else
                end -= unitsOfCharacterBefore(text, end, lineStart);
        }
        return end;
    };
    auto startLineAt = [&](qsizetype at) {
        lineStart = i = at;
        lastBreak = -1;
        x = 0;
    };
    for (;;) {
        while (i < n) {
            if (added >= limit)
                return lineStart;
            const QChar c = text[i];
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
                const qsizetype end = fittedEnd(i);
                lines.push_back({lineStart, end - lineStart, end == i ? 2 : 0});
                ++added;
                startLineAt(end == i ? i + 2 : end);
                continue;
            }
            const qsizetype units = unitsOfCharacterAt(text, i);
            const double w = advance(text, i, units);
            if (c != u' ' && i > lineStart && x + w > maxWidth) {
                const qsizetype breakAt = fittedEnd(lastBreak > lineStart ? lastBreak : i);
                lines.push_back({lineStart, breakAt - lineStart, 0});
                ++added;
                const qsizetype resumeAt = i;
                startLineAt(breakAt);
                for (qsizetype j = breakAt; j < resumeAt; j += unitsOfCharacterAt(text, j)) {
                    x += advance(text, j, unitsOfCharacterAt(text, j));
                    if (text[j] == u' ')
                        lastBreak = j + 1;
                }
                i = resumeAt;
                continue;
            }
            x += w;
            i += units;
            if (c == u' ')
                lastBreak = i;
        }
        if (added >= limit)
            return lineStart;
        const qsizetype end = fittedEnd(n);
        lines.push_back({lineStart, end - lineStart, 0});
        ++added;
        if (end == n)
            return -1;
        startLineAt(end);
    }
}

// Without a check of the shaped line: the advances are the widths.
template <typename Advance>
qsizetype wrapLines(QStringView text, qsizetype from, double maxWidth, Advance &&advance,
                    std::vector<VisualLine> &lines, std::size_t limit)
{
    return wrapLines(text, from, maxWidth, advance, [](qsizetype, qsizetype) { return true; }, lines, limit);
}

template <typename Advance>
std::vector<VisualLine> wrapText(QStringView text, double maxWidth, Advance &&advance)
{
    std::vector<VisualLine> lines;
    wrapLines(text, 0, maxWidth, advance, lines, std::size_t(-1));
    return lines;
}

// The index of the line that shows position pos (0..text size). A position at
// a wrap belongs to the line it starts.
qsizetype lineOfPosition(const std::vector<VisualLine> &lines, qsizetype pos);

} // namespace Toolkit
