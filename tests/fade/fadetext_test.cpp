// The fade as text: hex digits, FadeText, the fade through stops in each blend
// and markup, and ReplaceText.
#include "fade/fadestops.h"
#include "fade/fadetext.h"
#include "fade/hextext.h"
#include "fade/replacetext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace VarloFade;

namespace {

// ColorValues are laid out 0x00BBGGRR.
constexpr ColorValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;
constexpr ColorValue kSystem = static_cast<ColorValue>(0x80000007u); // a system colour reference
const std::vector<ColorValue> kRgb = {kRed, kGreen, kBlue};

// The red digits of every piece of a plain AIM fade, each followed by a space.
std::string reds(const std::u16string &html)
{
    std::string digits;
    for (std::size_t at = 13; at < html.size(); at += 21)
        digits += std::string(html.begin() + at, html.begin() + at + 2) + " ";
    return digits;
}

// Ten stops whose red runs 0, 20, 40 ...
const std::vector<ColorValue> kTenReds = {0, 20, 40, 60, 80, 100, 120, 140, 160, 180};

} // namespace

TEST(HexText, WritesAndReadsColourCodes)
{
    for (const auto &[value, hex] : {std::pair<std::int32_t, std::u16string_view>{0, u"000000"}, {15, u"00000F"},
                                     {0xFFFFF, u"0FFFFF"}, {0x1000000, u"1000000"}, {-1, u"FFFFFFFF"}})
        EXPECT_EQ(SixDigitHex(value), hex) << value;
    // Only the last eight characters are read.
    for (const auto &[text, value] : {std::pair<std::u16string_view, float>{u"ff", 255.0f}, {u"0A", 10.0f}, {u"", 0.0f},
                                      {u"1G", 16.0f}, {u"1234567", 19088744.0f}, {u"123456789", 591751040.0f}})
        EXPECT_EQ(HexToNumber(text), value) << value;
}

