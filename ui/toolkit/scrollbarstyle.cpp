#include "scrollbarstyle.h"

#include <QStyleOptionSlider>

#include <algorithm>

namespace Toolkit {

QRect ScrollBarStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                                     const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar || bar->orientation != Qt::Vertical)
        return QProxyStyle::subControlRect(control, option, sub, widget);
    const QRect r = bar->rect;
    const int minThumb = pixelMetric(PM_ScrollBarSliderMin, bar, widget);
    const int arrow = QProxyStyle::subControlRect(control, option, SC_ScrollBarSubLine, widget).height();
    const int shortArrow = std::max(0, (r.height() - minThumb * 3 / 2) / 2);
    if (arrow <= shortArrow)
        return QProxyStyle::subControlRect(control, option, sub, widget);

    const int grooveTop = r.top() + shortArrow, grooveLength = r.height() - 2 * shortArrow;
    const qint64 range = qint64(bar->maximum) - bar->minimum;
    int thumb = grooveLength;
    if (range > 0)
        thumb = int(std::clamp<qint64>(qint64(bar->pageStep) * grooveLength / (range + bar->pageStep), minThumb,
                                       grooveLength));
    const int thumbTop = grooveTop + sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                                             grooveLength - thumb, bar->upsideDown);
    switch (sub) {
    case SC_ScrollBarSubLine:
        return QRect(r.left(), r.top(), r.width(), shortArrow);
    case SC_ScrollBarAddLine:
        return QRect(r.left(), r.bottom() + 1 - shortArrow, r.width(), shortArrow);
    case SC_ScrollBarGroove:
        return QRect(r.left(), grooveTop, r.width(), grooveLength);
    case SC_ScrollBarSlider:
        return QRect(r.left(), thumbTop, r.width(), thumb);
    case SC_ScrollBarSubPage:
        return QRect(r.left(), grooveTop, r.width(), thumbTop - grooveTop);
    case SC_ScrollBarAddPage:
        return QRect(r.left(), thumbTop + thumb, r.width(), grooveTop + grooveLength - thumbTop - thumb);
    default:
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}

} // namespace Toolkit
