#pragma once

#include "fakewindowsystem.h"

#include <string>
#include <vector>

namespace Tarnellbas {

// A call in a few words, e.g. "FindChild 65552 0 Edit = 65556"; handles are
// shown as the fake hands them out.
std::string callText(const FakeCall &call);
std::vector<std::string> callTexts(const std::vector<FakeCall> &calls);

} // namespace Tarnellbas
