#pragma once

#include "previewsurface.h"
#include "replacetext.h"

#include <string>
#include <string_view>

namespace VarloFade {

// Pixels from the top of one preview line to the top of the next.
inline constexpr int kPreviewLineHeight = 16;

// Paints html into surface one character at a time, in the colours and styles
// its tags set: font color, b, i, u, s, sup, sub (and their closing forms) and
// font face. Lines break only at carriage returns and at the literal marker
// "+chr13+". processEvents runs once per carriage return, before the surface is
// touched. A surrogate pair is drawn and measured as one character. The surface
// keeps the last font and colour; its ScaleMode is put back. html is read, never
// changed, and must stay alive for the call (events run during it may replace
// the text it was taken from, so hold a copy or a shared reference).
void RenderHtmlPreview(PreviewSurface &surface, std::u16string_view html, const EventTurn &processEvents = {});

} // namespace VarloFade
