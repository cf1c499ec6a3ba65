#pragma once
// Fades through two to ten colour stops, blended in sRGB as FadeText blends
// or in OKLab, written as AIM HTML, BBCode or XHTML.
#include "fademarkup.h"
#include "fadeerror.h"
#include "oklab.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace VarloFade {

inline constexpr std::size_t kMinFadeStops = 2, kMaxFadeStops = 10;

enum class FadeBlend {
    Srgb,  // each channel in single precision, exactly as FadeText
    Oklab, // along the straight line in OKLab, in double precision (Rgb8AlongCones), back to 8-bit sRGB
};

// The colour of each of the n = out.size() characters of a fade. The
// characters are split into stops.size() - 1 parts: part j (from 0) ends after
// the n*(j+1)/parts-th character, taken to the nearest integer, a half to the
// even neighbour, so that three stops split as FadeText splits. Character i of
// a part of m runs i/m of the way from the part's first stop to its last.
// Throws std::invalid_argument for fewer than kMinFadeStops or more than
// kMaxFadeStops stops.
void StopColours(std::span<const ColorValue> stops, FadeBlend blend, std::span<Rgb8> out);

// The fade of text through the stops in the given markup. With three stops,
// sRGB and AIM it is exactly FadeText(stops[0], stops[1], stops[2], text, wavy).
// Throws OverflowError for a text of more than kMaxFadeUnits units, and as
// StopColours.
std::u16string FadeStops(std::span<const ColorValue> stops, std::u16string_view text, bool wavy,
                         FadeBlend blend = FadeBlend::Srgb, FadeMarkup markup = FadeMarkup::Aim);

} // namespace VarloFade
