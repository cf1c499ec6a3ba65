#include "fade/replacetext.h"

#include <gtest/gtest.h>

using namespace VarloFade;

TEST(ReplaceText, RestartsUntilNoOccurrenceIsLeft)
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
}

TEST(ReplaceText, CanBeEnteredAgainFromItsEventTurn)
{
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
