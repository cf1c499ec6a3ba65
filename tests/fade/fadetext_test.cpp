#include "fade/fadetext.h"

#include "fadereference.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

using namespace VarloFade;

namespace {

// ColorValues are laid out 0x00BBGGRR.
constexpr ColorValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
constexpr ColorValue kSystemMenuText = static_cast<ColorValue>(0x80000007u);

std::string narrow(const std::u16string &s)
{
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// The colour digits of every piece, in order.
std::vector<std::string> digitsOf(const std::u16string &html)
{
    const std::string s = narrow(html);
    static const std::regex tag("<Font Color=#([0-9A-F]{6})>");
    std::vector<std::string> digits;
    for (auto it = std::sregex_iterator(s.begin(), s.end(), tag); it != std::sregex_iterator(); ++it)
        digits.push_back((*it)[1]);
    return digits;
}

} // namespace

TEST(FadeText, WorkedExamples)
{
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, u"abc", false),
              u"<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c");
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, u"abc", true),
              u"<Font Color=#808000><sup>a<Font Color=#00FF00></sup>b<Font Color=#0000FF><sub>c");
    // The space has its own tag and the wave runs on across the split.
    EXPECT_EQ(FadeText(kRed, kBlue, kWhite, u"ab cd", true),
              u"<Font Color=#800080><sup>a<Font Color=#0000FF></sup>b<Font Color=#5555FF><sub> "
              u"<Font Color=#AAAAFF></sub>c<Font Color=#FFFFFF><sup>d");
}

TEST(FadeText, ShortTexts)
{
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, u"", false), u"");
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, u"", true), u"");
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, u"x", false), u"<Font Color=#0000FF>x");
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, u"x", true), u"<Font Color=#0000FF><sup>x");
    // Colour 1 is only the starting point: two characters show colours 2 and 3.
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, u"xy", false), u"<Font Color=#00FF00>x<Font Color=#0000FF>y");
}

TEST(FadeText, SplitsHalfToEven)
{
    // Colour 2 marks the last character of the first part.
    const int firstPart[] = {0, 0, 1, 2, 2, 2, 3, 4, 4, 4, 5, 6, 6, 6};
    for (int n = 1; n < 14; ++n) {
        const auto digits = digitsOf(FadeText(kRed, kGreen, kBlue, std::u16string(n, u'x'), false));
        ASSERT_EQ(digits.size(), static_cast<std::size_t>(n));
        const int k = firstPart[n];
        if (k > 0)
            EXPECT_EQ(digits[k - 1], "00FF00") << "n = " << n;
        EXPECT_EQ(digits[n - 1], "0000FF") << "n = " << n;
        for (int i = 0; i < n; ++i)
            if (i != k - 1)
                EXPECT_NE(digits[i], "00FF00") << "n = " << n << ", character " << i + 1;
    }
}

TEST(FadeText, SinglePrecisionDecidesNearHalves)
{
    // A part of 14 characters, red 0 to 255: 7 x 18.21428490f is 127.49999237f.
    const auto digits = digitsOf(FadeText(0, 0, 0x0000FF, std::u16string(28, u'x'), false));
    const char *red[] = {"12", "24", "37", "49", "5B", "6D", "7F", "92", "A4", "B6", "C8", "DB", "ED", "FF"};
    ASSERT_EQ(digits.size(), 28u);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(digits[i], "000000");
        EXPECT_EQ(digits[14 + i].substr(0, 2), red[i]) << "character " << i + 1 << " of the second part";
    }
}

TEST(FadeText, TiesGoToTheEvenNeighbour)
{
    // Two characters in each part, red 0 to 5 and on to 5: 2.5 gives 2.
    const auto digits = digitsOf(FadeText(0, 5, 5, u"abcd", false));
    EXPECT_EQ(digits, (std::vector<std::string>{"020000", "050000", "050000", "050000"}));
    // 127.5 gives 128, 3.5 gives 4.
    EXPECT_EQ(digitsOf(FadeText(0, 0xFF, 0xFF, u"abcd", false)).front(), "800000");
    EXPECT_EQ(digitsOf(FadeText(0, 7, 7, u"abcd", false)).front(), "040000");
}

TEST(FadeText, SystemColourReferencesGoThroughTheHexText)
{
    const std::u16string html = FadeText(kSystemMenuText, kSystemMenuText, kSystemMenuText, u"hi!", true);
    for (const auto &d : digitsOf(html))
        EXPECT_EQ(d, "070080");
    EXPECT_EQ(html.substr(0, 20), u"<Font Color=#070080>");
    // Seven digits: first two, third and fourth, last two.
    EXPECT_EQ(digitsOf(FadeText(0x1234567, 0x1234567, 0x1234567, u"z", false)).front(), "673412");
}

