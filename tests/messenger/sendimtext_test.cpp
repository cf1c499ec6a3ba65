// SendImText and its steps against the recording fake window system.
#include "calltext.h"
#include "fakewindowsystem.h"
#include "messenger/sendimtext.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Tarnellbas;
using Kind = FakeCall::Kind;

namespace {

std::string n(WindowHandle handle)
{
    return std::to_string(handle);
}

// The readiness pass as it reads when the windows answer with these handles.
std::vector<std::string> readinessPass(WindowHandle im, WindowHandle combo, WindowHandle edit)
{
    return {"FindWindow AIM_IMessage = " + n(im),
            "FindChild " + n(im) + " 0 _Oscar_PersistantCombo = " + n(combo),
            "FindChild " + n(combo) + " 0 Edit = " + n(edit)};
}

// Steps 3 to 10, after the readiness loop.
std::vector<std::string> delivery(WindowHandle im, WindowHandle anchor, WindowHandle box, std::size_t units,
                                  WindowHandle button)
{
    std::vector<std::string> calls = {"Sleep 1", "FindWindow AIM_IMessage = " + n(im),
                                      "FindChild " + n(im) + " 0 WndAte32Class = " + n(anchor),
                                      "Next " + n(anchor) + " = " + n(box)};
    if (units > 0)
        calls.push_back("SetText " + n(box) + " (" + std::to_string(units) + " units)");
    for (const std::string &call : {"FindWindow AIM_IMessage = " + n(im),
                                    "FindChild " + n(im) + " 0 _Oscar_IconBtn = " + n(button),
                                    "Post " + n(button) + " 513 0 0", std::string("Sleep 100"),
                                    "Post " + n(button) + " 514 0 0", std::string("Sleep 1")})
        calls.push_back(call);
    return calls;
}

std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The messages a window received, with their parameters, in order.
std::vector<std::string> messages(const FakeWindow &window)
{
    std::vector<std::string> out;
    for (const FakeMessage &m : window.received)
        out.push_back(std::to_string(m.message) + ' ' + std::to_string(m.wParam) + ' ' + std::to_string(m.lParam));
    return out;
}

const std::string kDown = std::to_string(WmLButtonDown) + " 0 0", kUp = std::to_string(WmLButtonUp) + " 0 0";

} // namespace

TEST(SendImText, WithNoImWindowPollsTenTimesAndChangesNoWindow)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    // Windows of other programs are left alone.
    const WindowHandle other = windows.addWindow("Notepad");
    windows.addWindow("Edit", other);
    int turns = 0;

    EXPECT_NO_THROW(SendImText(windows, u"hello", [&] { ++turns; }));

    std::vector<std::string> expected;
    for (int pass = 0; pass < 10; ++pass)
        expected = join(expected, readinessPass(0, 0, 0));
    // The steps still run, with handle 0 everywhere; the text goes nowhere.
    EXPECT_EQ(callTexts(windows.calls()), join(expected, delivery(0, 0, 0, 5, 0)));
    EXPECT_EQ(turns, 10);
    EXPECT_TRUE(windows.allReceived().empty());
    EXPECT_EQ(windows.window(other)->textsSet, 0);
}

TEST(SendImText, WithAllWindowsSendsTheTextAndClicksOnce)
{
    FakeWindowSystem windows; // real pauses: the click's timing is checked
    const FakeImWindow im = addFakeImWindow(windows);
    int turns = 0;
    const std::u16string text = u"<Font Color=#FF0000>h<Font Color=#00FF00>\u00e9\u20ac\r\n";

    SendImText(windows, text, [&] { ++turns; });

    EXPECT_EQ(callTexts(windows.calls()),
              join(readinessPass(im.imWindow, im.combo, im.comboEdit),
                   delivery(im.imWindow, im.anchor, im.messageBox, text.size(), im.sendButton)));
    EXPECT_EQ(turns, 1);
    EXPECT_EQ(windows.window(im.messageBox)->text, text);

    ASSERT_EQ(messages(*windows.window(im.sendButton)), (std::vector<std::string>{kDown, kUp}));
    const auto &clicks = windows.window(im.sendButton)->received;
    EXPECT_GE(clicks[1].at - clicks[0].at, std::chrono::milliseconds(100));
}

TEST(SendImText, EmptyTextSetsNothingButStillClicks)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    const FakeImWindow im = addFakeImWindow(windows);

    SendImText(windows, u"");

    EXPECT_EQ(callTexts(windows.calls()),
              join(readinessPass(im.imWindow, im.combo, im.comboEdit),
                   delivery(im.imWindow, im.anchor, im.messageBox, 0, im.sendButton)));
}

