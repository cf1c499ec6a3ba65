// The Wine bridge driving a stand-in helper process over its pipes.
#include "calltext.h"
#include "fakewindowsystem.h"
#include "messenger/sendimtext.h"
#include "messenger/winebridgewindowsystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <unistd.h>

using namespace Tarnellbas;
using namespace std::chrono_literals;

namespace {

class WineBridge : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        log_ = std::filesystem::path(::testing::TempDir())
               / (std::string("bridge-") + test->name() + '-' + std::to_string(::getpid()) + ".log");
        clearLog();
    }

    void TearDown() override { clearLog(); }

    void clearLog() const
    {
        std::filesystem::remove(log_);
        std::filesystem::remove(log_.string() + ".text");
    }

    std::vector<std::string> helper(const std::string &mode) const
    {
        return {FAKE_IM_HELPER, mode, log_.string()};
    }

    std::vector<std::string> logLines() const
    {
        std::ifstream in(log_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    int starts() const
    {
        const auto lines = logLines();
        return static_cast<int>(std::count(lines.begin(), lines.end(), "start"));
    }

    std::u16string textReceived() const
    {
        std::ifstream in(log_.string() + ".text", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::u16string text(bytes.size() / 2, u'\0');
        std::memcpy(text.data(), bytes.data(), 2 * text.size());
        return text;
    }

    static HelperTimeouts quick(std::chrono::milliseconds restart = 60s)
    {
        return {.start = 500ms, .answer = 500ms, .setText = 500ms, .restart = restart};
    }

    std::filesystem::path log_;
};

// What SendImText asks of a window system holding one IM window, pauses
// aside: the calls the helper must see.
std::vector<std::string> expectedHelperCalls(const std::u16string &text)
{
    FakeWindowSystem local(FakeWindowSystem::Sleeping::Skipped);
    addFakeImWindow(local);
    SendImText(local, text);
    std::vector<std::string> calls = {"start"};
    for (const auto &call : local.calls())
        if (call.kind != FakeCall::Kind::Sleep)
            calls.push_back(callText(call));
    return calls;
}

} // namespace

TEST_F(WineBridge, ForwardsEveryCallAndKeepsTheHelperForLaterSends)
{
    WineBridgeWindowSystem bridge(helper("serve"));
    // Nothing starts before the first call, nor for class names that cannot travel.
    EXPECT_EQ(bridge.findWindow("AIM_IMessage\nF AIM_IMessage"), 0u);
    EXPECT_EQ(bridge.findWindow(""), 0u);
    EXPECT_EQ(bridge.helperProcess(), 0);
    const std::u16string text = u"<Font Color=#FF0000>\n\r\u0a0a\u00e9\u20ac\U0001F600";

    SendImText(bridge, text);
    const pid_t helperPid = bridge.helperProcess();
    EXPECT_NE(helperPid, 0);
    EXPECT_EQ(logLines(), expectedHelperCalls(text));
    EXPECT_EQ(textReceived(), text);

    SendImText(bridge, u"again");
    EXPECT_EQ(bridge.helperProcess(), helperPid);
    EXPECT_EQ(starts(), 1);
    EXPECT_EQ(textReceived(), u"again");
}

TEST_F(WineBridge, CarriesTheLongestFadeWhole)
{
    WineBridgeWindowSystem bridge(helper("serve"));
    std::u16string text;
    for (int i = 0; text.size() < 688107; ++i)
        text += u"<Font Color=#" + std::u16string(1, static_cast<char16_t>(u'A' + i % 6)) + u"0A0D0>"
                + static_cast<char16_t>(0x20 + i % 0x3000);
    text.resize(688107);
    SendImText(bridge, text);
    EXPECT_EQ(textReceived(), text);
}

TEST_F(WineBridge, AMissingOrBrokenHelperYieldsNothingAndIsNotRestartedAtOnce)
{
    const struct
    {
        const char *name;
        std::vector<std::string> command;
        int starts;
        bool keepsRunning;
    } cases[] = {
        {"no helper", {}, 0, false},
        {"no such program", {"/nonexistent/wine", "helper.exe"}, 0, false},
        {"never greets", helper("silent"), 1, false},
        {"never answers", helper("mute"), 1, false},
        {"greets as another program", helper("stranger"), 1, false},
        {"ends at once", helper("quit"), 1, false},
        {"refuses every request", helper("refuse"), 1, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        WineBridgeWindowSystem bridge(c.command, quick());
        EXPECT_NO_THROW(SendImText(bridge, u"text"));
        EXPECT_EQ(bridge.findWindow("AIM_IMessage"), 0u);
        EXPECT_EQ(bridge.findChildWindow(0, 0, "Edit"), 0u);
        EXPECT_EQ(starts(), c.starts);
        EXPECT_EQ(bridge.helperProcess() != 0, c.keepsRunning);
    }
}

TEST_F(WineBridge, StartsAFreshHelperOnceTheQuietTimeIsOver)
{
    WineBridgeWindowSystem bridge(helper("quit"), quick(0ms));
    bridge.findWindow("AIM_IMessage");
    bridge.findWindow("AIM_IMessage");
    EXPECT_EQ(starts(), 2);
}

TEST_F(WineBridge, AHelperThatEndsMidTextDoesNotEndTheProgram)
{
    WineBridgeWindowSystem bridge(helper("quit"), quick());
    // More than a pipe holds, to a helper that reads none of it.
    bridge.setWindowText(0x10010, std::u16string(1 << 20, u'x'));
    EXPECT_EQ(bridge.helperProcess(), 0);
    sigset_t pending;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE));
}

TEST_F(WineBridge, EndsItsHelperWhenDestroyed)
{
    pid_t helperPid = 0;
    {
        WineBridgeWindowSystem bridge(helper("serve"));
        EXPECT_NE(bridge.findWindow("AIM_IMessage"), 0u);
        helperPid = bridge.helperProcess();
        ASSERT_NE(helperPid, 0);
    }
    // Gone and reaped: no such process any more.
    EXPECT_EQ(::kill(helperPid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}
