#pragma once

#include <QProxyStyle>

namespace Toolkit {

// The style of a short vertical scroll bar whose arrows would leave its thumb
// no room: the arrows give way until the trough is half as long again as the
// style's shortest thumb, so the thumb never shrinks below that length and
// still travels. Where the bar is long enough it is the style's own.
class ScrollBarStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget = nullptr) const override;
};

} // namespace Toolkit
