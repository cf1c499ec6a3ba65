#include "picturebox.h"

#include <QPaintEvent>
#include <QPainter>

namespace Toolkit {

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    // The whole box is painted from the image every time.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setBackColor(ColorSetting color)
{
    surface().setBackColor(color);
    update();
}

void PictureBox::setPicture(const QImage &picture)
{
    surface().setPicture(picture);
    update();
}

void PictureBox::Cls()
{
    surface().Cls();
    update();
}

void PictureBox::Print(std::u16string_view text)
{
    if (surface().printOnImage(text))
        update();
}

void PictureBox::PaintPicture(const QImage &picture, double x, double y, double width, double height,
                              double srcX, double srcY, double srcWidth, double srcHeight)
{
    surface().PaintPicture(picture, x, y, width, height, srcX, srcY, srcWidth, srcHeight);
    update();
}

void PictureBox::fillRect(double x1, double y1, double x2, double y2, ColorSetting color)
{
    surface().fillRect(x1, y1, x2, y2, color);
    update();
}

QSize PictureBox::sizeHint() const { return m_surface.picture().isNull() ? QSize(100, 100) : m_surface.picture().size(); }

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), surface().image(), event->rect());
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    m_surface.resize(size());
    QWidget::resizeEvent(event);
}

} // namespace Toolkit
