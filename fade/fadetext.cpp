#include "fadetext.h"

#include "channelramp.h"
#include "hextext.h"
#include "hexpairs.h"
#include "utf16.h"

#include <initializer_list>
#include <cstring>
#include <stdexcept>

namespace VarloFade {

namespace {

constexpr std::u16string_view kTagOpen = u"<Font Color=#";
// The wave tags padded to six units, so that each is one fixed-size copy; the
// character that follows overwrites the padding of the short ones.
struct WaveTag
{
    char16_t units[7]; // six and a terminator
    std::size_t length;
};
constexpr WaveTag kWave[4] = {{u"<sup>", 5}, {u"</sup>", 6}, {u"<sub>", 5}, {u"</sub>", 6}};

std::size_t countCharacters(std::u16string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += UnitsOfCharacterAt(text, at))
        ++count;
    return count;
}

std::int16_t channelFromHex(std::u16string_view pair)
{
    return static_cast<std::int16_t>(HexDigitValue(pair.substr(0, 1)) * 16 + HexDigitValue(pair.substr(1, 1)));
}

class PieceWriter
{
public:
    PieceWriter(char16_t *out, bool wavy) : m_out(out), m_wavy(wavy) {}

    // Writes the m characters that start at text[at], faded from start to end;
    // returns the unit position after them.
    std::size_t fadePart(std::u16string_view text, std::size_t at, std::size_t m, Channels start, Channels end)
    {
        if (m == 0)
            return at;
        const ChannelRamp ramp(start, end, m);
        for (std::size_t i = 1; i <= m; ++i) {
            const ChannelRamp::Rgb v = ramp.at(i);
            put(kTagOpen);
            putPair(v.red);
            putPair(v.green);
            putPair(v.blue);
            *m_out++ = u'>';
            if (m_wavy) {
                m_wave = m_wave >= 4 ? 1 : m_wave + 1; // runs on from one part into the next
                const WaveTag &tag = kWave[m_wave - 1];
                std::memcpy(m_out, tag.units, 6 * sizeof(char16_t));
                m_out += tag.length;
            }
            const std::size_t units = UnitsOfCharacterAt(text, at);
            for (std::size_t u = 0; u < units; ++u)
                *m_out++ = text[at++];
        }
        return at;
    }

private:
    void put(std::u16string_view s)
    {
        std::memcpy(m_out, s.data(), s.size() * sizeof(char16_t));
        m_out += s.size();
    }
    void putPair(int v)
    {
        std::memcpy(m_out, &kUpperHexPairs[v], sizeof(HexPair));
        m_out += 2;
    }

    char16_t *m_out;
    bool m_wavy;
    int m_wave = 0;
};

void checkChannels(std::initializer_list<int> values)
{
    for (int v : values)
        if (v < 0 || v > 255)
            throw std::out_of_range("FadeChannels: channel values run from 0 to 255");
}

void fadeInto(const Channels (&c)[3], std::u16string_view text, bool wavy, char16_t *out)
{
    const std::size_t n = countCharacters(text);
    // n / 2 to the nearest integer, a half to the even neighbour.
    const std::size_t k = n % 2 == 0 ? n / 2 : (n / 2) % 2 == 0 ? n / 2 : n / 2 + 1;
    PieceWriter writer(out, wavy);
    const std::size_t split = writer.fadePart(text, 0, k, c[0], c[1]);
    writer.fadePart(text, split, n - k, c[1], c[2]);
}

} // namespace

Channels ChannelsOf(ColorValue color)
{
    // For an ordinary colour the hex text reads BBGGRR; a system colour
    // reference gives eight digits, whose first two, third and fourth, and
    // last two are taken all the same.
    const std::u16string h = SixDigitHex(color);
    const std::u16string_view hv = h;
    return {channelFromHex(hv.substr(hv.size() - 2, 2)), channelFromHex(hv.substr(2, 2)), channelFromHex(hv.substr(0, 2))};
}

std::size_t FadedLength(std::u16string_view text, bool wavy)
{
    if (text.size() > kMaxFadeUnits)
        throw OverflowError();
    // Each piece is the tag, "#", six digits and ">" (20 units) and its
    // character; the wave tags alternate 5 and 6 units long.
    const std::size_t n = countCharacters(text);
    const std::size_t waveUnits = wavy ? 11 * (n / 2) + 5 * (n % 2) : 0;
    return 20 * n + text.size() + waveUnits;
}

std::u16string FadeChannels(std::int16_t red1, std::int16_t green1, std::int16_t blue1,
                            std::int16_t red2, std::int16_t green2, std::int16_t blue2,
                            std::int16_t red3, std::int16_t green3, std::int16_t blue3,
                            std::u16string_view text, bool wavy)
{
    const std::size_t length = FadedLength(text, wavy);
    checkChannels({red1, green1, blue1, red2, green2, blue2, red3, green3, blue3});
    std::u16string html(length, u'\0');
    fadeInto({{red1, green1, blue1}, {red2, green2, blue2}, {red3, green3, blue3}}, text, wavy, html.data());
    return html;
}

std::u16string FadeText(ColorValue color1, ColorValue color2, ColorValue color3,
                        std::u16string_view text, bool wavy)
{
    std::u16string html(FadedLength(text, wavy), u'\0');
    FadeTextInto(color1, color2, color3, text, wavy, html.data());
    return html;
}

void FadeTextInto(ColorValue color1, ColorValue color2, ColorValue color3, std::u16string_view text, bool wavy,
                  char16_t *out)
{
    if (text.size() > kMaxFadeUnits)
        throw OverflowError();
    fadeInto({ChannelsOf(color1), ChannelsOf(color2), ChannelsOf(color3)}, text, wavy, out);
}

} // namespace VarloFade
