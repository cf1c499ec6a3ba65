#include "picturebox.h"

#include "accessiblefactory.h"
#include "focusframe.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>

namespace Toolkit {

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    installAccessibleFactory();
    // The whole box is painted from the image every time.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangeHandler([this] { surfaceChanged(); });
}

ImageSurface &PictureBox::surface()
{
    m_surface.resize(size());
    return m_surface;
}

void PictureBox::surfaceChanged()
{
    update();
    // A screen reader hears of new text once the drawing is done, not once
    // for every character printed.
    if (m_textNewsPending || !QAccessible::isActive())
        return;
    m_textNewsPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_textNewsPending = false;
            if (m_surface.printedText() == m_announcedText)
                return;
            m_announcedText = m_surface.printedText();
            QAccessibleEvent event(this, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        },
        Qt::QueuedConnection);
}

void PictureBox::setShowsFocus(bool on)
{
    m_showsFocus = on;
    update();
}

QSize PictureBox::sizeHint() const
{
    return m_surface.picture().isNull() ? QSize(100, 100) : m_surface.picture().size();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), surface().image(), event->rect());
    if (m_showsFocus && hasFocus())
        drawFocusFrame(painter, rect());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    m_surface.resize(size());
    QWidget::resizeEvent(event);
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

} // namespace Toolkit
