#include "fademarkup.h"

#include "utf16.h"

#include <cstring>
#include <stdexcept>

namespace VarloFade {

namespace {

constexpr char16_t kUpperDigits[] = u"0123456789ABCDEF", kLowerDigits[] = u"0123456789abcdef";

// Counts the units of the markup, then writes them into a string of exactly
// that size: the same code runs with each sink, so the two cannot disagree.
struct CountingSink
{
    std::size_t size = 0;
    void put(std::u16string_view s) { size += s.size(); }
    void put(char16_t) { ++size; }
    void putHex(Rgb8, const char16_t *) { size += 6; }
};

struct WritingSink
{
    char16_t *out;
    void put(std::u16string_view s)
    {
        std::memcpy(out, s.data(), s.size() * sizeof(char16_t));
        out += s.size();
    }
    void put(char16_t c) { *out++ = c; }
    void putHex(Rgb8 c, const char16_t *digits)
    {
        out[0] = digits[c.red >> 4];
        out[1] = digits[c.red & 0xF];
        out[2] = digits[c.green >> 4];
        out[3] = digits[c.green & 0xF];
        out[4] = digits[c.blue >> 4];
        out[5] = digits[c.blue & 0xF];
        out += 6;
    }
};

struct Tags
{
    std::u16string_view open, afterDigits, close, wave[4];
    const char16_t *digits;
};

constexpr std::u16string_view kAimOpen = u"<Font Color=#";
constexpr std::u16string_view kAimWave[4] = {u"<sup>", u"</sup>", u"<sub>", u"</sub>"};
constexpr Tags kBbCode = {u"[color=#", u"]", u"[/color]", {u"[sup]", u"[/sup]", u"[sub]", u"[/sub]"}, kUpperDigits};
constexpr Tags kHtml = {u"<span style=\"color:#", u"\">", u"</span>", {u"<sup>", u"</sup>", u"<sub>", u"</sub>"},
                        kLowerDigits};

// Units that XML 1.0 cannot hold, even as a character reference.
constexpr bool notInXml(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || IsHighSurrogate(c) || IsLowSurrogate(c)
           || c == 0xFFFE || c == 0xFFFF;
}

template<typename Sink>
void writeAim(Sink &sink, std::u16string_view text, std::span<const Rgb8> colours, bool wavy)
{
    int wave = 0;
    std::size_t at = 0;
    for (const Rgb8 colour : colours) {
        sink.put(kAimOpen);
        sink.putHex(colour, kUpperDigits);
        sink.put(u'>');
        if (wavy) {
            wave = wave >= 4 ? 1 : wave + 1;
            sink.put(kAimWave[wave - 1]);
        }
        const std::size_t units = UnitsOfCharacterAt(text, at);
        sink.put(text.substr(at, units));
        at += units;
    }
}

template<typename Sink>
void writeTagged(Sink &sink, const Tags &tags, bool html, std::u16string_view text, std::span<const Rgb8> colours,
                 bool wavy)
{
    int wave = 0;
    std::size_t at = 0;
    for (const Rgb8 colour : colours) {
        if (wavy) {
            wave = wave >= 4 ? 1 : wave + 1;
            sink.put(tags.wave[wave - 1]);
        }
        const std::size_t units = UnitsOfCharacterAt(text, at);
        const char16_t c = text[at];
        at += units;
        if (html && units == 1) {
            // A CR LF is one line break, in the CR's piece.
            if (c == u'\r' && at < text.size() && text[at] == u'\n') {
                sink.put(u"<br/>");
                continue;
            }
            if (c == u'\n' && at >= 2 && text[at - 2] == u'\r')
                continue;
        }
        sink.put(tags.open);
        sink.putHex(colour, tags.digits);
        sink.put(tags.afterDigits);
        if (!html || units == 2)
            sink.put(text.substr(at - units, units));
        else if (c == u'<')
            sink.put(u"&lt;");
        else if (c == u'>')
            sink.put(u"&gt;");
        else if (c == u'&')
            sink.put(u"&amp;");
        else
            sink.put(notInXml(c) ? u'\xFFFD' : c);
        sink.put(tags.close);
    }
    if (wave == 1 || wave == 3)
        sink.put(tags.wave[wave]);
}

template<typename Sink>
void writeMarkup(Sink &sink, std::u16string_view text, std::span<const Rgb8> colours, bool wavy, FadeMarkup markup)
{
    switch (markup) {
    case FadeMarkup::Aim:
        return writeAim(sink, text, colours, wavy);
    case FadeMarkup::BbCode:
        return writeTagged(sink, kBbCode, false, text, colours, wavy);
    case FadeMarkup::Html:
        return writeTagged(sink, kHtml, true, text, colours, wavy);
    }
}

} // namespace

std::u16string WriteFadeMarkup(std::u16string_view text, std::span<const Rgb8> colours, bool wavy, FadeMarkup markup)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); at += UnitsOfCharacterAt(text, at))
        ++characters;
    if (characters != colours.size())
        throw std::invalid_argument("WriteFadeMarkup: one colour per character");
    CountingSink counter;
    writeMarkup(counter, text, colours, wavy, markup);
    std::u16string result(counter.size, u'\0');
    WritingSink writer{result.data()};
    writeMarkup(writer, text, colours, wavy, markup);
    return result;
}

} // namespace VarloFade
