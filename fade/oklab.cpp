#include "oklab.h"

#include <algorithm>
#include <array>

namespace VarloFade {

namespace {

// y with y^n = a, for a >= 0, by Newton's method from above: the iterates fall
// monotonically, and the last one that still fell is the root to the last bit.
constexpr double rootOf(double a, int n)
{
    if (a <= 0.0)
        return 0.0;
    double y = a > 1.0 ? a : 1.0;
    for (int i = 0; i < 400; ++i) {
        double power = 1.0; // y^(n-1)
        for (int k = 1; k < n; ++k)
            power *= y;
        const double next = y - (power * y - a) / (n * power);
        if (!(next < y))
            break;
        y = next;
    }
    return y;
}

// The sRGB transfer function: c in [0, 1] to linear light. x^2.4 is x^2 times
// the fifth root of x^2.
constexpr double linearFromSrgb(double c)
{
    if (c <= 0.04045)
        return c / 12.92;
    const double x = (c + 0.055) / 1.055;
    const double square = x * x;
    return square * rootOf(square, 5);
}

constexpr std::array<double, 256> makeLinear()
{
    std::array<double, 256> linear{};
    for (int v = 0; v < 256; ++v)
        linear[v] = linearFromSrgb(v / 255.0);
    return linear;
}

constexpr std::array<double, 255> makeMidpoints()
{
    std::array<double, 255> midpoints{};
    for (int k = 0; k < 255; ++k)
        midpoints[k] = linearFromSrgb((k + 0.5) / 255.0);
    return midpoints;
}

constexpr auto kLinear = makeLinear();
constexpr auto kMidpoints = makeMidpoints();

std::uint8_t channelFromLinear(double linear)
{
    return static_cast<std::uint8_t>(std::upper_bound(kMidpoints.begin(), kMidpoints.end(), linear) - kMidpoints.begin());
}

} // namespace

Oklab OklabFromRgb8(Rgb8 color)
{
    const double r = kLinear[color.red], g = kLinear[color.green], b = kLinear[color.blue];
    const double l = rootOf(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b, 3);
    const double m = rootOf(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b, 3);
    const double s = rootOf(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b, 3);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

Rgb8 Rgb8FromOklab(const Oklab &color)
{
    const double l1 = color.L + 0.3963377774 * color.a + 0.2158037573 * color.b;
    const double m1 = color.L - 0.1055613458 * color.a - 0.0638541728 * color.b;
    const double s1 = color.L - 0.0894841775 * color.a - 1.2914855480 * color.b;
    const double l = l1 * l1 * l1, m = m1 * m1 * m1, s = s1 * s1 * s1;
    return {channelFromLinear(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            channelFromLinear(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            channelFromLinear(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
}

} // namespace VarloFade
