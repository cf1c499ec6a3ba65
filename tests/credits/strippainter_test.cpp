#include "fade/fadeerror.h"
#include "ui/credits/strippainter.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace Credits;

TEST(StretchFactor, WorkedValuesAndRedraws)
{
    // random 0 gives 0.7, which lies 0.30000000000000004 from 1: it is drawn again.
    const struct { std::vector<double> randoms; double r; std::size_t taken; } cases[] = {
        {{0.0, 0.5}, 1.0, 2}, {{0.0, 0.0, 0.0, 0.25}, 0.85, 4}, {{0.1}, 0.76, 1}, {{0.9}, 1.24, 1},
    };
    for (const auto &c : cases) {
        std::size_t taken = 0;
        EXPECT_DOUBLE_EQ(drawStretchFactor(1, [&] { return c.randoms.at(taken++); }), c.r) << c.randoms[0];
        EXPECT_EQ(taken, c.taken) << c.randoms[0];
    }
}

TEST(RoundToInt16, HalvesToEvenAndOverflowPast32767)
{
    const std::pair<double, int> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto &[value, whole] : cases)
        EXPECT_EQ(roundToInt16(value), whole) << value;
    for (double v : {32767.5, -32768.6, 1e300})
        EXPECT_THROW(roundToInt16(v), VarloFade::OverflowError) << v;
}

TEST(StripGeometry, WorkedStrips)
{
    auto fields = [](const Strip &s) {
        return std::vector<float>{s.x, s.top, s.width, s.height, s.srcX, s.srcY, s.srcWidth, s.srcHeight,
                                  float(s.blackened), s.fillX1, s.fillY1, s.fillX2, s.fillY2};
    };
    // r = 1 spans from the base level down to 3000 unfilled; r = 0.85 over L = 0
    // starts at 450 and is black down to 1500 + 225.
    EXPECT_EQ(fields(stripGeometry(40, 1.0, 400, 3015, 3015)),
              (std::vector<float>{40, 400, 30, 2600, 40, 0, 21, 3015, 0, 0, 0, 0, 0}));
    EXPECT_EQ(fields(stripGeometry(0, 0.85, 0, 3000, 2955)),
              (std::vector<float>{0, 450, 30, 2550, 0, 0, 21, 2955, 1, 0, 0, 30, 1725}));
}