TEST(FadeText, ExactOutputsAndTheLongestText)
{
    // Red, green and blue unless a row gives its own colours.
    const struct { std::u16string text; bool wavy; std::u16string html; std::vector<ColorValue> rgb = kRgb; } cases[] = {
        {u"abc", false, u"<Font Color=#808000>a<Font Color=#00FF00>b<Font Color=#0000FF>c"},
        {u"abc", true, u"<Font Color=#808000><sup>a<Font Color=#00FF00></sup>b<Font Color=#0000FF><sub>c"},
        // The space has its own tag and the wave runs on across the split.
        {u"ab cd", true, u"<Font Color=#800080><sup>a<Font Color=#0000FF></sup>b<Font Color=#5555FF><sub> "
                         u"<Font Color=#AAAAFF></sub>c<Font Color=#FFFFFF><sup>d", {kRed, kBlue, kWhite}},
        {u"", true, u""},
        {u"x", true, u"<Font Color=#0000FF><sup>x"},
        {u"<\r", false, u"<Font Color=#00FF00><<Font Color=#0000FF>\r"},
        {u"abcd", false, u"<Font Color=#020000>a<Font Color=#050000>b<Font Color=#050000>c<Font Color=#050000>d",
         {0, 5, 5}},
        // A system colour reference reads as red 07, green 00, blue 80; seven digits as 67, 34, 12.
        {u"ab", false, u"<Font Color=#070080>a<Font Color=#673412>b", {0, kSystem, 0x1234567}},
        // A surrogate pair is one character; lone halves are one each.
        {u"a\U0001F600b", true,
         u"<Font Color=#808000><sup>a<Font Color=#00FF00></sup>\U0001F600<Font Color=#0000FF><sub>b"},
        {{u'a', char16_t(0xDC00), char16_t(0xD800)}, false,
         u"<Font Color=#808000>a<Font Color=#00FF00>\xDC00<Font Color=#0000FF>\xD800"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FadeText(c.rgb[0], c.rgb[1], c.rgb[2], c.text, c.wavy), c.html);
    EXPECT_THROW(FadeText(kRed, kGreen, kBlue, std::u16string(kMaxFadeUnits + 1, u'x'), true), OverflowError);
    // The limit counts units, not characters.
    EXPECT_THROW(FadeText(0, 0, 0, std::u16string(kMaxFadeUnits - 1, u'x') + u"\U0001F600", false), OverflowError);
    EXPECT_THROW(FadeChannels(256, 0, 0, 0, 0, 0, 0, 0, 0, u"x", false), std::out_of_range);
}

TEST(FadeText, SplitsHalfToEvenInSinglePrecision)
{
    // Red reaches 00 at the last character of the first part: 5 splits 2 + 3, 7 4 + 3, 9 4 + 5, 11 6 + 5.
    for (const auto &[n, k] : {std::pair<std::size_t, std::size_t>{5, 2}, {7, 4}, {9, 4}, {11, 6}})
        EXPECT_EQ(reds(FadeText(kRed, kGreen, kBlue, std::u16string(n, u'x'), false)).find("00"), 3 * (k - 1)) << n;
    // A part of 14 characters, red 0 to 255: 7 x 18.21428490f is 127.49999237f.
    EXPECT_EQ(reds(FadeText(0, 0, kRed, std::u16string(28, u'x'), false)).substr(3 * 14),
              "12 24 37 49 5B 6D 7F 92 A4 B6 C8 DB ED FF ");
}

TEST(FadeStops, ThreeStopsAreFadeText)
{
    const std::u16string texts[] = {
        u"", u"x", u"ab", u"abc", u"ab cd", u"Quorvex Aim Fader", std::u16string(28, u'x'), u"line one\r\nline two\r",
        u"a\U0001F600b\U0001F601", {u'a', char16_t(0xDC00), char16_t(0xD800)}, std::u16string(kMaxFadeUnits, u'q'),
    };
    // The second colours are read from their hex text, as FadeText reads them.
    for (const auto &c : {kRgb, std::vector<ColorValue>{0, kSystem, 0x1234567}})
        for (const auto &text : texts)
            for (bool wavy : {false, true})
                ASSERT_EQ(FadeStops(c, text, wavy), FadeText(c[0], c[1], c[2], text, wavy))
                    << text.size() << " units, wavy " << wavy;
}

TEST(FadeStops, SplitsIntoPartsAtTheNearestCharacterHalvesToEven)
{
    const struct { std::vector<ColorValue> stops; std::size_t n; std::string reds; } cases[] = {
        {{0, 5}, 2, "02 05 "},     // one part: 2.5 goes to 2
        {{0, 0xFF}, 1, "FF "},     // the only character has the last stop
        // 9 parts of 13: ends at 1.44, 2.89, 4.33, 5.78, 7.22, 8.67, 10.11, 11.56, 13 give 1 2 1 2 1 2 1 2 1.
        {kTenReds, 13, "14 1E 28 3C 46 50 64 6E 78 8C 96 A0 B4 "},
        // 9 parts of 5 end at 1, 1, 2, 2, 3, 3, 4, 4, 5: the empty parts are skipped.
        {kTenReds, 5, "14 3C 64 8C B4 "},
        // 4 parts of 2 end at 0.5 (to 0), 1, 1.5 (to 2), 2: the characters end parts 2 and 3.
        {{0, 10, 20, 30, 40}, 2, "14 1E "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(reds(FadeStops(c.stops, std::u16string(c.n, u'x'), false)), c.reds) << c.stops.size() << " " << c.n;
    EXPECT_THROW(FadeStops(std::vector<ColorValue>(1), u"x", false), std::invalid_argument);
    EXPECT_THROW(FadeStops(std::vector<ColorValue>(11), u"x", false), std::invalid_argument);
}

TEST(Oklab, PublishedCoordinatesAndRoundTrips)
{
    const struct { Rgb8 rgb; double L, a, b; } known[] = {
        {{255, 255, 255}, 1.0, 0.0, 0.0},
        {{0, 0, 0}, 0.0, 0.0, 0.0},
        {{128, 128, 128}, 0.59987, 0.0, 0.0},
        {{255, 0, 0}, 0.627955, 0.224863, 0.125846},
        {{0, 0, 255}, 0.452014, -0.032457, -0.311528},
    };
    for (const auto &k : known) {
        const Oklab lab = OklabFromRgb8(k.rgb);
        EXPECT_TRUE(std::abs(lab.L - k.L) < 5e-6 && std::abs(lab.a - k.a) < 5e-6 && std::abs(lab.b - k.b) < 5e-6)
            << int(k.rgb.red) << ": " << lab.L << " " << lab.a << " " << lab.b;
    }
    // Every grey, and colours at the ends of each channel and in its middle.
    const auto roundTrips = [](int r, int g, int b) {
        const Rgb8 colour{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b)};
        EXPECT_EQ(Rgb8FromOklab(OklabFromRgb8(colour)), colour) << r << " " << g << " " << b;
    };
    for (int v = 0; v < 256; ++v)
        roundTrips(v, v, v);
    for (int r : {0, 1, 127, 128, 254, 255})
        for (int g : {0, 1, 127, 128, 254, 255})
            for (int b : {0, 1, 127, 128, 254, 255})
                roundTrips(r, g, b);
    // Rounding to 8 bits: to the nearest sRGB value, out of gamut to 0 or 255.
    EXPECT_EQ(Rgb8FromOklab({0.5, 0.0, 0.0}), (Rgb8{99, 99, 99})); // 255 * sRGB(0.125) = 99.04
    EXPECT_EQ(Rgb8FromOklab({1.5, 0.0, 0.0}), (Rgb8{255, 255, 255}));
    EXPECT_EQ(Rgb8FromOklab({0.6, 0.3, 0.0}), (Rgb8{249, 0, 121}));   // 249.42, -0.0 (clamped), 120.89
    EXPECT_EQ(Rgb8FromOklab({0.7, 0.3, 0.0}), (Rgb8{255, 0, 151}));   // linear red 1.32, green -0.02
}

TEST(Oklab, AlongConesIsEachPointOnItsOwn)
{
    // Lines of several blocks of points, in gamut, leaving it on both sides,
    // one that does not move and one of NaN: each point is Rgb8FromCone of i * step + start.
    const struct { OklabCone start, end; std::size_t count; } lines[] = {
        {ConeFromRgb8({0, 0, 255}), ConeFromRgb8({255, 255, 0}), 300},
        {ConeFromRgb8({3, 200, 17}), ConeFromRgb8({250, 9, 140}), 129},
        {{-0.2, 0.1, 0.4}, {1.3, 0.9, -0.1}, 200},
        {ConeFromRgb8({7, 8, 9}), ConeFromRgb8({7, 8, 9}), 65},
        {{std::nan(""), 0.5, 0.5}, {0.5, 0.5, 0.5}, 3},
    };
    for (const auto &line : lines) {
        std::vector<Rgb8> along(line.count);
        Rgb8AlongCones(line.start, line.end, line.count, along.data());
        for (std::size_t i = 1; i <= line.count; ++i) {
            const auto at = [&](double from, double to) { return double(i) * ((to - from) / double(line.count)) + from; };
            ASSERT_EQ(along[i - 1], Rgb8FromCone({at(line.start.l, line.end.l), at(line.start.m, line.end.m),
                                                  at(line.start.s, line.end.s)})) << line.count << " points, point " << i;
        }
    }
}

TEST(Oklab, BlendsWithoutTheGreyMiddleAndEqualStopsStay)
{
    // Red to green: sRGB passes through a dark 80 80 00; OKLab keeps it light (208.16, 168.39, 0.45).
    const std::vector<ColorValue> redGreen = {kRed, kGreen};
    EXPECT_EQ(FadeStops(redGreen, u"ab", false), u"<Font Color=#808000>a<Font Color=#00FF00>b");
    EXPECT_EQ(FadeStops(redGreen, u"ab", false, FadeBlend::Oklab), u"<Font Color=#D0A800>a<Font Color=#00FF00>b");
    for (ColorValue c : {0, kWhite, 0x010203, kSystem, 0x7F807F}) {
        const std::vector<ColorValue> same(10, c);
        EXPECT_EQ(FadeStops(same, u"a few characters", true, FadeBlend::Oklab),
                  FadeStops(same, u"a few characters", true, FadeBlend::Srgb)) << c;
    }
}

TEST(FadeMarkup, WorkedExamplesAndCharactersAtTheEdgesOfTheSurrogates)
{
    using enum FadeMarkup;
    const auto span = [](std::u16string colour, std::u16string text) {
        return u"<span style=\"color:#" + colour + u"\">" + text + u"</span>";
    };
    const struct { std::u16string text; bool wavy; FadeMarkup markup; std::u16string out; } cases[] = {
        {u"abc", true, BbCode,
         u"[sup][color=#808000]a[/color][/sup][color=#00FF00]b[/color][sub][color=#0000FF]c[/color][/sub]"},
        {u"a\U0001F600b", false, BbCode,
         u"[color=#808000]a[/color][color=#00FF00]\U0001F600[/color][color=#0000FF]b[/color]"},
        {u"<&>", false, Html, span(u"808000", u"&lt;") + span(u"00ff00", u"&amp;") + span(u"0000ff", u"&gt;")},
        {u"a\U0001F600b", true, Html,
         u"<sup>" + span(u"808000", u"a") + u"</sup>" + span(u"00ff00", u"\U0001F600") + u"<sub>" + span(u"0000ff", u"b")
             + u"</sub>"},
        // CR LF is one <br/> in the CR's piece; a lone CR, LF or tab keeps its span. Four pieces close the wave.
        {u"a\r\nb", true, Html, u"<sup>" + span(u"808000", u"a") + u"</sup><br/><sub></sub>" + span(u"0000ff", u"b")},
        {u"\n\r\t", false, Html, span(u"808000", u"\n") + span(u"00ff00", u"\r") + span(u"0000ff", u"\t")},
        // What XML cannot hold becomes U+FFFD: a control character, a lone surrogate half.
        {{u'\x1B', char16_t(0xD800)}, false, Html, span(u"00ff00", u"\xFFFD") + span(u"0000ff", u"\xFFFD")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FadeStops(kRgb, c.text, c.wavy, FadeBlend::Srgb, c.markup), c.out) << int(c.markup);
    // A colour for each unit of a surrogate pair would write past the end.
    EXPECT_THROW(FadeMarkupWriter(u"a\U0001F600").write(std::vector<Rgb8>(3), false, Html), std::invalid_argument);
    // The first and last pairs, lone halves either way round, and the units
    // on both sides of the surrogates; the written length must match in every markup.
    const struct { std::u16string text; std::size_t characters; } counted[] = {
        {u"\U00010000\U0010FFFF", 2},
        {{char16_t(0xDC00), char16_t(0xD800)}, 2},
        {{char16_t(0xD7FF), char16_t(0xDBFF), char16_t(0xDFFF), char16_t(0xE000)}, 3},
        {{char16_t(0xD800), u'\r', u'\n', u'>', char16_t(0xDBFF), char16_t(0xE000)}, 6},
    };
    for (const auto &c : counted) {
        EXPECT_EQ(FadeMarkupWriter(c.text).characters(), c.characters) << c.text.size();
        for (FadeMarkup markup : {Aim, BbCode, Html})
            EXPECT_NO_THROW(FadeMarkupWriter(c.text).write(std::vector<Rgb8>(c.characters), true, markup)) << int(markup);
    }
}

TEST(ReplaceText, RestartsUntilNoOccurrenceIsLeftAndCanBeEnteredAgain)
{
    const struct { std::u16string text, find, repl, expected; } cases[] = {
        {u"no return", u"\r", u"+chr13+", u"no return"},
        {u"\r\r\n", u"\r", u"+chr13+", u"+chr13++chr13+\n"},
        {u"aabb", u"ab", u"", u""}, // replacements form new occurrences
        {u"Abab", u"ab", u"-", u"Ab-"},
        {u"aab", u"ab", u"ba", u"baa"},
        // An empty find, or a find inside its replacement, would never run out.
        {u"abc", u"", u"x", u"abc"},
        {u"abab", u"ab", u"xaby", u"xabyxaby"},
        {std::u16string(69999, u'x') + u"\r", u"\r", u"+chr13+", std::u16string(69999, u'x') + u"+chr13+"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReplaceText(c.text, c.find, c.repl), c.expected);
    // It can be entered again from its event turn.
    std::u16string inner;
    int turns = 0;
    const std::u16string outer = ReplaceText(u"1\r2\r", u"\r", u"+chr13+", [&] {
        if (turns++ == 0)
            inner = ReplaceText(u"x\ry", u"\r", u"+chr13+", [&] { ++turns; });
    });
    EXPECT_EQ(outer, u"1+chr13+2+chr13+");
    EXPECT_EQ(inner, u"x+chr13+y");
    EXPECT_EQ(turns, 3);
}
