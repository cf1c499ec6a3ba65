#pragma once

#include "messenger/windowsystem.h"

#include <cstdio>

namespace Tarnellbas {

// The helper's side of the line protocol: greets, then answers each request
// from `in` with a call on `windows` until `in` ends. Both streams must be in
// binary mode.
void serveWindowSystem(WindowSystem &windows, std::FILE *in, std::FILE *out);

} // namespace Tarnellbas
