#pragma once
// OKLab, the perceptual colour space of Björn Ottosson, with his published
// matrices, for 8-bit sRGB colours. Only + - * / are used (no libm), so every
// platform gets the same bits.
#include <cstddef>
#include <cstdint>

namespace VarloFade {

struct Rgb8
{
    std::uint8_t red, green, blue;
    friend bool operator==(const Rgb8 &, const Rgb8 &) = default;
};

struct Oklab
{
    double L, a, b;
};

// The cone responses after the cube root, l' m' s': OKLab is a linear map of
// them, so a straight line in OKLab is a straight line here.
struct OklabCone
{
    double l, m, s;
};

// sRGB decoded to linear light, the first matrix and the cube root give the
// cone responses; the second matrix gives OKLab. All in double precision.
Oklab OklabFromRgb8(Rgb8 color);
OklabCone ConeFromRgb8(Rgb8 color);

// Back to linear light, and each channel to the 8-bit value nearest in sRGB:
// the number of midpoints (k + 0.5) / 255, k = 0..254, decoded to linear
// light, that the channel reaches (on a midpoint goes up). A channel outside
// the sRGB gamut so becomes 0 or 255. Every 8-bit colour comes back as itself.
Rgb8 Rgb8FromOklab(const Oklab &color);
Rgb8 Rgb8FromCone(const OklabCone &cone);

// Rgb8FromCone of the count points one to count steps from start along the
// straight line to end: each coordinate's step is (end - start) / count, and
// point i is i * step + start, in double precision. The last point is end to
// within a few bits, so it gives end's colour; equal ends give that colour.
void Rgb8AlongCones(const OklabCone &start, const OklabCone &end, std::size_t count, Rgb8 *out);

} // namespace VarloFade
