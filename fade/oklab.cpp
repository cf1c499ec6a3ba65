#include "oklab.h"

#include <array>
#include <limits>

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

// The linear light from which each 8-bit value is the nearest: from the
// midpoint below it (or -infinity), up to but not including the one above (or
// +infinity).
constexpr std::array<double, 256> makeLowest()
{
    std::array<double, 256> lowest{};
    lowest[0] = -std::numeric_limits<double>::infinity();
    for (int v = 1; v < 256; ++v)
        lowest[v] = kMidpoints[v - 1];
    return lowest;
}
constexpr std::array<double, 256> makeAbove()
{
    std::array<double, 256> above = kMidpoints;
    above[255] = std::numeric_limits<double>::infinity();
    return above;
}
constexpr auto kLowest = makeLowest(), kAbove = makeAbove();

// One channel along a line: neighbouring points mostly round to the same
// value, and a point inside the last value's range has that value without a
// look-up (NaN is inside none).
class ChannelRun
{
public:
    std::uint8_t at(double linear)
    {
        if (m_lowest <= linear && linear < m_above)
            return m_value;
        m_value = channelFromLinear(linear);
        m_lowest = kLowest[m_value];
        m_above = kAbove[m_value];
        return m_value;
    }

private:
    double m_lowest = 1.0, m_above = 0.0; // no range yet
    std::uint8_t m_value = 0;
};

// Rgb8AlongCones works in blocks: one loop of the same double operations in
// the same order for every point of a block, into arrays (which the compiler
// turns into packed arithmetic, two points at a time, with the same bits as
// one at a time), then the channel values point by point.
constexpr int kBlock = 64;

struct LinearBlock
{
    alignas(16) double red[kBlock], green[kBlock], blue[kBlock];
};

void linearAlong(const OklabCone &start, double stepL, double stepM, double stepS, int first, LinearBlock &block)
{
    for (int k = 0; k < kBlock; ++k) {
        const double fi = static_cast<double>(first + k);
        const double coneL = fi * stepL + start.l, coneM = fi * stepM + start.m, coneS = fi * stepS + start.s;
        const double l = coneL * coneL * coneL, m = coneM * coneM * coneM, s = coneS * coneS * coneS;
        block.red[k] = 4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s;
        block.green[k] = -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s;
        block.blue[k] = -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s;
    }
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
    LinearBlock block;
    ChannelRun red, green, blue;
    // Points past count in the last block are worked out and left unused.
    for (std::size_t first = 1; first <= count; first += kBlock) {
        linearAlong(start, stepL, stepM, stepS, static_cast<int>(first), block);
        const std::size_t points = count - first + 1 < kBlock ? count - first + 1 : kBlock;
        for (std::size_t k = 0; k < points; ++k)
            *out++ = {red.at(block.red[k]), green.at(block.green[k]), blue.at(block.blue[k])};
    }
}

Rgb8 Rgb8FromOklab(const Oklab &color)
{
    return Rgb8FromCone({color.L + 0.3963377774 * color.a + 0.2158037573 * color.b,
                         color.L - 0.1055613458 * color.a - 0.0638541728 * color.b,
                         color.L - 0.0894841775 * color.a - 1.2914855480 * color.b});
}

} // namespace VarloFade
