#include "hscrollbar.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleHints>
#include <QStyleOptionSlider>

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
    // Tab and a click anywhere on the bar give it the focus, as on the platform.
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &HScrollBar::change);
}

void HScrollBar::keyPressEvent(QKeyEvent *event)
{
    // The platform's scroll bar keys: Left, Up and Page Up lower the value,
    // Right, Down and Page Down raise it, in either layout direction. Qt's
    // own scroll bar, its controls inverted, has Left raise and Right lower
    // the value in a left-to-right layout.
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

QRect HScrollBar::thumbRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

void HScrollBar::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!m_thumbLit || !hasFocus())
        return;
    // The lit half of the blink shows the thumb inverted.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(thumbRect(), Qt::white);
}

void HScrollBar::focusInEvent(QFocusEvent *event)
{
    // Lit at once, as a caret shows at once; a flash time of 0 means no blinking.
    m_thumbLit = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (flash > 0)
        m_blink.start(flash / 2, this);
    update();
    QScrollBar::focusInEvent(event);
}

void HScrollBar::focusOutEvent(QFocusEvent *event)
{
    m_blink.stop();
    m_thumbLit = false;
    update();
    QScrollBar::focusOutEvent(event);
}

void HScrollBar::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_blink.timerId()) {
        QScrollBar::timerEvent(event);
        return;
    }
    m_thumbLit = !m_thumbLit;
    update(thumbRect());
}

} // namespace Toolkit
