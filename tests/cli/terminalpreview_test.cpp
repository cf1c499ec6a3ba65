// The preview as terminal text.
#include "cli/terminalpreview.h"

#include <QString>

#include <gtest/gtest.h>

TEST(TerminalPreview, ExactTextForStylesLinesAndShifts)
{
    const struct { std::u16string html; bool colour; std::string text; } cases[] = {
        {u"", true, "\x1b[0m\n"},
        {u"", false, "\n"},
        {u"plain", true, "plain\x1b[0m\n"}, // untagged text keeps the terminal's own ink
        {u"<b>B</b><i>I</i><u>U</u><s>S</s>\r<font color=#f00>x<sup>y<sub>z</sub>", true,
         "\x1b[1mB\x1b[22;3mI\x1b[23;4mU\x1b[24;9mS\x1b[0m\n\x1b[38;2;240;0;0mxyz\x1b[0m\n"},
        // An empty line stays; the lines a picture does not show at its end do not.
        {u"a+chr13+\r<B>b</b>\r\r", true, "a\n\n\x1b[1mb\x1b[0m\n"},
        {u"<Font Color=#000000>k<font color=#FFFFFF>w", true, "\x1b[38;2;0;0;0mk\x1b[38;2;255;255;255mw\x1b[0m\n"},
        // Only SGR ever reaches the terminal: controls are shown, not obeyed.
        {u"a\x1b[2J\a\tb\n\x7f\x85\x9b\b\v" u"c", false, "a\u241b[2J\u2407 b \u2421\ufffd\ufffd\u2408\u240bc\n"},
        {u"<>+chr13<b >x</font>>", false, "+chr13x>\n"},
        // A pair is one character in the style of its first half; a lone half is a replacement.
        {u"<font color=#0000ff>\U0001F600", true, "\x1b[38;2;0;0;255m\U0001F600\x1b[0m\n"},
        {u"<b>\xD83D</b>\xDE00", true, "\x1b[1m\U0001F600\x1b[0m\n"},
        {u"\xD83Dx\xDE00\xD83D", false, "\ufffdx\ufffd\ufffd\n"},
        {u"\xD83D\r\xDE00", false, "\ufffd\n\ufffd\n"},
        // Format characters would reach the terminal invisible, and the bidi ones would reorder
        // the preview: each is shown, as a C1 control is. Their neighbours are left alone.
        {u"\u202A\u202B\u202C\u202D\u202E\u2066\u2067\u2068\u2069\u200E\u200F\u2028\u2029\uFEFF\u061C\u00AD\u200B\u200D"
         u"\u2060\u206F\uFFFB\U0001D173\U000E0001\U000E007F\u00AC\u2027\u2030\u2065\uFFFC\U0001D17B\U000E0080", false,
         "\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd"
         "\ufffd\ufffd\ufffd\ufffd\ufffd\ufffd\u00AC\u2027\u2030\u2065\uFFFC\U0001D17B\U000E0080\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TerminalPreview(c.html, c.colour), c.text) << QString::fromStdU16String(c.html).toStdString();
}
