#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace Tarnellbas {

// Where the messenger link says why a step did nothing: one line of plain
// words for each step that failed or was passed over (a session, a window,
// a call). The link itself shows nothing; the program decides where the
// lines go. Empty: nobody listens.
using Diagnostics = std::function<void(const std::string &line)>;

// "what: the system's words for the error (errno N)".
std::string withErrno(std::string_view what, int error);

} // namespace Tarnellbas
