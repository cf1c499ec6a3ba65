#include "recordingcanvas.h"

#include "fade/fadeerror.h"
#include "ui/credits/strippainter.h"
#include "ui/credits/timeofdayrandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Credits;

namespace {

RandomSource from(ScriptedRandom &script)
{
    return [&script] { return script(); };
}

} // namespace

TEST(StretchFactor, WorkedValuesAndRedraws)
{
    // random 0 gives 1 - 0.3, which is 0.7 and lies 0.30000000000000004 from 1:
    // it is drawn again.
    const struct { std::vector<double> randoms; double r; std::size_t taken; } cases[] = {
        {{0.0, 0.5}, 1.0, 2}, {{0.0, 0.0, 0.0, 0.25}, 0.85, 4}, {{0.5}, 1.0, 1}, {{0.25}, 0.85, 1},
        {{0.75}, 1.15, 1},    {{0.1}, 0.76, 1},                 {{0.9}, 1.24, 1},
    };
    for (const auto &c : cases) {
        ScriptedRandom script(c.randoms);
        EXPECT_DOUBLE_EQ(drawStretchFactor(1, from(script)), c.r) << c.randoms[0];
        EXPECT_EQ(script.taken(), c.taken) << c.randoms[0];
    }
}

TEST(StretchFactor, EveryOtherDrawIsKept)
{
    for (int k = 1; k < 100000; ++k) {
        ScriptedRandom script({k / 100000.0, 0.5});
        const double r = drawStretchFactor(1, from(script));
        ASSERT_EQ(script.taken(), 1u) << k;
        ASSERT_GT(r, 0.7);
        ASSERT_LT(r, 1.3);
    }
    ScriptedRandom top({std::nextafter(1.0, 0.0)});
    EXPECT_LT(drawStretchFactor(1, from(top)), 1.3);
    EXPECT_EQ(top.taken(), 1u);
}

TEST(RoundToInt16, HalvesGoToTheEvenNeighbour)
{
    const struct { double value; int whole; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {0.7, 1}, {1.2999, 1},
        {0.7000000000000001, 1}, {1.0, 1}, {32767.4, 32767}, {-32768.5, -32768}, {-32767.6, -32768},
    };
    for (const auto &c : cases)
        EXPECT_EQ(roundToInt16(c.value), c.whole) << c.value;
}

TEST(RoundToInt16, OutOfRangeIsAnOverflow)
{
    for (double v : {32767.5, 40000.0, -32768.6, -1e300, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()})
        EXPECT_THROW(roundToInt16(v), VarloFade::OverflowError) << v;
}

TEST(BaseLevel, WholePartOfAThousandths)
{
    const struct { double random; int level; } cases[] = {
        {0.0, 0}, {0.0009999, 0}, {0.001, 1}, {0.5, 500}, {0.9999, 999},
        {std::nextafter(1.0, 0.0), 999},
    };
    for (const auto &c : cases)
        EXPECT_EQ(baseLevelFrom(c.random), c.level) << c.random;
}

TEST(BaseLevel, StaysWithin0To999FromTheWindowsGenerator)
{
    TimeOfDayRandom random(12345);
    int lowest = 1000, highest = -1;
    for (int i = 0; i < 1'000'000; ++i) {
        const int level = baseLevelFrom(random());
        lowest = std::min(lowest, level);
        highest = std::max(highest, level);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 999);
}

TEST(TimeOfDayRandom, UniformInHalfOpenUnitInterval)
{
    TimeOfDayRandom a(7), b(7);
    double sum = 0;
    int buckets[10] = {};
    constexpr int n = 200000;
    for (int i = 0; i < n; ++i) {
        const double v = a();
        ASSERT_EQ(v, b()) << "same seed, same numbers";
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        sum += v;
        ++buckets[int(v * 10)];
    }
    EXPECT_NEAR(sum / n, 0.5, 0.01);
    for (int count : buckets)
        EXPECT_NEAR(count, n / 10, n / 100);
    const auto seconds = secondsSinceMidnight();
    EXPECT_LT(seconds, 86400u + 1);  // a leap second may read 60
}

