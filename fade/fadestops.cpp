#include "fadestops.h"

#include "channelramp.h"
#include "fadetext.h"

#include <memory>
#include <stdexcept>

namespace VarloFade {

namespace {

// n * j / parts to the nearest integer, a half to the even neighbour.
std::size_t partEnd(std::size_t n, std::size_t j, std::size_t parts)
{
    const std::size_t q = n * j / parts, twiceRest = 2 * (n * j % parts);
    return twiceRest > parts || (twiceRest == parts && q % 2 == 1) ? q + 1 : q;
}

void blendSrgb(Channels start, Channels end, std::size_t m, Rgb8 *out)
{
    const ChannelRamp ramp(start, end, m);
    for (std::size_t i = 1; i <= m; ++i) {
        const ChannelRamp::Rgb v = ramp.at(i);
        *out++ = {static_cast<std::uint8_t>(v.red), static_cast<std::uint8_t>(v.green),
                  static_cast<std::uint8_t>(v.blue)};
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
        const Channels c = ChannelsOf(stops[j]);
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