TEST(FadeText, EveryCharacterIsCopiedWithItsOwnTag)
{
    const std::u16string text = u"<a&b>\t\r\n \u00e9\u20ac";
    const std::u16string plain = FadeText(kRed, kRed, kRed, text, false);
    ASSERT_EQ(plain.size(), 21 * text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_EQ(plain.substr(21 * i, 20), u"<Font Color=#FF0000>");
        EXPECT_EQ(plain[21 * i + 20], text[i]);
    }
    EXPECT_EQ(narrow(plain).find("sup"), std::string::npos);
    EXPECT_EQ(narrow(plain).find("sub"), std::string::npos);
}

TEST(FadeText, WaveCycleRunsOverTheWholeText)
{
    const std::u16string html = FadeText(kRed, kGreen, kBlue, u"abcdefghi", true);
    const std::string s = narrow(html);
    static const std::regex piece("<Font Color=#[0-9A-F]{6}>(</?su[pb]>)([a-i])");
    std::vector<std::string> tags;
    for (auto it = std::sregex_iterator(s.begin(), s.end(), piece); it != std::sregex_iterator(); ++it)
        tags.push_back((*it)[1]);
    EXPECT_EQ(tags, (std::vector<std::string>{"<sup>", "</sup>", "<sub>", "</sub>", "<sup>", "</sup>", "<sub>",
                                              "</sub>", "<sup>"}));
    EXPECT_EQ(html.size(), 9 * 21 + 5 * 5 + 4 * 6u);
}

TEST(FadeText, LongestTextAndOneMore)
{
    const std::u16string longest(kMaxFadeUnits, u'x');
    const auto digits = digitsOf(FadeText(kRed, kGreen, kBlue, longest, false));
    ASSERT_EQ(digits.size(), kMaxFadeUnits);
    EXPECT_EQ(digits[16383], "00FF00"); // split 16,384 + 16,383
    EXPECT_EQ(digits.back(), "0000FF");

    const std::u16string tooLong(kMaxFadeUnits + 1, u'x');
    EXPECT_THROW(FadeText(kRed, kGreen, kBlue, tooLong, false), OverflowError);
    try {
        FadeText(kRed, kGreen, kBlue, tooLong, true);
        FAIL() << "no overflow";
    } catch (const OverflowError &e) {
        EXPECT_STREQ(e.what(), "Overflow");
    }
}

TEST(FadeText, SurrogatePairIsOneCharacter)
{
    // "a", U+1F600, "b": three characters, split 2 + 1, the pair kept whole.
    const std::u16string text = u"a\U0001F600b";
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, text, true),
              u"<Font Color=#808000><sup>a<Font Color=#00FF00></sup>\U0001F600<Font Color=#0000FF><sub>b");
    // Lone halves stay single units, each with its own tag.
    const std::u16string lone = {u'a', char16_t(0xDC00), char16_t(0xD800)};
    EXPECT_EQ(FadeText(kRed, kGreen, kBlue, lone, false), reference::fade(kRed, kGreen, kBlue, lone, false));
    // The limit still counts units.
    std::u16string pairs;
    for (std::size_t i = 0; i < (kMaxFadeUnits + 1) / 2; ++i)
        pairs += u"\U0001F600";
    EXPECT_THROW(FadeText(0, 0, 0, pairs, false), OverflowError);
}

TEST(FadeText, MatchesTheStepByStepFadeOnRandomInput)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 300; ++round) {
        const int colors[3] = {static_cast<int>(rng()), static_cast<int>(rng() & 0xFFFFFF),
                               static_cast<int>(rng() % 3 == 0 ? 0x80000000u + rng() % 31 : rng() & 0xFFFFFF)};
        std::u16string text(rng() % 200, u' ');
        for (auto &c : text)
            c = static_cast<char16_t>(0x20 + rng() % 0xD000);
        const bool wavy = rng() & 1;
        ASSERT_EQ(FadeText(colors[0], colors[1], colors[2], text, wavy),
                  reference::fade(colors[0], colors[1], colors[2], text, wavy))
            << "round " << round;
    }
}

TEST(FadeChannels, RejectsChannelsOutsideAByte)
{
    EXPECT_THROW(FadeChannels(256, 0, 0, 0, 0, 0, 0, 0, 0, u"x", false), std::out_of_range);
    EXPECT_THROW(FadeChannels(0, 0, 0, 0, 0, 0, 0, 0, -1, u"x", false), std::out_of_range);
    EXPECT_EQ(FadeChannels(1, 2, 3, 4, 5, 6, 255, 128, 0, u"x", false), u"<Font Color=#FF8000>x");
}
