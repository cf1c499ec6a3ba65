#include "fade/hextext.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace VarloFade;

TEST(SixDigitHex, PadsToSixAndKeepsLongerTexts)
{
    const struct { std::int32_t value; const char16_t *hex; } cases[] = {
        {0, u"000000"},          {15, u"00000F"},        {255, u"0000FF"},
        {0x1000, u"001000"},     {0xFFFFF, u"0FFFFF"},   {0xFFFFFF, u"FFFFFF"},
        {0x00FF8000, u"FF8000"}, {0x1000000, u"1000000"}, {-1, u"FFFFFFFF"},
        {static_cast<std::int32_t>(0x80000007u), u"80000007"}, {INT32_MIN, u"80000000"},
        {INT32_MAX, u"7FFFFFFF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SixDigitHex(c.value), c.hex) << c.value;
}

TEST(HexDigitValue, OnlyOneUpperCaseDigitCounts)
{
    const char16_t *digits = u"0123456789ABCDEF";
    for (int v = 0; v < 16; ++v)
        EXPECT_EQ(HexDigitValue(std::u16string_view(digits + v, 1)), v);
    for (const char16_t *other : {u"a", u"f", u"G", u"", u"10", u"AA", u" ", u"\u0660", u"\uFF21"})
        EXPECT_EQ(HexDigitValue(other), 0) << "for a digit of length " << std::u16string_view(other).size();
}

TEST(HexToNumber, ReadsEitherCaseInSinglePrecision)
{
    const struct { const char16_t *text; float value; } cases[] = {
        {u"ff", 255.0f},        {u"FF", 255.0f},         {u"0A", 10.0f},         {u"", 0.0f},
        {u"f", 15.0f},          {u"zz", 0.0f},           {u"1G", 16.0f},         {u"fFfFfF", 16777215.0f},
        {u"1234567", 19088744.0f}, {u"FFFFFFFF", 4294967296.0f},
        {u"123456789", 591751040.0f}, // only the last eight characters are read
        {u"xx80", 128.0f},      {u"\u00e9f", 15.0f},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HexToNumber(c.text), c.value);
}
