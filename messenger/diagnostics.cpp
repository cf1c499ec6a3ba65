#include "diagnostics.h"

#include <system_error>

namespace Tarnellbas {

std::string withErrno(std::string_view what, int error)
{
    return std::string(what) + ": " + std::generic_category().message(error) + " (errno " + std::to_string(error)
           + ")";
}

} // namespace Tarnellbas
