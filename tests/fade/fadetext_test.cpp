#include "fade/fadetext.h"

#include <gtest/gtest.h>

using namespace VarloFade;

namespace {

// ColorValues are laid out 0x00BBGGRR.
constexpr ColorValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// The colour digits of piece i of a plain fade.
std::string digits(const std::u16string &html, std::size_t i)
{
    return {html.begin() + 21 * i + 13, html.begin() + 21 * i + 19};
}

} // namespace

TEST(FadeText, ExactOutputs)
{
    const struct { ColorValue c1, c2, c3; std::u16string text; bool wavy; std::u16string html; } cases[] = {
        {kRed, kGreen, kBlue, u"abc", false, u"<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c"},
        {kRed, kGreen, kBlue, u"abc", true,
         u"<Font Color=#808000><sup>a<Font Color=#00FF00></sup>b<Font Color=#0000FF><sub>c"},
        // The space has its own tag and the wave runs on across the split.
        {kRed, kBlue, kWhite, u"ab cd", true,
         u"<Font Color=#800080><sup>a<Font Color=#0000FF></sup>b<Font Color=#5555FF><sub> "
         u"<Font Color=#AAAAFF></sub>c<Font Color=#FFFFFF><sup>d"},
        {kRed, kGreen, kBlue, u"", true, u""},
        {kRed, kGreen, kBlue, u"x", true, u"<Font Color=#0000FF><sup>x"},
        {kRed, kGreen, kBlue, u"<\r", false, u"<Font Color=#00FF00><<Font Color=#0000FF>\r"},
        {0, 5, 5, u"abcd", false, u"<Font Color=#020000>a<Font Color=#050000>b<Font Color=#050000>c<Font Color=#050000>d"},
        // A system colour reference reads as red 07, green 00, blue 80; seven digits as 67, 34, 12.
        {0, static_cast<ColorValue>(0x80000007u), 0x1234567, u"ab", false,
         u"<Font Color=#070080>a<Font Color=#673412>b"},
        // A surrogate pair is one character; lone halves are one each.
        {kRed, kGreen, kBlue, u"a\U0001F600b", true,
         u"<Font Color=#808000><sup>a<Font Color=#00FF00></sup>\U0001F600<Font Color=#0000FF><sub>b"},
        {kRed, kGreen, kBlue, {u'a', char16_t(0xDC00), char16_t(0xD800)}, false,
         u"<Font Color=#808000>a<Font Color=#00FF00>\xDC00<Font Color=#0000FF>\xD800"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FadeText(c.c1, c.c2, c.c3, c.text, c.wavy), c.html);
}

TEST(FadeText, SplitsHalfToEvenInSinglePrecision)
{
    // Colour 2 marks the last character of the first part: 5 splits 2 + 3, 7 4 + 3, 9 4 + 5, 11 6 + 5.
    for (const auto &[n, k] : {std::pair{5, 2}, {7, 4}, {9, 4}, {11, 6}})
        EXPECT_EQ(digits(FadeText(kRed, kGreen, kBlue, std::u16string(n, u'x'), false), k - 1), "00FF00") << n;
    // A part of 14 characters, red 0 to 255: 7 x 18.21428490f is 127.49999237f.
    const std::u16string html = FadeText(0, 0, 0x0000FF, std::u16string(28, u'x'), false);
    const char *red[] = {"12", "24", "37", "49", "5B", "6D", "7F", "92", "A4", "B6", "C8", "DB", "ED", "FF"};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(digits(html, 14 + i).substr(0, 2), red[i]) << i;
}

TEST(FadeText, LongestTextAndOneMore)
{
    const std::u16string html = FadeText(kRed, kGreen, kBlue, std::u16string(kMaxFadeUnits, u'x'), false);
    ASSERT_EQ(html.size(), 21 * kMaxFadeUnits);
    EXPECT_EQ(digits(html, 16383), "00FF00"); // split 16,384 + 16,383
    EXPECT_THROW(FadeText(kRed, kGreen, kBlue, std::u16string(kMaxFadeUnits + 1, u'x'), true), OverflowError);
    // The limit counts units, not characters.
    EXPECT_THROW(FadeText(0, 0, 0, std::u16string(kMaxFadeUnits - 1, u'x') + u"\U0001F600", false), OverflowError);
    EXPECT_THROW(FadeChannels(256, 0, 0, 0, 0, 0, 0, 0, -1, u"x", false), std::out_of_range);
}
