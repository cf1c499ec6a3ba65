#include "oklab.h"

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

// The linear light of (k + 0.5) / 255 for k = 0..254, where rounding to 8
// bits goes from k to k + 1, and past them one that no channel reaches.
constexpr std::array<double, 256> makeMidpoints()
{
    std::array<double, 256> midpoints{};
    for (int k = 0; k < 255; ++k)
        midpoints[k] = linearFromSrgb((k + 0.5) / 255.0);
    midpoints[255] = 2.0;
    return midpoints;
}

constexpr auto kLinear = makeLinear();
constexpr auto kMidpoints = makeMidpoints();

// For each 1/4096 of linear light, the 8-bit value at its bottom. Midpoints
// lie at least 1/(255 * 12.92) apart, more than a bucket, so at most one more
// is passed above it.
constexpr int kBuckets = 4096;
constexpr std::array<std::uint8_t, kBuckets> makeBucketFloor()
{
    std::array<std::uint8_t, kBuckets> floor{};
    int value = 0;
    for (int bucket = 0; bucket < kBuckets; ++bucket) {
        while (kMidpoints[value] <= static_cast<double>(bucket) / kBuckets)
            ++value;
        floor[bucket] = static_cast<std::uint8_t>(value);
    }
    return floor;
}
constexpr auto kBucketFloor = makeBucketFloor();

constexpr bool atMostOneMidpointPerBucket()
{
    for (int bucket = 0; bucket < kBuckets; ++bucket) {
        const int above = bucket + 1 < kBuckets ? kBucketFloor[bucket + 1] : 255;
        if (above - kBucketFloor[bucket] > 1)
            return false;
    }
    return true;
}
static_assert(atMostOneMidpointPerBucket());

// The number of midpoints at or below linear.
inline std::uint8_t channelFromLinear(double linear)
{
    if (!(linear >= 0.0))
        return 0;
    if (linear >= 1.0)
        return 255;
    const int floor = kBucketFloor[static_cast<int>(linear * kBuckets)];
    return static_cast<std::uint8_t>(floor + (kMidpoints[floor] <= linear));
}

inline Rgb8 rgb8FromCone(double coneL, double coneM, double coneS)
{
    const double l = coneL * coneL * coneL, m = coneM * coneM * coneM, s = coneS * coneS * coneS;
    return {channelFromLinear(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            channelFromLinear(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            channelFromLinear(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s)};
}

} // namespace

OklabCone ConeFromRgb8(Rgb8 color)
{
    const double r = kLinear[color.red], g = kLinear[color.green], b = kLinear[color.blue];
    return {rootOf(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b, 3),
            rootOf(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b, 3),
            rootOf(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b, 3)};
}

Oklab OklabFromRgb8(Rgb8 color)
{
    const OklabCone c = ConeFromRgb8(color);
    return {0.2104542553 * c.l + 0.7936177850 * c.m - 0.0040720468 * c.s,
            1.9779984951 * c.l - 2.4285922050 * c.m + 0.4505937099 * c.s,
            0.0259040371 * c.l + 0.7827717662 * c.m - 0.8086757660 * c.s};
}

Rgb8 Rgb8FromCone(const OklabCone &cone)
{
    return rgb8FromCone(cone.l, cone.m, cone.s);
}

void Rgb8AlongCones(const OklabCone &start, const OklabCone &end, std::size_t count, Rgb8 *out)
{
    const double n = static_cast<double>(count);
    const double stepL = (end.l - start.l) / n, stepM = (end.m - start.m) / n, stepS = (end.s - start.s) / n;
    for (std::size_t i = 1; i <= count; ++i) {
        const double fi = static_cast<double>(i);
        *out++ = rgb8FromCone(fi * stepL + start.l, fi * stepM + start.m, fi * stepS + start.s);
    }
}

Rgb8 Rgb8FromOklab(const Oklab &color)
{
    return Rgb8FromCone({color.L + 0.3963377774 * color.a + 0.2158037573 * color.b,
                         color.L - 0.1055613458 * color.a - 0.0638541728 * color.b,
                         color.L - 0.0894841775 * color.a - 1.2914855480 * color.b});
}

} // namespace VarloFade
