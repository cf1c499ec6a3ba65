#pragma once

// The fade written out step by step, the slow way, for comparison with the
// engine on texts without surrogate pairs.

#include "fade/hextext.h"

#include <cmath>
#include <string>

namespace reference {

inline int nearestEven(float v)
{
    return static_cast<int>(std::nearbyint(v)); // the default rounding mode breaks ties to even
}

inline int channel(const std::u16string &pair)
{
    return static_cast<int>(VarloFade::HexToNumber(pair));
}

inline std::u16string fadePart(const std::u16string &part, const int s[3], const int e[3], bool wavy, int &wave)
{
    static const char16_t *tags[] = {u"<sup>", u"</sup>", u"<sub>", u"</sub>"};
    std::u16string out;
    const int m = static_cast<int>(part.size());
    for (int i = 1; i <= m; ++i) {
        int v[3];
        for (int ch = 0; ch < 3; ++ch) {
            volatile float step = static_cast<float>(e[ch] - s[ch]) / static_cast<float>(m);
            volatile float p = static_cast<float>(i) * step;
            volatile float sum = p + static_cast<float>(s[ch]);
            v[ch] = nearestEven(sum);
        }
        out += u"<Font Color=#" + VarloFade::SixDigitHex(v[0] * 65536 + v[1] * 256 + v[2]) + u">";
        if (wavy) {
            wave = wave + 1 > 4 ? 1 : wave + 1;
            out += tags[wave - 1];
        }
        out += part[i - 1];
    }
    return out;
}

inline std::u16string fade(int c1, int c2, int c3, const std::u16string &text, bool wavy)
{
    int rgb[3][3];
    const int colors[3] = {c1, c2, c3};
    for (int j = 0; j < 3; ++j) {
        const std::u16string h = VarloFade::SixDigitHex(colors[j]);
        rgb[j][0] = channel(h.substr(h.size() - 2, 2));
        rgb[j][1] = channel(h.substr(2, 2));
        rgb[j][2] = channel(h.substr(0, 2));
    }
    const int n = static_cast<int>(text.size());
    const int k = nearestEven(static_cast<float>(n) / 2.0f);
    int wave = 0;
    const std::u16string first = fadePart(text.substr(0, k), rgb[0], rgb[1], wavy, wave);
    const std::u16string second = fadePart(text.substr(k), rgb[1], rgb[2], wavy, wave);
    return first + second;
}

} // namespace reference
