#pragma once

#include "fade/fadeerror.h"

#include <QString>
#include <optional>

// "#RRGGBB" (HTML order, red first) or "0x" and 1 to 8 hex digits taken as the
// raw 32-bit colour setting 0x00BBGGRR, top bit and all (0x80000007 is the
// system colour reference an untouched swatch holds). Nothing for anything else.
std::optional<VarloFade::ColorValue> parseColorArgument(const QString &text);
