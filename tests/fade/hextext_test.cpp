#include "fade/hextext.h"

#include <gtest/gtest.h>

using namespace VarloFade;

TEST(HexText, WritesAndReadsColourCodes)
{
    const struct { std::int32_t value; const char16_t *hex; } written[] = {
        {0, u"000000"}, {15, u"00000F"}, {0xFFFFF, u"0FFFFF"}, {0x1000000, u"1000000"}, {-1, u"FFFFFFFF"},
    };
    for (const auto &c : written)
        EXPECT_EQ(SixDigitHex(c.value), c.hex) << c.value;
    const struct { const char16_t *text; float value; } read[] = {
        {u"ff", 255.0f}, {u"0A", 10.0f}, {u"", 0.0f}, {u"1G", 16.0f}, {u"1234567", 19088744.0f},
        {u"123456789", 591751040.0f}, // only the last eight characters are read
    };
    for (const auto &c : read)
        EXPECT_EQ(HexToNumber(c.text), c.value);
}
