#pragma once

namespace Credits {

inline constexpr float kRollStep = 30.0f;
inline constexpr float kNamesOffset = 700.0f;      // names panel below the heading
inline constexpr float kCreatorsOffset = 3600.0f;  // creators' line below the heading
inline constexpr double kHandOffMark = 3000.0;     // the creators' line must rise this far above the outer bottom

// The roll stops falling here: every panel then stands far above the window
// (the creators' line ends 10665 twips above its top edge), the hand-off test
// still holds for any window, and nothing grows however long the program runs.
inline constexpr float kRollFloor = -15000.0f;

struct PanelTops
{
    float command1;  // "Shout Outs"
    float command2;  // the screen names
    float command3;  // the creators
};

// One step of the roll: RollPosition falls by 30 (no lower than kRollFloor);
// returns where the three panels now stand.
PanelTops rollOneTick(float &RollPosition);

// The platform puts its frame around a window only after it is shown, so the
// outer height the roll started from may grow later. The roll then starts over
// from the new height as if it had been there from load: RollPosition moves by
// the difference, the panels keep their distance to the outer bottom edge, and
// the hand-off stays at the 221st tick. rollOuterHeight takes the new height.
void followOuterHeight(float &RollPosition, double &rollOuterHeight, double outerHeightNow);

// True once the creators' line stands higher than 3000 twips above the
// window's outer bottom edge: time to show the fader window.
bool handOffDue(double outerHeight, double command3Top);

} // namespace Credits
