#include "ui/credits/creditsroll.h"

#include <gtest/gtest.h>

using namespace Credits;

// The frame arrives after load: the client height first, the outer height
// (title bar and border added) from some tick on. The roll then stands where
// it would have stood had it started from the outer height; with the frame
// known from the first tick, the hand-off comes at tick 221 whatever the height.
TEST(CreditsRoll, StartsFromTheOuterHeightAndHandsOffAtTick221)
{
    const struct { double clientHeight, outerHeight; int arrivesBeforeTick; } frames[] = {
        {3000, 3435, 1}, {3000, 3570, 50}, {3000, 3000, 3}, {3000, 3435, 221}, {30000, 30000, 1}};
    for (const auto &f : frames) {
        SCOPED_TRACE(testing::Message() << f.clientHeight << " then " << f.outerHeight << " from tick "
                                        << f.arrivesBeforeTick);
        double rollOuterHeight = f.clientHeight;
        float RollPosition = float(rollOuterHeight);
        PanelTops tops{};
        int tick = 1;
        for (; tick <= 1000; ++tick) {
            followOuterHeight(RollPosition, rollOuterHeight, tick >= f.arrivesBeforeTick ? f.outerHeight : f.clientHeight);
            tops = rollOneTick(RollPosition);
            if (tick == f.arrivesBeforeTick)
                EXPECT_EQ(tops.command1, f.outerHeight - 30 * tick);
            if (handOffDue(rollOuterHeight, tops.command3))
                break;
        }
        EXPECT_EQ(rollOuterHeight, f.outerHeight);
        EXPECT_EQ(tick, 221);
        EXPECT_EQ(tops.command1, f.outerHeight - 6630);
        EXPECT_EQ(tops.command2, f.outerHeight - 5930);
        EXPECT_EQ(tops.command3, f.outerHeight - 3030);
    }
}

TEST(CreditsRoll, StopsAtTheFloorWithoutOvershootAndStillHandsOff)
{
    float RollPosition = 3465.0f;
    PanelTops tops{};
    for (int tick = 0; tick < 5'400'000; ++tick)  // a day of 16 ms ticks
        tops = rollOneTick(RollPosition);
    EXPECT_EQ(tops.command1, kRollFloor);
    EXPECT_EQ(tops.command3, kRollFloor + 3600);
    EXPECT_LT(tops.command3 + 735, 0.0f);  // every panel above the top edge
    EXPECT_TRUE(handOffDue(30000.0, tops.command3));
}
