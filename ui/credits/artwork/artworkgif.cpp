#include "artworkgif.h"

#include <algorithm>
#include <unordered_map>

namespace Credits::Artwork {

namespace {

constexpr int kHorizon = 122;
constexpr int kSunX = 196, kSunY = 104, kSunRadius = 40;

// Palette ranges.
constexpr int kSky = 0, kSkyCount = 96;
constexpr int kSun = 96, kSunCount = 32;
constexpr int kSea = 128, kSeaCount = 64;
constexpr int kHills = 192, kHillsCount = 32;
constexpr int kStars = 224, kStarsCount = 32;

Rgb mix(Rgb a, Rgb b, int step, int steps)
{
    auto channel = [&](int x, int y) { return std::uint8_t(x + (y - x) * step / (steps - 1)); };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

void ramp(Palette &p, int first, int count, Rgb from, Rgb to)
{
    for (int i = 0; i < count; ++i)
        p[first + i] = mix(from, to, i, count);
}

// A triangle wave of the given period, 0 .. period/2 .. 0.
int triangle(int x, int period)
{
    const int t = ((x % period) + period) % period;
    return t < period / 2 ? t : period - t;
}

int ridge(int x, int base, int a, int pa, int b, int pb, int shift)
{
    return base - triangle(x + shift, pa) * a / (pa / 2) - triangle(x * 3 + shift, pb) * b / (pb / 2);
}

std::uint32_t nextRandom(std::uint32_t &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

} // namespace

Palette palette()
{
    Palette p{};
    ramp(p, kSky, kSkyCount / 2, {18, 8, 58}, {150, 40, 120});
    ramp(p, kSky + kSkyCount / 2, kSkyCount / 2, {160, 44, 118}, {255, 170, 70});
    ramp(p, kSun, kSunCount, {255, 120, 40}, {255, 246, 200});
    ramp(p, kSea, kSeaCount / 2, {60, 30, 90}, {8, 24, 70});
    ramp(p, kSea + kSeaCount / 2, kSeaCount / 2, {255, 150, 70}, {255, 236, 170});
    ramp(p, kHills, kHillsCount, {26, 10, 40}, {96, 44, 112});
    ramp(p, kStars, kStarsCount, {170, 170, 210}, {255, 255, 255});
    return p;
}

std::vector<std::uint8_t> drawIndices()
{
    std::vector<std::uint8_t> px(std::size_t(kWidth) * kHeight);
    auto at = [&](int x, int y) -> std::uint8_t & { return px[std::size_t(y) * kWidth + x]; };

    // Sky, with an ordered dither between neighbouring shades.
    for (int y = 0; y < kHorizon; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int scaled = y * (kSkyCount - 1) * 4 / (kHorizon - 1);
            const int bayer = ((x & 1) * 2 + (y & 1) * 3) % 4;
            at(x, y) = std::uint8_t(kSky + std::min(kSkyCount - 1, (scaled + bayer) / 4));
        }

    // Stars in the upper, darker sky.
    std::uint32_t seed = 0x51A7u;
    for (int i = 0; i < 90; ++i) {
        const int x = int(nextRandom(seed) % kWidth);
        const int y = int(nextRandom(seed) % (kHorizon / 2));
        at(x, y) = std::uint8_t(kStars + nextRandom(seed) % kStarsCount);
    }

    // The sun, cut by widening bands towards the horizon.
    for (int y = kSunY - kSunRadius; y < kHorizon; ++y)
        for (int x = kSunX - kSunRadius; x <= kSunX + kSunRadius; ++x) {
            const int dx = x - kSunX, dy = y - kSunY;
            const int d2 = dx * dx + dy * dy;
            if (d2 > kSunRadius * kSunRadius)
                continue;
            if (dy > 0 && (dy % 9) < 1 + dy / 8)
                continue;
            at(x, y) = std::uint8_t(kSun + (kSunCount - 1) - std::min(kSunCount - 1, (y - (kSunY - kSunRadius)) * kSunCount / (kSunRadius + 30)));
        }

    // Two ridges of hills, the nearer one darker.
    for (int x = 0; x < kWidth; ++x) {
        const int far = ridge(x, kHorizon - 6, 26, 150, 6, 38, 40);
        const int near = ridge(x + 70, kHorizon + 2, 16, 110, 5, 26, 0);
        for (int y = std::max(0, far); y < kHorizon; ++y)
            at(x, y) = std::uint8_t(kHills + kHillsCount - 1 - std::min(kHillsCount / 2 - 1, (y - far) / 3));
        for (int y = std::max(0, near); y < kHorizon; ++y)
            if (x < 120 || x > 250)
                at(x, y) = std::uint8_t(kHills + std::min(kHillsCount / 2 - 1, (y - near) / 4));
    }

    // The sea: darker with depth, rippled, with the sun's broken reflection.
    for (int y = kHorizon; y < kHeight; ++y) {
        const int depth = y - kHorizon;
        const int period = 10 + depth / 2;
        for (int x = 0; x < kWidth; ++x) {
            const int ripple = triangle(x + depth * 7, period) * 4 / period;
            const int shade = std::min(kSeaCount / 2 - 1, depth * (kSeaCount / 2) / (kHeight - kHorizon) + ripple);
            std::uint8_t index = std::uint8_t(kSea + shade);
            const int halfWidth = kSunRadius - depth / 3;
            const bool glint = ((x * 5 + depth * 11) % 23) < 9 - depth / 10;
            if (std::abs(x - kSunX) < halfWidth && (depth % 4) < 2 && glint)
                index = std::uint8_t(kSea + kSeaCount - 1 - std::min(kSeaCount / 2 - 1, depth / 2 + ripple));
            at(x, y) = index;
        }
    }
    return px;
}

std::vector<std::uint8_t> lzwCompress(const std::vector<std::uint8_t> &indices)
{
    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize, kEnd = kClear + 1;
    constexpr int kMaxCodes = 4096;

    std::vector<std::uint8_t> out;
    std::uint32_t bits = 0;
    int bitCount = 0;
    auto put = [&](int code, int size) {
        bits |= std::uint32_t(code) << bitCount;
        bitCount += size;
        while (bitCount >= 8) {
            out.push_back(std::uint8_t(bits & 0xFF));
            bits >>= 8;
            bitCount -= 8;
        }
    };

    std::unordered_map<std::uint32_t, int> table;
    int nextCode = kEnd + 1;
    int codeSize = kMinCodeSize + 1;
    put(kClear, codeSize);
    if (!indices.empty()) {
        int prefix = indices[0];
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const std::uint32_t key = std::uint32_t(prefix) << 8 | indices[i];
            if (const auto found = table.find(key); found != table.end()) {
                prefix = found->second;
                continue;
            }
            put(prefix, codeSize);
            if (nextCode < kMaxCodes) {
                // The decoder widens its codes one entry later than it adds them.
                if (nextCode == (1 << codeSize))
                    ++codeSize;
                table.emplace(key, nextCode++);
            } else {
                put(kClear, codeSize);
                table.clear();
                nextCode = kEnd + 1;
                codeSize = kMinCodeSize + 1;
            }
            prefix = indices[i];
        }
        put(prefix, codeSize);
    }
    put(kEnd, codeSize);
    if (bitCount > 0)
        out.push_back(std::uint8_t(bits & 0xFF));
    return out;
}

std::vector<std::uint8_t> encodeGif(const Palette &colors, const std::vector<std::uint8_t> &indices,
                                    int width, int height)
{
    std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) {
        gif.push_back(std::uint8_t(v & 0xFF));
        gif.push_back(std::uint8_t((v >> 8) & 0xFF));
    };
    word(width);
    word(height);
    gif.push_back(0xF7);  // global colour table of 2^(7+1) entries, 8 bits per primary
    gif.push_back(0);     // background colour index
    gif.push_back(0);     // no aspect ratio
    for (const Rgb &c : colors) {
        gif.push_back(c.r);
        gif.push_back(c.g);
        gif.push_back(c.b);
    }
    gif.push_back(0x2C);  // image descriptor
    word(0);
    word(0);
    word(width);
    word(height);
    gif.push_back(0);  // no local table, not interlaced
    gif.push_back(8);  // LZW minimum code size
    const std::vector<std::uint8_t> data = lzwCompress(indices);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        gif.push_back(std::uint8_t(n));
        gif.insert(gif.end(), data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + n));
    }
    gif.push_back(0);     // end of image data
    gif.push_back(0x3B);  // trailer
    return gif;
}

} // namespace Credits::Artwork
