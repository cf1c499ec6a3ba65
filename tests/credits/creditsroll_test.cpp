#include "ui/credits/creditsroll.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Credits;

namespace {

// Form_Load, then ticks of the roll until the hand-off test holds.
struct RollRun
{
    int handOffTick = 0;
    PanelTops atHandOff{};
    PanelTops before{};
};

RollRun rollUntilHandOff(double outerHeight)
{
    float RollPosition = float(outerHeight);
    RollRun run;
    for (int tick = 1; tick <= 100000; ++tick) {
        const PanelTops tops = rollOneTick(RollPosition);
        if (handOffDue(outerHeight, tops.command3)) {
            run.handOffTick = tick;
            run.atHandOff = tops;
            return run;
        }
        run.before = tops;
    }
    return run;
}

} // namespace

class CreditsRollHandOff : public testing::TestWithParam<double> {};

TEST_P(CreditsRollHandOff, HappensAtTick221WhateverTheOuterHeight)
{
    const double E = GetParam();
    const RollRun run = rollUntilHandOff(E);
    EXPECT_EQ(run.handOffTick, 221);
    EXPECT_EQ(run.atHandOff.command1, E - 6630);
    EXPECT_EQ(run.atHandOff.command2, E - 5930);
    EXPECT_EQ(run.atHandOff.command3, E - 3030);
    // One tick earlier the creators' line stood exactly on the mark, not above it.
    EXPECT_EQ(run.before.command3, E - 3000);
}

// Client height alone, common title bars at 15 twips a pixel, and tall ones.
INSTANTIATE_TEST_SUITE_P(OuterHeights, CreditsRollHandOff,
                         testing::Values(3000.0, 3390.0, 3435.0, 3495.0, 3600.0, 4515.0, 9000.0, 30000.0));

TEST(CreditsRoll, PanelsKeepTheirDistancesAndFall30PerTick)
{
    float RollPosition = 3450.0f;
    for (int tick = 1; tick <= 300; ++tick) {
        const PanelTops tops = rollOneTick(RollPosition);
        ASSERT_EQ(tops.command1, 3450.0f - 30.0f * tick);
        ASSERT_EQ(tops.command2 - tops.command1, 700.0f);
        ASSERT_EQ(tops.command3 - tops.command1, 3600.0f);
    }
}

TEST(CreditsRoll, HandOffMarkIsStrict)
{
    const struct { double outer, top; bool due; } cases[] = {
        {3450, 450, false}, {3450, 449.99, true}, {3450, 450.01, false},
        {3000, 0, false},   {3000, -1, true},     {3450, -100000, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(handOffDue(c.outer, c.top), c.due) << c.outer << " " << c.top;
}

TEST(CreditsRoll, StopsFallingFarAboveTheWindowAndStillHandsOff)
{
    float RollPosition = 3450.0f;
    PanelTops tops{};
    // About a day of ticks at 16 ms.
    for (int tick = 0; tick < 5'400'000; ++tick)
        tops = rollOneTick(RollPosition);
    EXPECT_EQ(RollPosition, kRollFloor);
    EXPECT_EQ(tops.command1, kRollFloor);
    EXPECT_EQ(tops.command3, kRollFloor + 3600);
    // Every panel, creators' line at the bottom, ends above the top edge.
    EXPECT_LT(tops.command3 + 735, 0.0f);
    for (double outer : {3000.0, 3450.0, 30000.0})
        EXPECT_TRUE(handOffDue(outer, tops.command3));
}

TEST(CreditsRoll, ReachesTheFloorWithoutOvershooting)
{
    float RollPosition = kRollFloor + 45.0f;
    EXPECT_EQ(rollOneTick(RollPosition).command1, kRollFloor + 15.0f);
    EXPECT_EQ(rollOneTick(RollPosition).command1, kRollFloor);
    EXPECT_EQ(rollOneTick(RollPosition).command1, kRollFloor);
}
