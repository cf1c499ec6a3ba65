#include "pictureboxcanvas.h"

#include "ui/toolkit/picturebox.h"

namespace Credits {

double PictureBoxCanvas::mainScaleWidth() const { return m_main.surface().scaleWidth(); }
double PictureBoxCanvas::mainScaleHeight() const { return m_main.surface().scaleHeight(); }
double PictureBoxCanvas::originalScaleHeight() const { return m_original.surface().scaleHeight(); }

void PictureBoxCanvas::paintOriginal(float x, float y, float width, float height,
                                     float srcX, float srcY, float srcWidth, float srcHeight)
{
    m_main.surface().PaintPicture(m_original.surface().picture(), x, y, width, height, srcX, srcY, srcWidth, srcHeight);
}

void PictureBoxCanvas::fillMain(float x1, float y1, float x2, float y2, std::int32_t color)
{
    m_main.surface().fillRect(x1, y1, x2, y2, color);
}

} // namespace Credits
