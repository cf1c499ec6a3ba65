#pragma once
// UTF-16 code units: a surrogate pair (an emoji, say) is one character of the
// text, though it takes two units.
#include <cstddef>
#include <string_view>

namespace VarloFade {

inline constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// 2 where a whole surrogate pair starts at `at`, else 1 (a lone half counts alone).
inline constexpr std::size_t UnitsOfCharacterAt(std::u16string_view text, std::size_t at)
{
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]) ? 2 : 1;
}

} // namespace VarloFade
