#include "hscrollbar.h"

#include <QKeyEvent>

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

void HScrollBar::keyPressEvent(QKeyEvent *event)
{
    // The platform's scroll bar keys; Qt's horizontal bar ignores the arrows.
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        action = SliderToMinimum;
        break;
    case Qt::Key_End:
        action = SliderToMaximum;
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    event->accept();
}

} // namespace Toolkit
