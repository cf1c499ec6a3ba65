#pragma once

#include <QPoint>
#include <QSize>

#include <cstddef>

namespace Toolkit {

class MultiLineLayout;

// Where the lines of the HTML box show, without a widget: one row of
// lineHeight per line in a text area kMargin inside the viewport, from the
// first line the scroll bar shows. It gives the scroll bar its range and
// page, the first line that keeps a line in view, the position under a point,
// and wraps what shows at once; the rest of the text wraps in idle slices.
class MultiLineView
{
public:
    static constexpr int kMargin = 2;

    explicit MultiLineView(MultiLineLayout &layout) : m_layout(layout) {}

    // The viewport's size and the font's line spacing; lines wrap at the
    // width of the text area.
    void setViewport(QSize size, int lineSpacing);
    int lineHeight() const { return m_lineHeight; }
    // Whole lines in view, at least one: the scroll bar's page and Page Down's.
    int pageLines() const;
    // The scroll bar's maximum: the first line of the last page, estimated
    // from the lines wrapped while the rest are not.
    int lastFirstLine() const;
    // The first line to show so that line is in view, moving as little from first as it can.
    int firstLineShowing(qsizetype line, int first) const;

    // Wraps the lines that show from first, and one more.
    void wrapShown(int first);
    // Wraps one idle slice of the lines further on.
    void wrapSlice();
    // The last line painted from first, the one cut off at the bottom included;
    // wrapped as far as that.
    int lastPaintedLine(int first);
    // The top of the row of line index, in the viewport.
    int lineTop(qsizetype index, int first) const { return kMargin + int(index - first) * m_lineHeight; }
    // The position nearest a point of the viewport, or the character under it.
    // Above the first row is the line before the first; below the text, its last line.
    qsizetype positionAt(QPoint point, int first, bool onCharacter = false);

private:
    MultiLineLayout &m_layout;
    QSize m_size;
    int m_lineHeight = 1;
};

} // namespace Toolkit
