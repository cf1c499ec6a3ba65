#include "fademarkup.h"

#include "hexpairs.h"
#include "utf16.h"

#include <cstring>
#include <stdexcept>

namespace VarloFade {

namespace {

struct Tags
{
    std::u16string_view open, afterDigits, close, wave[4];
    const HexPair *hexPairs;
};

constexpr Tags kAim = {u"<Font Color=#", u">", u"", {u"<sup>", u"</sup>", u"<sub>", u"</sub>"}, kUpperHexPairs.data()};
constexpr Tags kBbCode = {u"[color=#", u"]", u"[/color]", {u"[sup]", u"[/sup]", u"[sub]", u"[/sub]"},
                          kUpperHexPairs.data()};
constexpr Tags kHtml = {u"<span style=\"color:#", u"\">", u"</span>", {u"<sup>", u"</sup>", u"<sub>", u"</sub>"},
                        kLowerHexPairs.data()};

// Units that XML 1.0 cannot hold, even as a character reference.
constexpr bool notInXml(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || IsHighSurrogate(c) || IsLowSurrogate(c)
           || c == 0xFFFE || c == 0xFFFF;
}

class Writer
{
public:
    explicit Writer(char16_t *out) : m_out(out) {}
    char16_t *end() const { return m_out; }

    void put(std::u16string_view s)
    {
        std::memcpy(m_out, s.data(), s.size() * sizeof(char16_t));
        m_out += s.size();
    }
    void put(char16_t c) { *m_out++ = c; }
    void putHex(Rgb8 c, const HexPair *pairs)
    {
        std::memcpy(m_out, &pairs[c.red], sizeof(HexPair));
        std::memcpy(m_out + 2, &pairs[c.green], sizeof(HexPair));
        std::memcpy(m_out + 4, &pairs[c.blue], sizeof(HexPair));
        m_out += 6;
    }

private:
    char16_t *m_out;
};

// The wave tags, <sup> </sup> <sub> </sub> over and over, run over the whole text.
class Wave
{
public:
    explicit Wave(bool wavy) : m_wavy(wavy) {}
    void next(Writer &out, const Tags &tags)
    {
        if (m_wavy) {
            m_step = m_step >= 4 ? 1 : m_step + 1;
            out.put(tags.wave[m_step - 1]);
        }
    }
    // Markup that must nest closes a superscript or subscript left open.
    void close(Writer &out, const Tags &tags) const
    {
        if (m_step == 1 || m_step == 3)
            out.put(tags.wave[m_step]);
    }

private:
    bool m_wavy;
    int m_step = 0;
};

void writeAim(Writer &out, std::u16string_view text, std::span<const Rgb8> colours, bool wavy)
{
    Wave wave(wavy);
    std::size_t at = 0;
    for (const Rgb8 colour : colours) {
        out.put(kAim.open);
        out.putHex(colour, kAim.hexPairs);
        out.put(u'>');
        wave.next(out, kAim);
        const std::size_t units = UnitsOfCharacterAt(text, at);
        out.put(text[at++]);
        if (units == 2)
            out.put(text[at++]);
    }
}

void writeBbCode(Writer &out, std::u16string_view text, std::span<const Rgb8> colours, bool wavy)
{
    Wave wave(wavy);
    std::size_t at = 0;
    for (const Rgb8 colour : colours) {
        wave.next(out, kBbCode);
        out.put(kBbCode.open);
        out.putHex(colour, kBbCode.hexPairs);
        out.put(u']');
        const std::size_t units = UnitsOfCharacterAt(text, at);
        out.put(text[at++]);
        if (units == 2)
            out.put(text[at++]);
        out.put(kBbCode.close);
    }
    wave.close(out, kBbCode);
}

void writeHtml(Writer &out, std::u16string_view text, std::span<const Rgb8> colours, bool wavy)
{
    Wave wave(wavy);
    std::size_t at = 0;
    for (const Rgb8 colour : colours) {
        wave.next(out, kHtml);
        const char16_t c = text[at];
        // Most characters lie above ">" and below the surrogates: as they are.
        if (c > u'>' && c < 0xD800) {
            ++at;
            out.put(kHtml.open);
            out.putHex(colour, kHtml.hexPairs);
            out.put(kHtml.afterDigits);
            out.put(c);
            out.put(kHtml.close);
            continue;
        }
        const std::size_t units = UnitsOfCharacterAt(text, at);
        at += units;
        // A CR LF is one line break, in the CR's piece.
        if (c == u'\r' && at < text.size() && text[at] == u'\n') {
            out.put(u"<br/>");
            continue;
        }
        if (c == u'\n' && at >= 2 && text[at - 2] == u'\r')
            continue;
        out.put(kHtml.open);
        out.putHex(colour, kHtml.hexPairs);
        out.put(kHtml.afterDigits);
        if (units == 2) {
            out.put(text[at - 2]);
            out.put(text[at - 1]);
        } else if (c == u'<') {
            out.put(u"&lt;");
        } else if (c == u'>') {
            out.put(u"&gt;");
        } else if (c == u'&') {
            out.put(u"&amp;");
        } else {
            out.put(notInXml(c) ? u'\xFFFD' : c);
        }
        out.put(kHtml.close);
    }
    wave.close(out, kHtml);
}

} // namespace

FadeMarkupWriter::FadeMarkupWriter(std::u16string_view text) : m_text(text)
{
    // A low surrogate is never a high one, so pairs never overlap and each
    // starts a character; nor is a unit of a pair ever "<", ">", "&" or a CR.
    std::size_t pairs = 0;
    const std::size_t size = text.size();
    for (std::size_t at = 0; at < size; ++at) {
        const char16_t c = text[at];
        if (c > u'>' && c < 0xD800) // most text: none of the units counted here
            continue;
        const char16_t next = at + 1 < size ? text[at + 1] : u'\0';
        m_anglesAndAmpersands += c == u'<' || c == u'>' || c == u'&';
        m_ampersands += c == u'&';
        m_crLfs += c == u'\r' && next == u'\n';
        pairs += IsHighSurrogate(c) && IsLowSurrogate(next);
    }
    m_characters = size - pairs;
}

std::size_t FadeMarkupWriter::length(bool wavy, FadeMarkup markup) const
{
    // The wave tags are 5 and 6 units long in turn; a superscript or
    // subscript left open takes 6 more to close where tags nest.
    const std::size_t n = m_characters;
    const std::size_t wave = wavy ? 11 * (n / 2) + 5 * (n % 2) : 0;
    const std::size_t closing = wavy && n % 2 == 1 ? 6 : 0;
    switch (markup) {
    case FadeMarkup::Aim:
        return 20 * n + m_text.size() + wave;
    case FadeMarkup::BbCode:
        return (kBbCode.open.size() + 7 + kBbCode.close.size()) * n + m_text.size() + wave + closing;
    case FadeMarkup::Html:
        break;
    }
    // "&lt;" and "&gt;" add 3 units, "&amp;" 4; a CR LF is "<br/>" for two pieces.
    const std::size_t piece = kHtml.open.size() + 6 + kHtml.afterDigits.size() + kHtml.close.size();
    return piece * (n - 2 * m_crLfs) + m_text.size() + 3 * m_anglesAndAmpersands + m_ampersands + 3 * m_crLfs
           + wave + closing;
}

std::u16string FadeMarkupWriter::write(std::span<const Rgb8> colours, bool wavy, FadeMarkup markup) const
{
    if (colours.size() != m_characters)
        throw std::invalid_argument("FadeMarkupWriter: one colour per character");
    std::u16string result(length(wavy, markup), u'\0');
    Writer out(result.data());
    switch (markup) {
    case FadeMarkup::Aim:
        writeAim(out, m_text, colours, wavy);
        break;
    case FadeMarkup::BbCode:
        writeBbCode(out, m_text, colours, wavy);
        break;
    case FadeMarkup::Html:
        writeHtml(out, m_text, colours, wavy);
        break;
    }
    if (out.end() != result.data() + result.size())
        throw std::logic_error("FadeMarkupWriter: the markup is not the length worked out for it");
    return result;
}

} // namespace VarloFade
