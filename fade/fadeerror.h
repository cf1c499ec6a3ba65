#pragma once

#include <cstdint>
#include <stdexcept>

namespace VarloFade {

// A colour laid out 0x00BBGGRR, red in the low byte; values with the top bit
// set are system colour references (0x80000000 + GetSysColor index).
using ColorValue = std::int32_t;

// Raised when a length or value does not fit the 16-bit or 32-bit integer
// that holds it; the message is the one the user sees.
class OverflowError : public std::overflow_error
{
public:
    OverflowError() : std::overflow_error("Overflow") {}
};

} // namespace VarloFade
