#pragma once

#include "creditsstate.h"

#include <cstdint>

namespace Credits {

inline constexpr double kAmplitude = 0.3;
inline constexpr double kStripStep = 20.0;
inline constexpr double kBandBottom = 3000.0;  // every strip ends here
inline constexpr double kFillBase = 1500.0;

// The two picture boxes as the strip painter sees them, in their own scale units.
class StripCanvas
{
public:
    virtual ~StripCanvas() = default;
    virtual double mainScaleWidth() const = 0;
    virtual double mainScaleHeight() const = 0;
    virtual double originalScaleHeight() const = 0;
    // Stretch-copies a rectangle of Original's picture into Main (SRCCOPY).
    virtual void paintOriginal(float x, float y, float width, float height,
                               float srcX, float srcY, float srcWidth, float srcHeight) = 0;
    // Fills the box between two corners of Main with a ColorValue.
    virtual void fillMain(float x1, float y1, float x2, float y2, std::int32_t color) = 0;
};

// A factor in [0.7, 1.3), drawn again while it lies more than 0.3 from the previous one.
double drawStretchFactor(std::int16_t previousFactor, const RandomSource &random);

struct Strip
{
    float x, top, width, height;                // in Main
    float srcX, srcY, srcWidth, srcHeight;      // in Original's picture
    bool blackened;                             // factors below 1 black out the upper part
    float fillX1, fillY1, fillX2, fillY2;
};

// The strip at x for factor r over base level L, Main's inner height H and
// Original's inner height S.
Strip stripGeometry(double x, double r, double L, double H, double S);

// To the nearest whole number, an exact half to the even one; throws
// VarloFade::OverflowError outside the 16-bit range.
std::int16_t roundToInt16(double value);

// The whole part of random x 1000: 0 to 999.
std::int16_t baseLevelFrom(double random);

// One tick of the picture animation: every strip of Main, left to right.
void paintStrips(StripCanvas &canvas, CreditsState &state, const RandomSource &random);

} // namespace Credits
