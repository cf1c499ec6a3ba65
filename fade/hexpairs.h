#pragma once
// Each byte's two hex digits as one unit pair, so that a colour is written
// with three fixed-size copies.
#include <array>

namespace VarloFade {

struct HexPair
{
    char16_t high, low;
};

constexpr std::array<HexPair, 256> MakeHexPairs(const char16_t *digits)
{
    std::array<HexPair, 256> pairs{};
    for (int v = 0; v < 256; ++v)
        pairs[v] = {digits[v >> 4], digits[v & 0xF]};
    return pairs;
}

inline constexpr auto kUpperHexPairs = MakeHexPairs(u"0123456789ABCDEF");
inline constexpr auto kLowerHexPairs = MakeHexPairs(u"0123456789abcdef");

} // namespace VarloFade
