#pragma once
// The markup of a fade around its characters, once each character's colour is known.
#include "oklab.h"

#include <span>
#include <string>
#include <string_view>

namespace VarloFade {

enum class FadeMarkup {
    Aim,    // "<Font Color=#RRGGBB>" before each character, as FadeText writes
    BbCode, // "[color=#RRGGBB]c[/color]" for each character
    Html,   // "<span style="color:#rrggbb">c</span>" for each character, well-formed XHTML
};

// colours holds one colour per character of text, a surrogate pair being one
// character. Wavy puts each piece in the cycle <sup> </sup> <sub> </sub> (in
// BBCode [sup] [/sup] [sub] [/sub]); BBCode and XHTML put the wave tag before
// the colour so that tags nest, and close a superscript or subscript left
// open at the end. XHTML escapes "<", ">" and "&", writes "<br/>" for a CR LF
// (the CR's piece; the LF's piece holds only its wave tag) and U+FFFD for a unit XML
// cannot hold (C0 controls other than tab, CR and LF; lone surrogates;
// U+FFFE and U+FFFF).
std::u16string WriteFadeMarkup(std::u16string_view text, std::span<const Rgb8> colours, bool wavy, FadeMarkup markup);

} // namespace VarloFade
