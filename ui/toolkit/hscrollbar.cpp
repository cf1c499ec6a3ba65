#include "hscrollbar.h"

namespace Toolkit {

HScrollBar::HScrollBar(QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
{
    setRange(0, 255);
    setSingleStep(1);
    setPageStep(1);
    setValue(0);
    // Without tracking the value only moves when the thumb is let go.
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &HScrollBar::change);
}

} // namespace Toolkit
