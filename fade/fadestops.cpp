#include "fadestops.h"

#include "fadetext.h"
#include "hextext.h"

#include <memory>
#include <stdexcept>

namespace VarloFade {

namespace {

struct Channels
{
    std::int16_t red, green, blue;
};

// As FadeText reads a colour: from its hex text, red the last two digits,
// green the third and fourth, blue the first two (0x80000007 gives 07 00 80).
Channels channelsOf(ColorValue color)
{
    const std::u16string h = SixDigitHex(color);
    const std::u16string_view hv = h;
    const auto pair = [](std::u16string_view p) {
        return static_cast<std::int16_t>(HexDigitValue(p.substr(0, 1)) * 16 + HexDigitValue(p.substr(1, 1)));
    };
    return {pair(hv.substr(hv.size() - 2, 2)), pair(hv.substr(2, 2)), pair(hv.substr(0, 2))};
}

// Nearest integer, a half to even, by the FPU's own rounding: exact for |v| < 2^22.
inline int roundHalfEven(float v)
{
    constexpr float kShift = 12582912.0f; // 1.5 * 2^23
    return static_cast<int>((v + kShift) - kShift);
}

// n * j / parts to the nearest integer, a half to the even neighbour.
std::size_t partEnd(std::size_t n, std::size_t j, std::size_t parts)
{
    const std::size_t q = n * j / parts, twiceRest = 2 * (n * j % parts);
    return twiceRest > parts || (twiceRest == parts && q % 2 == 1) ? q + 1 : q;
}

// The step, product and sum each stored as a 32-bit float, as FadeText does.
void blendSrgb(Channels start, Channels end, std::size_t m, Rgb8 *out)
{
    const float fm = static_cast<float>(m);
    const float stepR = static_cast<float>(static_cast<std::int16_t>(end.red - start.red)) / fm;
    const float stepG = static_cast<float>(static_cast<std::int16_t>(end.green - start.green)) / fm;
    const float stepB = static_cast<float>(static_cast<std::int16_t>(end.blue - start.blue)) / fm;
    const float sR = start.red, sG = start.green, sB = start.blue;
    for (std::size_t i = 1; i <= m; ++i) {
        const float fi = static_cast<float>(i);
        const float pR = fi * stepR, pG = fi * stepG, pB = fi * stepB;
        const float vR = pR + sR, vG = pG + sG, vB = pB + sB;
        *out++ = {static_cast<std::uint8_t>(roundHalfEven(vR)), static_cast<std::uint8_t>(roundHalfEven(vG)),
                  static_cast<std::uint8_t>(roundHalfEven(vB))};
    }
}

} // namespace

void StopColours(std::span<const ColorValue> stops, FadeBlend blend, std::span<Rgb8> out)
{
    if (stops.size() < kMinFadeStops || stops.size() > kMaxFadeStops)
        throw std::invalid_argument("a fade has 2 to 10 colour stops");
    Channels channels[kMaxFadeStops];
    OklabCone cones[kMaxFadeStops];
    for (std::size_t j = 0; j < stops.size(); ++j) {
        const Channels c = channelsOf(stops[j]);
        channels[j] = c;
        if (blend == FadeBlend::Oklab)
            cones[j] = ConeFromRgb8({static_cast<std::uint8_t>(c.red), static_cast<std::uint8_t>(c.green),
                                     static_cast<std::uint8_t>(c.blue)});
    }
    const std::size_t characters = out.size();
    const std::size_t parts = stops.size() - 1;
    std::size_t start = 0;
    for (std::size_t j = 0; j < parts; ++j) {
        const std::size_t end = partEnd(characters, j + 1, parts);
        if (end > start) {
            if (blend == FadeBlend::Oklab)
                Rgb8AlongCones(cones[j], cones[j + 1], end - start, out.data() + start);
            else
                blendSrgb(channels[j], channels[j + 1], end - start, out.data() + start);
        }
        start = end;
    }
}

std::u16string FadeStops(std::span<const ColorValue> stops, std::u16string_view text, bool wavy, FadeBlend blend,
                         FadeMarkup markup)
{
    if (text.size() > kMaxFadeUnits)
        throw OverflowError();
    const FadeMarkupWriter writer(text);
    // Every colour is written before it is read: no need to clear them first.
    const auto colours = std::make_unique_for_overwrite<Rgb8[]>(writer.characters());
    const std::span<Rgb8> span(colours.get(), writer.characters());
    StopColours(stops, blend, span);
    return writer.write(span, wavy, markup);
}

} // namespace VarloFade
