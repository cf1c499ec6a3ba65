#include "textwrap.h"

#include <algorithm>

namespace Toolkit {

qsizetype lineOfPosition(const std::vector<VisualLine> &lines, qsizetype pos)
{
    // The last line that starts at or before pos.
    auto it = std::upper_bound(lines.begin(), lines.end(), pos,
                               [](qsizetype p, const VisualLine &line) { return p < line.start; });
    return it == lines.begin() ? 0 : qsizetype(it - lines.begin()) - 1;
}

} // namespace Toolkit
