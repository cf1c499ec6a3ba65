#pragma once

#include "messenger/windowsystem.h"

#include <memory>

namespace Tarnellbas {

// The window system AIM runs in: user32 itself on Windows; elsewhere the Wine
// session of WINEPREFIX (or Wine's default prefix), reached through the helper
// installed beside the program. QUORVEX_IM_HELPER names another helper.
// Keep one for the program's life: the Wine helper then starts only once.
std::unique_ptr<WindowSystem> makePlatformWindowSystem();

} // namespace Tarnellbas