TEST(StripGeometry, WorkedStrips)
{
    const struct { double x, r, L, H, S; Strip strip; } cases[] = {
        // r = 1: the strip spans from the base level down to 3000, no fill.
        {40, 1.0, 400, 3015, 3015, {40, 400, 30, 2600, 40, 0, 21, 3015, false, 0, 0, 0, 0}},
        // r = 0.85, L = 0, H = 3000: top 450, black down to 1500 + 225.
        {0, 0.85, 0, 3000, 2955, {0, 450, 30, 2550, 0, 0, 21, 2955, true, 0, 0, 30, 1725}},
        // r = 1.2, L = 600, H = 3000: the top rises by 0.2 of the 2400 left below L.
        {4440, 1.2, 600, 3000, 3015, {4440, 120, 30, 2880, 4440, 0, 21, 3015, false, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.r);
        const Strip s = stripGeometry(c.x, c.r, c.L, c.H, c.S), &e = c.strip;
        const float got[] = {s.x, s.top, s.width, s.height, s.srcX, s.srcY, s.srcWidth, s.srcHeight};
        const float want[] = {e.x, e.top, e.width, e.height, e.srcX, e.srcY, e.srcWidth, e.srcHeight};
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(got[i], want[i]) << i;
        ASSERT_EQ(s.blackened, e.blackened);
        if (e.blackened) {
            EXPECT_EQ(s.fillX1, e.fillX1);
            EXPECT_EQ(s.fillY1, e.fillY1);
            EXPECT_EQ(s.fillX2, e.fillX2);
            EXPECT_EQ(s.fillY2, e.fillY2);
        }
    }
    // The fill's base line is 1500 whatever the level.
    EXPECT_FLOAT_EQ(stripGeometry(0, 0.9, 999, 3015, 3015).fillY2, float(1500 + 3015 * 0.1 / 2));
    EXPECT_FLOAT_EQ(stripGeometry(0, 0.9, 0, 3015, 3015).fillY2, float(1500 + 3015 * 0.1 / 2));
}

TEST(PaintStrips, OneStripEvery20UnitsOverlappingBy10)
{
    RecordingCanvas canvas;  // Main 4455 x 3015
    CreditsState state;
    state.BaseLevel = 321;
    TimeOfDayRandom random(99);
    paintStrips(canvas, state, [&] { return random(); });

    const auto paints = canvas.paints();
    ASSERT_EQ(paints.size(), 223u);  // x = 0, 20, ..., 4440
    for (std::size_t i = 0; i < paints.size(); ++i) {
        const auto &p = paints[i].a;
        EXPECT_EQ(p[0], 20.0f * i);
        EXPECT_EQ(p[2], 30.0f);
        EXPECT_NEAR(p[1] + p[3], 3000.0f, 0.001f);  // every strip ends at the band's bottom
        EXPECT_EQ(p[4], 20.0f * i);
        EXPECT_EQ(p[5], 0.0f);
        EXPECT_EQ(p[6], 21.0f);
        EXPECT_EQ(p[7], 3015.0f);
        // Between 0.7 and 1.3 of the height below L.
        EXPECT_GE(p[1], 321 - 3015 * 0.3 / 3000 * (3000 - 321) - 0.01);
        EXPECT_LE(p[1], 321 + 3015 * 0.3 / 3000 * (3000 - 321) + 0.01);
    }
    EXPECT_EQ(state.PreviousFactor, 1);
    EXPECT_EQ(state.BaseLevel, 321);
}

TEST(PaintStrips, BlackFillFollowsOnlyStripsBelowFactorOne)
{
    RecordingCanvas canvas;
    canvas.width = 100;  // six strips
    canvas.height = 3000;
    CreditsState state;
    // Factors 0.85, 1.15, 1.0, 0.76, 1.24, 0.97
    ScriptedRandom script({0.25, 0.75, 0.5, 0.1, 0.9, 0.45});
    paintStrips(canvas, state, from(script));

    ASSERT_EQ(canvas.calls.size(), 6u + 3u);
    const RecordingCanvas::Call::Kind P = RecordingCanvas::Call::Paint, F = RecordingCanvas::Call::Fill;
    const RecordingCanvas::Call::Kind expected[] = {P, F, P, P, P, F, P, P, F};
    for (std::size_t i = 0; i < canvas.calls.size(); ++i)
        EXPECT_EQ(canvas.calls[i].kind, expected[i]) << i;
    const auto fills = canvas.fills();
    const struct { float x; double r; } filled[] = {{0, 0.85}, {60, 0.76}, {100, 0.97}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fills[i].a[0], filled[i].x);
        EXPECT_EQ(fills[i].a[1], 0.0f);
        EXPECT_EQ(fills[i].a[2], filled[i].x + 30);
        EXPECT_NEAR(fills[i].a[3], 1500 + 3000 * (1 - filled[i].r) / 2, 0.01);
        EXPECT_EQ(fills[i].color, 0);
    }
    EXPECT_EQ(state.PreviousFactor, 1);
}

TEST(PaintStrips, StripCountFollowsTheInnerWidth)
{
    const struct { double width; std::size_t strips; } cases[] = {
        {-1, 0}, {0, 1}, {19, 1}, {20, 2}, {39.99, 2}, {40, 3}, {4455, 223}, {4460, 224},
    };
    for (const auto &c : cases) {
        RecordingCanvas canvas;
        canvas.width = c.width;
        CreditsState state;
        ScriptedRandom script({0.3});
        paintStrips(canvas, state, from(script));
        EXPECT_EQ(canvas.paints().size(), c.strips) << c.width;
    }
}
