#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The credits artwork: a dusk over the sea, drawn from integer arithmetic only so
// that every build writes the same bytes.
namespace Credits::Artwork {

inline constexpr int kWidth = 294;
inline constexpr int kHeight = 197;

struct Rgb { std::uint8_t r, g, b; };
using Palette = std::array<Rgb, 256>;

Palette palette();

// One palette index per pixel, row by row from the top.
std::vector<std::uint8_t> drawIndices();

// A GIF89a file: the 256-entry global colour table, one image, no extensions.
std::vector<std::uint8_t> encodeGif(const Palette &colors, const std::vector<std::uint8_t> &indices,
                                    int width, int height);

// LZW-compressed image data as GIF stores it, minimum code size 8, not yet cut into sub-blocks.
std::vector<std::uint8_t> lzwCompress(const std::vector<std::uint8_t> &indices);

} // namespace Credits::Artwork
