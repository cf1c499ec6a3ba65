#pragma once

#include "previewsurface.h"
#include "replacetext.h"

#include <string>

namespace VarloFade {

// Paints html into surface one character at a time, in the colours and styles
// its tags set: font color, b, i, u, s, sup, sub (and their closing forms) and
// font face. Lines break only at carriage returns and at the literal marker
// "+chr13+". processEvents runs once per carriage return, before the surface is
// touched. The surface keeps the last font and colour; its ScaleMode is put back.
void RenderHtmlPreview(PreviewSurface &surface, std::u16string html, const EventTurn &processEvents = {});

} // namespace VarloFade
