#include "faderlayout.h"

#include <cstring>

namespace FaderLayout {

const ControlPlace *place(const char *name)
{
    for (const ControlPlace &control : kControls) {
        if (std::strcmp(control.name, name) == 0)
            return &control;
    }
    return nullptr;
}

} // namespace FaderLayout
