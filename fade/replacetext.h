#pragma once

#include <functional>
#include <string>

namespace VarloFade {

// One turn of the window system's event processing; the engine knows no
// event loop of its own, so the caller hands it in.
using EventTurn = std::function<void()>;

// Replaces find by replacement until no occurrence is left, occurrences that a
// replacement forms with its neighbours included ('aabb', 'ab', '' gives '').
// processEvents, when set, runs once per replacement, before it is made.
// An empty find returns text unchanged; a find that occurs in replacement
// would never run out, so it is replaced in a single left-to-right pass.
std::u16string ReplaceText(std::u16string text, std::u16string find, std::u16string replacement,
                           const EventTurn &processEvents = {});

} // namespace VarloFade
