#include "creditsroll.h"

#include <algorithm>

namespace Credits {

PanelTops rollOneTick(float &RollPosition)
{
    RollPosition = std::max(RollPosition - kRollStep, kRollFloor);
    return {RollPosition, RollPosition + kNamesOffset, RollPosition + kCreatorsOffset};
}

bool handOffDue(double outerHeight, double command3Top)
{
    return outerHeight - kHandOffMark > command3Top;
}

} // namespace Credits
