#pragma once

#include "strippainter.h"

namespace Toolkit {
class PictureBox;
}

namespace Credits {

// The strip painter's view of the credits window: it draws into Main from
// Original's picture.
class PictureBoxCanvas : public StripCanvas
{
public:
    PictureBoxCanvas(Toolkit::PictureBox &main, Toolkit::PictureBox &original)
        : m_main(main), m_original(original) {}

    double mainScaleWidth() const override;
    double mainScaleHeight() const override;
    double originalScaleHeight() const override;
    void paintOriginal(float x, float y, float width, float height,
                       float srcX, float srcY, float srcWidth, float srcHeight) override;
    void fillMain(float x1, float y1, float x2, float y2, std::int32_t color) override;

private:
    Toolkit::PictureBox &m_main;
    Toolkit::PictureBox &m_original;
};

} // namespace Credits
