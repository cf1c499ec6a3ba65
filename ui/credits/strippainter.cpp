#include "strippainter.h"

#include "fade/fadeerror.h"

#include <cmath>

namespace Credits {

double drawStretchFactor(std::int16_t previousFactor, const RandomSource &random)
{
    double r;
    do {
        r = random() * kAmplitude * 2 + 1 - kAmplitude;
    } while (std::abs(previousFactor - r) > kAmplitude);
    return r;
}

Strip stripGeometry(double x, double r, double L, double H, double S)
{
    const double top = L + (H * (1 - r) / kBandBottom) * (kBandBottom - L);
    Strip s{};
    s.x = float(x);
    s.top = float(top);
    s.width = float(kStripStep + 10);
    s.height = float(kBandBottom - top);
    s.srcX = float(x);
    s.srcY = 0.0f;
    s.srcWidth = float(kStripStep + 1);
    s.srcHeight = float(S);
    s.blackened = r < 1;
    if (s.blackened) {
        s.fillX1 = float(x);
        s.fillY1 = 0.0f;
        s.fillX2 = float(x + kStripStep + 10);
        s.fillY2 = float(kFillBase + H * (1 - r) / 2);
    }
    return s;
}

std::int16_t roundToInt16(double value)
{
    const double whole = std::nearbyint(value);  // the default rounding: halves to even
    if (!(whole >= INT16_MIN && whole <= INT16_MAX))
        throw VarloFade::OverflowError();
    return static_cast<std::int16_t>(whole);
}

std::int16_t baseLevelFrom(double random)
{
    return static_cast<std::int16_t>(std::floor(random * 1000));
}

void paintStrips(StripCanvas &canvas, CreditsState &state, const RandomSource &random)
{
    const double W = canvas.mainScaleWidth();
    for (double x = 0; x <= W; x += kStripStep) {
        const double r = drawStretchFactor(state.PreviousFactor, random);
        const double L = state.BaseLevel;
        const double H = canvas.mainScaleHeight();
        const double S = canvas.originalScaleHeight();
        const Strip s = stripGeometry(x, r, L, H, S);
        canvas.paintOriginal(s.x, s.top, s.width, s.height, s.srcX, s.srcY, s.srcWidth, s.srcHeight);
        if (s.blackened)
            canvas.fillMain(s.fillX1, s.fillY1, s.fillX2, s.fillY2, 0);
        state.PreviousFactor = roundToInt16(r);
    }
}

} // namespace Credits
