#pragma once
// The markup of a fade around its characters, once each character's colour is known.
#include "oklab.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace VarloFade {

enum class FadeMarkup {
    Aim,    // "<Font Color=#RRGGBB>" before each character, as FadeText writes
    BbCode, // "[color=#RRGGBB]c[/color]" for each character
    Html,   // "<span style="color:#rrggbb">c</span>" for each character, well-formed XHTML
};

// Writes the fade of a text in a markup, once each character's colour is
// known. A surrogate pair is one character. Wavy puts each piece in the cycle
// <sup> </sup> <sub> </sub> (in BBCode [sup] [/sup] [sub] [/sub]); BBCode and
// XHTML put the wave tag before the colour so that tags nest, and close a
// superscript or subscript left open at the end. XHTML escapes "<", ">" and
// "&", writes "<br/>" for a CR LF (the CR's piece; the LF's piece holds only
// its wave tag) and U+FFFD for a unit XML cannot hold (C0 controls other than
// tab, CR and LF; lone surrogates; U+FFFE and U+FFFF).
class FadeMarkupWriter
{
public:
    // Counts the text once, for every markup; the text must outlive the writer.
    explicit FadeMarkupWriter(std::u16string_view text);

    std::size_t characters() const { return m_characters; }

    // colours holds one colour per character; throws std::invalid_argument otherwise.
    std::u16string write(std::span<const Rgb8> colours, bool wavy, FadeMarkup markup) const;

private:
    std::size_t length(bool wavy, FadeMarkup markup) const;

    std::u16string_view m_text;
    std::size_t m_characters = 0, m_anglesAndAmpersands = 0, m_ampersands = 0, m_crLfs = 0;
};

} // namespace VarloFade
