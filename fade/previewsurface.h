#pragma once

#include "fadeerror.h"

#include <string_view>

namespace VarloFade {

// The picture-box operations the preview renderer draws with, by their forms
// toolkit names. Coordinates and widths are in the surface's current ScaleMode.
class PreviewSurface
{
public:
    static constexpr int kScaleTwips = 1;
    static constexpr int kScalePixels = 3;

    virtual ~PreviewSurface() = default;

    virtual int ScaleMode() const = 0;
    virtual void setScaleMode(int mode) = 0;

    virtual void setFontName(std::u16string_view face) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool on) = 0;
    virtual void setFontItalic(bool on) = 0;
    virtual void setFontUnderline(bool on) = 0;
    virtual void setFontStrikethru(bool on) = 0;

    // On: what is drawn stays in the surface's own image.
    virtual void setAutoRedraw(bool on) = 0;
    virtual void setForeColor(ColorValue color) = 0;

    // Fills the surface with its background and moves the position to the origin.
    virtual void Cls() = 0;
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    // Draws text with its top at the current position; no new line is started.
    virtual void Print(std::u16string_view text) = 0;
    virtual double TextWidth(std::u16string_view text) = 0;
};

} // namespace VarloFade
