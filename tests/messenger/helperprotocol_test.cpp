// The helper's line protocol: both ends, and the helper's serving loop
// against the fake window system.
#include "calltext.h"
#include "fakewindowsystem.h"
#include "messenger/helperprotocol.h"
#include "messenger/helperserver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace Tarnellbas;
using namespace Tarnellbas::HelperProtocol;

TEST(HelperProtocol, RequestsReadBackAsWritten)
{
    const auto child = parseRequest("X 65552 65556 _Oscar_PersistantCombo");
    ASSERT_TRUE(child);
    EXPECT_EQ(child->kind, Request::Kind::FindChild);
    EXPECT_EQ(child->window, 65552u);
    EXPECT_EQ(child->childAfter, 65556u);
    EXPECT_EQ(child->className, "_Oscar_PersistantCombo");

    std::string line = findChildRequest(4294967295u, 0, "A class with spaces");
    line.pop_back();
    const auto spaced = parseRequest(line);
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->window, 4294967295u);
    EXPECT_EQ(spaced->className, "A class with spaces");

    line = postRequest(7, WmLButtonUp, 0, -3);
    line.pop_back();
    const auto post = parseRequest(line);
    ASSERT_TRUE(post);
    EXPECT_EQ(post->kind, Request::Kind::Post);
    EXPECT_EQ(post->message, WmLButtonUp);
    EXPECT_EQ(post->lParam, -3);

    const std::u16string text = u"\n\u0a0d\u00e9\U0001F600";
    const std::string request = setTextRequest(9, text);
    const auto header = request.substr(0, request.find('\n'));
    const auto setText = parseRequest(header);
    ASSERT_TRUE(setText);
    EXPECT_EQ(setText->textUnits, text.size());
    EXPECT_EQ(fromUtf16Le(request.substr(header.size() + 1)), text);
}

TEST(HelperProtocol, MalformedRequestsAreRefused)
{
    const std::string longClass(kMaxLine, 'c');
    for (const std::string &line : std::vector<std::string>{"", "F", "F ", "Q x", "F\tEdit", "X 1 2", "X 1 2 ", "X a 2 Edit", "X 1 -2 Edit",
                                   "N", "N -1", "N 12a", "N 4294967296", "N +4", "N  4", "T 5", "T 5 -1",
                                   "T 5 99999999999", "P 1 2 3", "P 1 2 3 x", "F " + longClass}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(parseRequest(line));
    }
}

TEST(HelperProtocol, Answers)
{
    const struct { const char *line; std::optional<WindowHandle> value; } cases[] = {
        {"= 0", 0u}, {"= 65552", 65552u}, {"= 4294967295", 4294967295u}, {"= 4294967296", std::nullopt},
        {"?", std::nullopt}, {"=5", std::nullopt}, {"= -1", std::nullopt}, {"= +5", std::nullopt},
        {"= 5 ", std::nullopt}, {"", std::nullopt}, {"quorvex-im-helper 1", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parseAnswer(c.line), c.value);
    }
    EXPECT_EQ(parseAnswer(answer(123).substr(0, answer(123).size() - 1)), 123u);
}

namespace {

struct Closer
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, Closer>;

// Serves the given input and returns all the helper wrote.
std::string serve(WindowSystem &windows, const std::string &input)
{
    File in(std::tmpfile()), out(std::tmpfile());
    std::fwrite(input.data(), 1, input.size(), in.get());
    std::rewind(in.get());
    serveWindowSystem(windows, in.get(), out.get());
    std::rewind(out.get());
    std::string written;
    for (int c; (c = std::getc(out.get())) != EOF;)
        written.push_back(static_cast<char>(c));
    return written;
}

} // namespace

TEST(HelperServer, AnswersEachRequestWithACall)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    const FakeImWindow im = addFakeImWindow(windows);
    const std::u16string text = u"a\nb\r\u0a0a\u00e9";
    const auto s = [](WindowHandle h) { return std::to_string(h); };

    const std::string written =
        serve(windows, findWindowRequest("AIM_IMessage") + findChildRequest(im.imWindow, 0, "WndAte32Class")
                           + nextWindowRequest(im.anchor) + setTextRequest(im.messageBox, text)
                           + postRequest(im.sendButton, WmLButtonDown, 0, 0) + "N bogus\n"
                           + findChildRequest(im.imWindow, im.combo, "_Oscar_PersistantCombo"));

    EXPECT_EQ(written, "quorvex-im-helper 1\n= " + s(im.imWindow) + "\n= " + s(im.anchor) + "\n= "
                           + s(im.messageBox) + "\n= 0\n= 0\n?\n= 0\n");
    EXPECT_EQ(windows.window(im.messageBox)->text, text);
    ASSERT_EQ(windows.window(im.sendButton)->received.size(), 1u);
    EXPECT_EQ(windows.window(im.sendButton)->received[0].message, WmLButtonDown);
}

TEST(HelperServer, SurvivesBadInput)
{
    FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
    const WindowHandle top = windows.addWindow("Top");
    // An overlong line is refused whole, and the next request is still read.
    EXPECT_EQ(serve(windows, std::string(5000, 'F') + "\nF Top\n"),
              "quorvex-im-helper 1\n?\n= " + std::to_string(top) + "\n");
    // A text cut short ends the conversation without a call.
    EXPECT_EQ(serve(windows, "T " + std::to_string(top) + " 10\nabc"), "quorvex-im-helper 1\n");
    EXPECT_TRUE(windows.callsOf(FakeCall::Kind::SetText).empty());
    // A failing window system is refused, not fatal.
    windows.failWhen = [](const FakeCall &) { return true; };
    EXPECT_EQ(serve(windows, "F Top\nN 1\n"), "quorvex-im-helper 1\n?\n?\n");
}
