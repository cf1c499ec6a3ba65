#pragma once

#include <QRect>
#include <QtMath>

// Window and control geometry is designed in twips (1/1440 inch); 15 twips make
// one device-independent pixel, so Qt's own high-DPI scaling does the rest.
namespace Toolkit {

inline constexpr double kTwipsPerPixel = 15.0;

inline int twipsToPixels(double twips) { return qRound(twips / kTwipsPerPixel); }
inline double pixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

inline QRect twipsRect(double left, double top, double width, double height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

} // namespace Toolkit