TEST(SendImText, ReadinessLoopEndsOnThePassThatFindsTheWindows)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    FakeImWindow im;
    int turns = 0;
    // The client opens its window during the third event turn.
    SendImText(windows, u"x", [&] {
        if (++turns == 3)
            im = addFakeImWindow(windows);
    });
    EXPECT_EQ(turns, 3);
    EXPECT_EQ(windows.callsOf(Kind::FindWindow).size(), 3u + 2u);
    EXPECT_EQ(windows.window(im.messageBox)->text, u"x");
}

TEST(SendImText, ReadinessNeedsTheComboAndItsEdit)
{
    // An IM window still missing the combo's edit is polled ten times, and the
    // text is delivered anyway.
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    const FakeImWindow im = addFakeImWindow(windows);
    windows.removeWindow(im.comboEdit);
    int turns = 0;
    SendImText(windows, u"late", [&] { ++turns; });
    EXPECT_EQ(turns, 10);
    EXPECT_EQ(windows.window(im.messageBox)->text, u"late");
    EXPECT_EQ(windows.window(im.sendButton)->received.size(), 2u);
}

TEST(SendImText, LooksUpTheImWindowAfreshBeforeEachStep)
{
    using Handle = WindowHandle FakeImWindow::*;
    struct Case
    {
        const char *name;
        Kind closeAfter;       // the first call of this kind after the readiness loop
        const char *className; // ... with this class name, if it matters
        Handle closes;
        Handle textGoesTo;     // none: the text is set on handle 0
        bool clickArrives;
    };
    const Case cases[] = {
        {"window closes after the readiness loop", Kind::Sleep, "", &FakeImWindow::imWindow, nullptr, false},
        {"window closes after the text is set", Kind::SetText, "", &FakeImWindow::imWindow,
         &FakeImWindow::messageBox, false},
        {"button closes once found", Kind::FindChild, "_Oscar_IconBtn", &FakeImWindow::sendButton,
         &FakeImWindow::messageBox, false},
        // The window after the anchor is now the send button, whose class is not checked.
        {"message box closes between the anchor look-up and GetWindow", Kind::FindChild, "WndAte32Class",
         &FakeImWindow::messageBox, &FakeImWindow::sendButton, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
        const FakeImWindow im = addFakeImWindow(windows);
        bool loopDone = false;
        windows.afterCall = [&](const FakeCall &call) {
            loopDone = loopDone || call.kind == Kind::Sleep;
            if (loopDone && call.kind == c.closeAfter && call.className == c.className)
                windows.removeWindow(im.*c.closes);
        };
        EXPECT_NO_THROW(SendImText(windows, u"t"));
        const auto setTexts = windows.callsOf(Kind::SetText);
        ASSERT_EQ(setTexts.size(), 1u);
        EXPECT_EQ(setTexts[0].window, c.textGoesTo ? im.*c.textGoesTo : 0);
        if (const FakeWindow *target = c.textGoesTo ? windows.window(im.*c.textGoesTo) : nullptr) {
            EXPECT_EQ(target->text, u"t");
        }
        EXPECT_EQ(!windows.allReceived().empty(), c.clickArrives);
        // The click is still attempted on whatever handle the look-up gave.
        EXPECT_EQ(windows.callsOf(Kind::Post).size(), 2u);
    }
}

TEST(SendImText, TwoImWindowsUseTheFirstForEveryStep)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    const FakeImWindow first = addFakeImWindow(windows);
    const FakeImWindow second = addFakeImWindow(windows);
    SendImText(windows, u"one");
    EXPECT_EQ(windows.window(first.messageBox)->text, u"one");
    EXPECT_EQ(windows.window(first.sendButton)->received.size(), 2u);
    EXPECT_EQ(windows.window(second.messageBox)->textsSet, 0);
    EXPECT_TRUE(windows.window(second.sendButton)->received.empty());
}

TEST(SendImText, ASecondSendFromTheEventTurnRunsWholeInsideTheFirst)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    const FakeImWindow im = addFakeImWindow(windows);
    std::u16string textBox = u"first";
    int turns = 0;
    std::vector<std::u16string> textsSeen;
    windows.afterCall = [&](const FakeCall &call) {
        if (call.kind == Kind::SetText)
            textsSeen.push_back(call.text);
    };
    const ProcessEvents turn = [&] {
        // A "Send IM" pressed while the first waits, then a fade that
        // replaces the text box's content.
        if (++turns == 1) {
            SendImText(windows, u"second", turn);
            textBox = u"replaced";
        }
    };
    SendImText(windows, textBox, turn);

    EXPECT_EQ(turns, 2);
    EXPECT_EQ(textsSeen, (std::vector<std::u16string>{u"second", u"first"}));
    EXPECT_EQ(messages(*windows.window(im.sendButton)), (std::vector<std::string>{kDown, kUp, kDown, kUp}));
    EXPECT_EQ(windows.window(im.messageBox)->text, u"first");
}

