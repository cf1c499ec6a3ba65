#include "fade/replacetext.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

using namespace VarloFade;

namespace {

// The routine as first written: search from the first character again after
// every replacement. Nothing when it has not ended after `limit` replacements
// (a longer replacement can feed itself for ever).
std::optional<std::u16string> restartFromTheStart(std::u16string s, const std::u16string &find,
                                                  const std::u16string &repl, int limit = 2000)
{
    for (std::size_t p; (p = s.find(find)) != std::u16string::npos;) {
        if (limit-- == 0)
            return std::nullopt;
        s = s.substr(0, p) + repl + s.substr(p + find.size());
    }
    return s;
}

const std::u16string kMarker = u"+chr13+";

} // namespace

TEST(ReplaceText, Examples)
{
    const struct { std::u16string text, find, repl, expected; } cases[] = {
        {u"no carriage return", u"\r", kMarker, u"no carriage return"},
        {u"a\rb", u"\r", kMarker, u"a+chr13+b"},
        {u"\r\r\n\r", u"\r", kMarker, u"+chr13++chr13+\n+chr13+"},
        {u"aabb", u"ab", u"", u""},            // replacements form new occurrences
        {u"abb", u"ab", u"a", u"a"},
        {u"xaabbx", u"ab", u"", u"xx"},
        {u"Abab", u"ab", u"-", u"Ab-"},          // compared case-sensitively
        {u"", u"\r", kMarker, u""},
        {u"abc", u"abcd", u"x", u"abc"},
        {u"aab", u"ab", u"ba", u"baa"},         // a longer replacement that moves on
        {u"aaab", u"aab", u"ba", u"aba"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ReplaceText(c.text, c.find, c.repl), c.expected);
}

TEST(ReplaceText, EndsWhereTheLoopWouldNot)
{
    // An empty find, or a find inside its replacement, never runs out.
    EXPECT_EQ(ReplaceText(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(ReplaceText(u"a\rb\r", u"\r", u"\r\r"), u"a\r\rb\r\r");
    EXPECT_EQ(ReplaceText(u"abab", u"ab", u"xaby"), u"xabyxaby");
}

TEST(ReplaceText, MatchesTheRestartingLoopOnRandomTexts)
{
    std::mt19937 rng(1234);
    const std::u16string alphabet = u"ab\r+";
    auto randomText = [&](std::size_t maxLength) {
        std::u16string s(rng() % (maxLength + 1), u'a');
        for (auto &c : s)
            c = alphabet[rng() % alphabet.size()];
        return s;
    };
    int compared = 0, comparedLonger = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::u16string text = randomText(40);
        std::u16string find = randomText(4);
        if (find.empty())
            find = u"a";
        // Longer replacements too: they can form occurrences further on.
        const std::u16string repl = randomText(6);
        if (repl.find(find) != std::u16string::npos)
            continue;
        const auto expected = restartFromTheStart(text, find, repl);
        if (!expected)
            continue;
        ++compared;
        comparedLonger += repl.size() > find.size();
        EXPECT_EQ(ReplaceText(text, find, repl), *expected) << "round " << round;
    }
    EXPECT_GT(compared, 1000);
    EXPECT_GT(comparedLonger, 300);
}

TEST(ReplaceText, GivesOneEventTurnPerReplacement)
{
    int turns = 0;
    EXPECT_EQ(ReplaceText(u"a\rb\rc\r", u"\r", kMarker, [&] { ++turns; }), u"a+chr13+b+chr13+c+chr13+");
    EXPECT_EQ(turns, 3);

    turns = 0;
    ReplaceText(u"aabb", u"ab", u"", [&] { ++turns; });
    EXPECT_EQ(turns, 2);
}

TEST(ReplaceText, CanBeEnteredAgainFromItsEventTurn)
{
    std::u16string inner;
    int depth = 0;
    const std::u16string outer = ReplaceText(u"1\r2\r", u"\r", kMarker, [&] {
        if (depth++ == 0)
            inner = ReplaceText(u"x\ry", u"\r", kMarker, [&] { ++depth; });
    });
    EXPECT_EQ(outer, u"1+chr13+2+chr13+");
    EXPECT_EQ(inner, u"x+chr13+y");
    EXPECT_EQ(depth, 3);
}

TEST(ReplaceText, HandlesPositionsBeyondSixteenBits)
{
    std::u16string text(70000, u'x');
    text[69999] = u'\r';
    const std::u16string out = ReplaceText(text, u"\r", kMarker);
    EXPECT_EQ(out.size(), 69999u + kMarker.size());
    EXPECT_EQ(out.substr(69999), kMarker);
}
