#pragma once

#include "fadeerror.h"

#include <optional>
#include <string>
#include <string_view>

namespace VarloFade {

// What one tag of the preview sets. Tag text is the text between "<" and ">",
// matched as a whole and without regard to case (a face name comes out lower-cased).
struct PreviewTag
{
    enum Kind {
        None,
        Underline,
        Strikethru,
        Bold,
        Italic,
        Shift,
        Color,
        Face,
    };
    Kind kind = None;
    bool on = false;            // Underline, Strikethru, Bold, Italic
    int shift = 0;              // Shift: -1 sup, +1 sub, 0 either closing tag
    ColorValue color = 0;       // Color
    std::u16string face;        // Face
};

// Lower case for the ASCII letters only: the tags and colour codes are ASCII,
// and a face name is matched without regard to case anyway.
std::u16string LowerTagText(std::u16string_view text);
// The same into a buffer the caller keeps, so that a scan does not allocate per tag.
void LowerTagText(std::u16string_view text, std::u16string &into);

// Red, green and blue pairs of up to six characters after the first "#", hex
// digits in either case; a tag without "#" sets nothing.
std::optional<ColorValue> TagColor(std::u16string_view tagText);

// The name after the first double quote, up to a closing one; without quotes,
// what follows "font face" and "=" with the spaces around it removed. An empty
// name sets nothing.
std::optional<std::u16string> TagFace(std::u16string_view tagText);

PreviewTag ReadPreviewTag(std::u16string_view tagText);

} // namespace VarloFade
