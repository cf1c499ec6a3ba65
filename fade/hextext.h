#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace VarloFade {

// Upper-case hex of value, zero-padded to six digits; a negative value gives
// the eight digits of its two's complement, and longer texts stay as they are.
std::u16string SixDigitHex(std::int32_t value);

// 0..15 for exactly one of "0".."9", "A".."F"; 0 for anything else.
std::int16_t HexDigitValue(std::u16string_view digit);

// Reads the last eight characters of text as hex, either case, in single
// precision; characters that are not hex digits count as 0 but keep their place.
float HexToNumber(std::u16string_view text);

} // namespace VarloFade
