#include "fade/fadestops.h"
#include "fade/fadetext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace VarloFade;

namespace {

constexpr ColorValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// The red digits of every piece of a plain AIM fade.
std::string reds(const std::u16string &html)
{
    std::string digits;
    for (std::size_t at = 13; at < html.size(); at += 21)
        digits += std::string(html.begin() + at, html.begin() + at + 2) + " ";
    return digits;
}

// Ten stops whose red runs 0, 20, 40 ... (red is the low byte).
const std::vector<ColorValue> kTenReds = {0, 20, 40, 60, 80, 100, 120, 140, 160, 180};

} // namespace

TEST(FadeStops, ThreeStopsAreFadeText)
{
    const std::u16string texts[] = {
        u"", u"x", u"ab", u"abc", u"ab cd", u"Quorvex Aim Fader", std::u16string(28, u'x'), u"line one\r\nline two\r",
        u"a\U0001F600b\U0001F601", {u'a', char16_t(0xDC00), char16_t(0xD800)}, std::u16string(kMaxFadeUnits, u'q'),
    };
    const ColorValue colours[][3] = {
        {kRed, kGreen, kBlue},
        {0, static_cast<ColorValue>(0x80000007u), 0x1234567}, // read from their hex text, as FadeText does
        {0x123456, 0x654321, 0x0F0F0F},
    };
    for (const auto &c : colours)
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
        {{0, 0xFF}, 0, ""},
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
    EXPECT_THROW(FadeStops(kTenReds, std::u16string(kMaxFadeUnits + 1, u'x'), false, FadeBlend::Oklab, FadeMarkup::Html),
                 OverflowError);
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
    const double nan = std::nan("");
    const struct { OklabCone start, end; std::size_t count; } lines[] = {
        {ConeFromRgb8({0, 0, 255}), ConeFromRgb8({255, 255, 0}), 300},
        {ConeFromRgb8({3, 200, 17}), ConeFromRgb8({250, 9, 140}), 129},
        {{-0.2, 0.1, 0.4}, {1.3, 0.9, -0.1}, 200},
        {ConeFromRgb8({7, 8, 9}), ConeFromRgb8({7, 8, 9}), 65},
        {{nan, 0.5, 0.5}, {0.5, 0.5, 0.5}, 3},
    };
    for (const auto &line : lines) {
        std::vector<Rgb8> along(line.count);
        Rgb8AlongCones(line.start, line.end, line.count, along.data());
        const double n = static_cast<double>(line.count);
        const double stepL = (line.end.l - line.start.l) / n, stepM = (line.end.m - line.start.m) / n,
                     stepS = (line.end.s - line.start.s) / n;
        for (std::size_t i = 1; i <= line.count; ++i) {
            const double fi = static_cast<double>(i);
            const Rgb8 expected = Rgb8FromCone({fi * stepL + line.start.l, fi * stepM + line.start.m, fi * stepS + line.start.s});
            ASSERT_EQ(along[i - 1], expected) << line.count << " points, point " << i;
        }
    }
}

TEST(Oklab, BlendsWithoutTheGreyMiddleAndEqualStopsStay)
{
    // Red to green: sRGB passes through a dark 80 80 00; OKLab keeps it light (208.16, 168.39, 0.45).
    const std::vector<ColorValue> redGreen = {kRed, kGreen};
    EXPECT_EQ(FadeStops(redGreen, u"ab", false), u"<Font Color=#808000>a<Font Color=#00FF00>b");
    EXPECT_EQ(FadeStops(redGreen, u"ab", false, FadeBlend::Oklab), u"<Font Color=#D0A800>a<Font Color=#00FF00>b");
    for (ColorValue c : {0, kWhite, 0x010203, static_cast<ColorValue>(0x80000007u), 0x7F807F}) {
        const std::vector<ColorValue> same(10, c);
        EXPECT_EQ(FadeStops(same, u"a few characters", true, FadeBlend::Oklab),
                  FadeStops(same, u"a few characters", true, FadeBlend::Srgb)) << c;
    }
}

TEST(FadeMarkup, WorkedExamples)
{
    const std::vector<ColorValue> rgb = {kRed, kGreen, kBlue};
    const struct { std::u16string text; bool wavy; FadeMarkup markup; std::u16string out; } cases[] = {
        {u"abc", false, FadeMarkup::BbCode, u"[color=#808000]a[/color][color=#00FF00]b[/color][color=#0000FF]c[/color]"},
        {u"abc", true, FadeMarkup::BbCode,
         u"[sup][color=#808000]a[/color][/sup][color=#00FF00]b[/color][sub][color=#0000FF]c[/color][/sub]"},
        {u"a\U0001F600b", false, FadeMarkup::BbCode,
         u"[color=#808000]a[/color][color=#00FF00]\U0001F600[/color][color=#0000FF]b[/color]"},
        {u"<&>", false, FadeMarkup::Html,
         u"<span style=\"color:#808000\">&lt;</span><span style=\"color:#00ff00\">&amp;</span>"
         u"<span style=\"color:#0000ff\">&gt;</span>"},
        {u"a\U0001F600b", true, FadeMarkup::Html,
         u"<sup><span style=\"color:#808000\">a</span></sup><span style=\"color:#00ff00\">\U0001F600</span>"
         u"<sub><span style=\"color:#0000ff\">b</span></sub>"},
        // CR LF is one <br/> in the CR's piece; a lone CR or LF keeps its span. Four pieces close the wave.
        {u"a\r\nb", true, FadeMarkup::Html,
         u"<sup><span style=\"color:#808000\">a</span></sup><br/><sub></sub><span style=\"color:#0000ff\">b</span>"},
        {u"\n\r", false, FadeMarkup::Html,
         u"<span style=\"color:#00ff00\">\n</span><span style=\"color:#0000ff\">\r</span>"},
        // What XML cannot hold becomes U+FFFD: a control character, a lone surrogate half.
        {{u'\x1B', char16_t(0xD800)}, false, FadeMarkup::Html,
         u"<span style=\"color:#00ff00\">\xFFFD</span><span style=\"color:#0000ff\">\xFFFD</span>"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FadeStops(rgb, c.text, c.wavy, FadeBlend::Srgb, c.markup), c.out) << int(c.markup);
    // A colour for each unit of a surrogate pair would write past the end.
    EXPECT_THROW(FadeMarkupWriter(u"a\U0001F600").write(std::vector<Rgb8>(3), false, FadeMarkup::Html),
                 std::invalid_argument);
}

TEST(FadeMarkup, CountsCharactersAtTheEdgesOfTheSurrogates)
{
    // The first and last pairs, lone halves either way round, and the units
    // on both sides of the surrogates; the written length must match in every markup.
    const struct { std::u16string text; std::size_t characters; } cases[] = {
        {u"\U00010000\U0010FFFF", 2},
        {{char16_t(0xDC00), char16_t(0xD800)}, 2},
        {{char16_t(0xD7FF), char16_t(0xDBFF), char16_t(0xDFFF), char16_t(0xE000)}, 3},
        {{char16_t(0xD800), u'\r', u'\n', u'>', char16_t(0xDBFF), char16_t(0xE000)}, 6},
    };
    for (const auto &c : cases) {
        const FadeMarkupWriter writer(c.text);
        EXPECT_EQ(writer.characters(), c.characters) << c.text.size();
        const std::vector<Rgb8> colours(writer.characters());
        for (FadeMarkup markup : {FadeMarkup::Aim, FadeMarkup::BbCode, FadeMarkup::Html})
            EXPECT_NO_THROW(writer.write(colours, true, markup)) << c.text.size() << " " << int(markup);
    }
}
