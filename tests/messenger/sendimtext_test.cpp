// SendImText and its pauses against the recording fake window system.
#include "tests/messenger/fakewindowsystem.h"
#include "messenger/sendimtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <stdexcept>

using namespace Tarnellbas;

namespace {

template <typename T> std::string n(T value) { return std::to_string(value); }

// The calls a send makes after `calls`, with the IM window opening before the
// send (turn 0), never (-1) or in that event turn, which comes before its pass.
std::vector<std::string> expectedCalls(int passes, int opensAtTurn, const FakeImWindow &im, const std::u16string &text,
                                       std::vector<std::string> calls = {})
{
    for (int pass = 1; pass <= passes; ++pass) {
        const FakeImWindow seen = opensAtTurn >= 0 && pass >= opensAtTurn ? im : FakeImWindow{};
        calls.insert(calls.end(), {"FindWindow AIM_IMessage = " + n(seen.imWindow),
                                   "FindChild " + n(seen.imWindow) + " 0 _Oscar_PersistantCombo = " + n(seen.combo),
                                   "FindChild " + n(seen.combo) + " 0 Edit = " + n(seen.comboEdit)});
    }
    calls.insert(calls.end(), {"Sleep 1", "FindWindow AIM_IMessage = " + n(im.imWindow),
                               "FindChild " + n(im.imWindow) + " 0 WndAte32Class = " + n(im.anchor),
                               "Next " + n(im.anchor) + " = " + n(im.messageBox)});
    if (!text.empty())
        calls.push_back("SetText " + n(im.messageBox) + ' ' + std::string(text.begin(), text.end()));
    calls.insert(calls.end(), {"FindWindow AIM_IMessage = " + n(im.imWindow),
                               "FindChild " + n(im.imWindow) + " 0 _Oscar_IconBtn = " + n(im.sendButton),
                               "Post " + n(im.sendButton) + " 513 0 0", "Sleep 100", // at (0, 0), no key flags
                               "Post " + n(im.sendButton) + " 514 0 0", "Sleep 1"});
    return calls;
}

} // namespace

TEST(SendImText, CallSequencesAndWhatTheySay)
{
    // The IM window opens before the send (turn 0), never (-1) or in that event turn.
    const std::string noIm = "no IM window: no top-level window of class \"AIM_IMessage\" (looked 10 times)";
    const struct { const char *name; int opensAtTurn; std::u16string text; bool turnRaises; int turns; bool childless;
                   std::vector<std::string> said; } cases[] = {
        {"all windows: one pass, the text, one click", 0, u"<Font Color=#FF0000>\u00e9\u20ac\r\n", false, 1, false, {}},
        {"no IM window: ten passes, the steps run on handle 0", -1, u"hello", false, 10, false,
         {noIm, "text not set: no IM window", "not clicked: no IM window"}},
        {"empty text: no WM_SETTEXT, still a click", 0, u"", false, 1, false, {"text not set: the text is empty"}},
        {"the loop ends on the pass that finds the window", 3, u"x", false, 3, false, {}},
        {"an event turn that raises is swallowed", 0, u"text", true, 1, false,
         {"processing the program's events failed: handler failed"}},
        {"an IM window without its children", 0, u"x", false, 10, true,
         {"the IM window is not ready: it has no \"_Oscar_PersistantCombo\" child (looked 10 times)",
          "text not set: the IM window has no \"WndAte32Class\" child",
          "not clicked: the IM window has no \"_Oscar_IconBtn\" child"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindowSystem windows;
        std::vector<std::string> said;
        windows.setDiagnostics([&](const std::string &line) { said.push_back(line); });
        const auto open = [&] {
            return c.childless ? FakeImWindow{windows.addWindow("AIM_IMessage")} : addFakeImWindow(windows);
        };
        FakeImWindow im = c.opensAtTurn == 0 ? open() : FakeImWindow{};
        int turns = 0;
        EXPECT_NO_THROW(SendImText(windows, c.text, [&] {
            if (++turns == c.opensAtTurn)
                im = open();
            if (c.turnRaises)
                throw std::runtime_error("handler failed");
        }));
        EXPECT_EQ(turns, c.turns);
        EXPECT_EQ(windows.calls(), expectedCalls(c.turns, c.opensAtTurn, im, c.text));
        // The log cuts each unit to a byte: the box has them whole.
        if (im.messageBox) {
            EXPECT_EQ(windows.window(im.messageBox)->text, c.text);
        }
        EXPECT_EQ(said, c.said);
    }
}

TEST(SendImText, ASecondSendFromTheEventTurnRunsWholeInsideTheFirst)
{
    FakeWindowSystem windows;
    const FakeImWindow im = addFakeImWindow(windows);
    std::u16string textBox = u"first";
    int turns = 0;
    const ProcessEvents turn = [&] {
        // "Send IM" pressed while the first waits, then a fade replacing the box.
        if (++turns == 1) {
            SendImText(windows, u"second", turn);
            textBox = u"replaced";
        }
    };
    SendImText(windows, textBox, turn);
    EXPECT_EQ(windows.calls(), expectedCalls(1, 0, im, u"first", expectedCalls(1, 0, im, u"second")));
}

TEST(PauseSeconds, RoundsHalfToEvenAndOverflowsPastInt32)
{
    // What was slept, or the error raised (after no sleep).
    const struct { double seconds; const char *slept; } cases[] = {
        {0.0625, "Sleep 62"}, {0.1875, "Sleep 188"}, {2147483.647, "Sleep 2147483647"}, {2147483.648, "Overflow"},
        {NAN, "Overflow"}, {-0.5, "Sleep 0"}, {-2147483.6495, "Overflow"}}; // -0.5: no wait of weeks
    for (const auto &c : cases) {
        FakeWindowSystem windows;
        std::string slept;
        try {
            PauseSeconds(windows, c.seconds);
        } catch (const std::overflow_error &error) {
            slept = error.what();
        }
        EXPECT_EQ(std::accumulate(windows.calls().begin(), windows.calls().end(), slept), c.slept) << c.seconds;
    }
}
