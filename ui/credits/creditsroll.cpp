#include "creditsroll.h"

#include <algorithm>

namespace Credits {

PanelTops rollOneTick(float &RollPosition)
{
    RollPosition = std::max(RollPosition - kRollStep, kRollFloor);
    return {RollPosition, RollPosition + kNamesOffset, RollPosition + kCreatorsOffset};
}

void followOuterHeight(float &RollPosition, double &rollOuterHeight, double outerHeightNow)
{
    if (outerHeightNow == rollOuterHeight)
        return;
    RollPosition = std::max(RollPosition + float(outerHeightNow - rollOuterHeight), kRollFloor);
    rollOuterHeight = outerHeightNow;
}

bool handOffDue(double outerHeight, double command3Top)
{
    return outerHeight - kHandOffMark > command3Top;
}

} // namespace Credits
