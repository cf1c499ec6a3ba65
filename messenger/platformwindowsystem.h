#pragma once

#include "messenger/windowsystem.h"

#include <memory>

namespace Tarnellbas {

// The window system AIM runs in: user32 itself on Windows; elsewhere every
// running Wine session of the user, reached through the helper installed
// beside the program (QUORVEX_IM_HELPER names another one). `turn` runs
// while a send waits for a helper, so the program's window keeps working;
// `diagnostics` hears why a step of a send did nothing.
// Keep one for the program's life: each session's helper then starts once.
std::unique_ptr<WindowSystem> makePlatformWindowSystem(WaitTurn turn = {}, Diagnostics diagnostics = {});

} // namespace Tarnellbas
