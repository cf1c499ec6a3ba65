#include "hextext.h"

namespace VarloFade {

namespace {
constexpr char16_t kDigits[] = u"0123456789ABCDEF";
}

std::u16string SixDigitHex(std::int32_t value)
{
    auto bits = static_cast<std::uint32_t>(value);
    char16_t buffer[8];
    int n = 0;
    do {
        buffer[7 - n++] = kDigits[bits & 0xF];
        bits >>= 4;
    } while (bits != 0);

    std::u16string text;
    if (n < 6)
        text.assign(6 - n, u'0');
    text.append(buffer + 8 - n, buffer + 8);
    return text;
}

std::int16_t HexDigitValue(std::u16string_view digit)
{
    if (digit.size() != 1)
        return 0;
    const char16_t c = digit.front();
    if (c >= u'0' && c <= u'9')
        return static_cast<std::int16_t>(c - u'0');
    if (c >= u'A' && c <= u'F')
        return static_cast<std::int16_t>(c - u'A' + 10);
    return 0;
}

float HexToNumber(std::u16string_view text)
{
    if (text.size() > 8)
        text.remove_prefix(text.size() - 8);

    // Last character first; each partial sum is stored back in single
    // precision, which is what makes seven and eight digits lose bits.
    float result = 0.0f;
    double weight = 1.0;
    for (std::size_t i = text.size(); i-- > 0;) {
        char16_t c = text[i];
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        const std::int16_t d = HexDigitValue(std::u16string_view(&c, 1));
        result = static_cast<float>(static_cast<double>(result) + d * weight);
        weight *= 16.0;
    }
    return result;
}

} // namespace VarloFade