TEST(SendImText, SwallowsEveryFailureAndGoesOn)
{
    struct Case
    {
        const char *name;
        std::function<bool(const FakeCall &)> failWhen;
        bool throwingTurn;
        int turns;
        bool textArrives;
        std::size_t messagesReceived;
        std::vector<std::uint32_t> sleeps;
    };
    const auto is = [](Kind kind) { return [kind](const FakeCall &call) { return call.kind == kind; }; };
    int findWindows = 0;
    const Case cases[] = {
        {"every top-level search fails", is(Kind::FindWindow), false, 10, false, 0, {1, 100, 1}},
        {"the text cannot be set", is(Kind::SetText), false, 1, false, 2, {1, 100, 1}},
        {"posting fails: the click ends at once", is(Kind::Post), false, 1, true, 0, {1, 1}},
        {"the pauses fail", is(Kind::Sleep), false, 1, true, 1, {1, 100, 1}},
        {"the event turn raises", nullptr, true, 1, true, 2, {1, 100, 1}},
        // A failed look-up leaves the handle it would have replaced: the one
        // the readiness loop found serves the message box step.
        {"the second top-level search fails",
         [&](const FakeCall &call) { return call.kind == Kind::FindWindow && ++findWindows == 2; }, false, 1,
         true, 2, {1, 100, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
        const FakeImWindow im = addFakeImWindow(windows);
        windows.failWhen = c.failWhen;
        int turns = 0;
        EXPECT_NO_THROW(SendImText(windows, u"text", [&] {
            ++turns;
            if (c.throwingTurn)
                throw std::runtime_error("handler failed");
        }));
        EXPECT_EQ(turns, c.turns);
        EXPECT_EQ(windows.window(im.messageBox)->text == u"text", c.textArrives);
        EXPECT_EQ(windows.allReceived().size(), c.messagesReceived);
        std::vector<std::uint32_t> sleeps;
        for (const auto &call : windows.callsOf(Kind::Sleep))
            sleeps.push_back(call.milliseconds);
        EXPECT_EQ(sleeps, c.sleeps);
    }
}

// An empty text sends nothing: see EmptyTextSetsNothingButStillClicks.
TEST(PutWindowText, ATextOfOneNulIsSent)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    const WindowHandle box = windows.addWindow("Box");
    PutWindowText(windows, box, std::u16string(1, u'\0'));
    EXPECT_EQ(windows.window(box)->text, std::u16string(1, u'\0'));
}

class PauseSecondsTest : public ::testing::TestWithParam<std::pair<double, std::int64_t>>
{
};

TEST_P(PauseSecondsTest, RoundsToWholeMilliseconds)
{
    const auto [seconds, milliseconds] = GetParam();
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    if (milliseconds < 0) {
        try {
            PauseSeconds(windows, seconds);
            ADD_FAILURE() << "no overflow";
        } catch (const std::overflow_error &error) {
            EXPECT_STREQ(error.what(), "Overflow");
        }
        EXPECT_TRUE(windows.calls().empty());
        return;
    }
    PauseSeconds(windows, seconds);
    ASSERT_EQ(windows.calls().size(), 1u);
    EXPECT_EQ(windows.calls()[0].milliseconds, static_cast<std::uint32_t>(milliseconds));
}

// -1 marks an overflow.
INSTANTIATE_TEST_SUITE_P(
    Pauses, PauseSecondsTest,
    ::testing::Values(std::pair{0.1, 100}, std::pair{0.001, 1}, std::pair{0.0, 0}, std::pair{0.0625, 62},
                      std::pair{0.1875, 188}, std::pair{0.0004, 0}, std::pair{2147483.647, 2147483647},
                      std::pair{2147483.648, -1}, std::pair{1e300, -1},
                      std::pair{std::numeric_limits<double>::quiet_NaN(), -1},
                      std::pair{std::numeric_limits<double>::infinity(), -1},
                      // A negative pause does not wait; beyond the integer it still overflows.
                      std::pair{-0.5, 0}, std::pair{-2147483.648, 0}, std::pair{-2147483.6495, -1}));
