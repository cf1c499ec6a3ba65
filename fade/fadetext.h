#pragma once

#include "fadeerror.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace VarloFade {

// Longest text a fade accepts, in UTF-16 units.
inline constexpr std::size_t kMaxFadeUnits = 32767;

// AIM HTML for text: a "<Font Color=#RRGGBB>" tag before every character, the
// colour running from color1 to color2 over the first half and on to color3
// over the second; wavy adds the <sup> </sup> <sub> </sub> cycle.
// Throws OverflowError for a text of more than kMaxFadeUnits units.
std::u16string FadeText(ColorValue color1, ColorValue color2, ColorValue color3,
                        std::u16string_view text, bool wavy);

// FadeText without a string of its own: FadedLength gives the number of units
// the HTML takes, and FadeTextInto writes exactly that many to out. Both throw
// OverflowError for a text of more than kMaxFadeUnits units, before anything
// is written.
std::size_t FadedLength(std::u16string_view text, bool wavy);
void FadeTextInto(ColorValue color1, ColorValue color2, ColorValue color3, std::u16string_view text, bool wavy,
                  char16_t *out);

// The same from nine channel values (0..255): red, green, blue of each colour.
std::u16string FadeChannels(std::int16_t red1, std::int16_t green1, std::int16_t blue1,
                            std::int16_t red2, std::int16_t green2, std::int16_t blue2,
                            std::int16_t red3, std::int16_t green3, std::int16_t blue3,
                            std::u16string_view text, bool wavy);

} // namespace VarloFade
