#include "cli/colorargument.h"

#include <gtest/gtest.h>

TEST(ColorArgument, HtmlOrderAndRawSettings)
{
    const struct { const char *text; std::optional<qint64> value; } cases[] = {
        {"#FF0000", 0x0000FF},      {"#00ff00", 0x00FF00},     {"#0000FF", 0xFF0000},
        {"#123456", 0x563412},      {"0x80000007", static_cast<qint32>(0x80000007u)},
        {"0XFFFFFFFF", -1},         {"0x0", 0},                {"0xff", 0xFF},
        {"", std::nullopt},         {"#FFF", std::nullopt},    {"#GG0000", std::nullopt},
        {"FF0000", std::nullopt},   {"0x", std::nullopt},      {"0x123456789", std::nullopt},
        {"#FF0000 ", std::nullopt}, {"red", std::nullopt},     {"-0x1", std::nullopt},
    };
    for (const auto &c : cases) {
        const auto parsed = parseColorArgument(QString::fromUtf8(c.text));
        EXPECT_EQ(parsed.has_value(), c.value.has_value()) << c.text;
        if (parsed && c.value) {
            EXPECT_EQ(*parsed, *c.value) << c.text;
        }
    }
}
