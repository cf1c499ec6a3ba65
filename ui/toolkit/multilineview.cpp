#include "multilineview.h"

#include "multilinelayout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace Toolkit {

// Lines wrapped per idle slice: well under a millisecond for lines of ASCII,
// a few milliseconds where every line is shaped.
constexpr std::size_t kWrapSlice = 256;

void MultiLineView::setViewport(QSize size, int lineSpacing)
{
    m_size = size;
    m_lineHeight = std::max(1, lineSpacing);
    const double width = std::max(1, size.width() - 2 * kMargin);
    if (width != m_layout.width())
        m_layout.setWidth(width);
}

int MultiLineView::pageLines() const
{
    return std::max(1, (m_size.height() - kMargin) / m_lineHeight);
}

int MultiLineView::lastFirstLine() const
{
    return int(std::clamp<qsizetype>(m_layout.estimatedLineCount() - pageLines(), 0, INT_MAX));
}

int MultiLineView::firstLineShowing(qsizetype line, int first) const
{
    if (line < first)
        return int(line);
    if (line >= first + pageLines())
        return int(line) - pageLines() + 1;
    return first;
}

void MultiLineView::wrapShown(int first)
{
    m_layout.wrapUntilLine(first + pageLines() + 1);
}

void MultiLineView::wrapSlice()
{
    m_layout.wrapMore(kWrapSlice);
}

int MultiLineView::lastPaintedLine(int first)
{
    const int last = first + m_size.height() / m_lineHeight + 1;
    m_layout.wrapUntilLine(last);
    return std::min(int(m_layout.wrappedLineCount()) - 1, last);
}

qsizetype MultiLineView::positionAt(QPoint point, int first, bool onCharacter)
{
    const int row = int(std::floor(double(point.y() - kMargin) / m_lineHeight));
    m_layout.wrapUntilLine(first + std::max(row, 0));
    const qsizetype line = std::clamp<qsizetype>(first + row, 0, m_layout.wrappedLineCount() - 1);
    return m_layout.positionInLine(line, point.x() - kMargin, onCharacter);
}

} // namespace Toolkit
