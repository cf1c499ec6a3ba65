#pragma once
// OKLab, the perceptual colour space of Björn Ottosson, with his published
// matrices, for 8-bit sRGB colours. Only + - * / are used (no libm), so every
// platform gets the same bits.
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

// Exact sRGB decoding to linear light, then the two matrices and a cube root
// between them, in double precision.
Oklab OklabFromRgb8(Rgb8 color);

// Back to linear light, and each channel to the 8-bit value nearest in sRGB:
// the number of midpoints (k + 0.5) / 255, k = 0..254, decoded to linear
// light, that the channel reaches (on a midpoint goes up). A channel outside
// the sRGB gamut so becomes 0 or 255. Every 8-bit colour comes back as itself.
Rgb8 Rgb8FromOklab(const Oklab &color);

} // namespace VarloFade
