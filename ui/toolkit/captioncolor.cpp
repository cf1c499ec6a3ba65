#include "captioncolor.h"

#include <algorithm>
#include <cmath>

namespace Toolkit {

namespace {

// Large text (12 pt and up, as the buttons' captions) reads at 3:1.
constexpr double kReadableRatio = 3.0;

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableCaptionColor(const QColor &wanted, const QColor &face)
{
    if (contrastRatio(wanted, face) >= kReadableRatio)
        return wanted;
    const QColor black(Qt::black), white(Qt::white);
    return contrastRatio(black, face) >= contrastRatio(white, face) ? black : white;
}

} // namespace Toolkit
