#pragma once

#include <cstdint>
#include <functional>

namespace Credits {

// Numbers in [0, 1), uniformly distributed.
using RandomSource = std::function<double()>;

// What the credits window keeps between its timer ticks.
struct CreditsState
{
    float RollPosition = 0.0f;          // top of the heading panel, twips
    std::int16_t PreviousFactor = 1;    // last stretch factor, rounded to a whole number
    std::int16_t BaseLevel = 0;         // base line of the picture, 0 to 999
};

} // namespace Credits
