// Stands in for the Wine helper in the bridge's tests and benchmarks:
//   fakeimhelper MODE, or fakeimhelper FOLDER where the file named as the
//   last part of WINEPREFIX holds the mode
// window  serves an open IM window       empty    serves no window at all
// mute    never greets                   silent   greets, then never answers
// twice   writes every answer twice      dies     serves an IM window, ends at its 2nd child look-up
// garbage answers with a line that is no answer
// slow    greets after 5 s (QUORVEX_FAKE_IM_DELAY_MS), then serves an IM window
// sluggish serves an IM window, each look-up 50 ms late
// With QUORVEX_FAKE_IM_LOG set, it appends the texts set and messages posted
// to that file when its input ends.
#include "tests/messenger/fakewindowsystem.h"
#include "messenger/helperserver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

// Everything after the greeting goes out twice.
ssize_t writeTwice(void *cookie, const char *data, size_t size)
{
    auto *writes = static_cast<int *>(cookie);
    const int copies = (*writes)++ == 0 ? 1 : 2;
    for (int i = 0; i < copies; ++i)
        std::fwrite(data, 1, size, stdout), std::fflush(stdout);
    return static_cast<ssize_t>(size);
}

// Each look-up takes its time.
class SluggishWindowSystem : public Tarnellbas::FakeWindowSystem
{
    using Handle = Tarnellbas::WindowHandle;
    static void wait() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

public:
    Handle findWindow(const std::string &name) override { return wait(), FakeWindowSystem::findWindow(name); }
    Handle findChildWindow(Handle parent, Handle after, const std::string &name) override
    {
        return wait(), FakeWindowSystem::findChildWindow(parent, after, name);
    }
    Handle nextWindow(Handle window) override { return wait(), FakeWindowSystem::nextWindow(window); }
};

std::string modeOf(const char *argument)
{
    const char *prefix = std::getenv("WINEPREFIX");
    const std::string name = prefix ? std::string(prefix).substr(std::string(prefix).rfind('/') + 1) : "";
    std::ifstream file(std::string(argument) + "/" + name);
    std::string mode;
    return file && std::getline(file, mode) ? mode : std::string(argument);
}

void drainInput()
{
    char buffer[4096];
    while (std::fread(buffer, 1, sizeof buffer, stdin) > 0) {
    }
}

void writeLog(const Tarnellbas::FakeWindowSystem &windows)
{
    const char *log = std::getenv("QUORVEX_FAKE_IM_LOG");
    if (!log)
        return;
    std::ofstream out(log, std::ios::app);
    for (const Tarnellbas::FakeCall &call : windows.calls()) {
        if (call.kind == Tarnellbas::FakeCall::Kind::SetText)
            out << "settext " << call.window << ' ' << std::string(call.text.begin(), call.text.end()) << '\n';
        else if (call.kind == Tarnellbas::FakeCall::Kind::Post)
            out << "post " << call.window << ' ' << call.number << '\n';
    }
}

// Ends in the middle of a send, without a word.
class DyingWindowSystem : public Tarnellbas::FakeWindowSystem
{
public:
    Tarnellbas::WindowHandle findChildWindow(Tarnellbas::WindowHandle parent, Tarnellbas::WindowHandle after,
                                             const std::string &name) override
    {
        if (++childLookUps_ == 2)
            std::_Exit(1);
        return FakeWindowSystem::findChildWindow(parent, after, name);
    }

private:
    int childLookUps_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    const std::string mode = argc > 1 ? modeOf(argv[1]) : "";
    DyingWindowSystem dying;
    SluggishWindowSystem sluggish;
    Tarnellbas::FakeWindowSystem plain;
    Tarnellbas::FakeWindowSystem &windows = mode == "dies" ? dying : mode == "sluggish" ? sluggish : plain;
    if (mode == "mute") {
        drainInput();
        return 0;
    }
    if (mode == "silent" || mode == "garbage") {
        std::printf("quorvex-im-helper 2\n");
        std::fflush(stdout);
        if (mode == "silent") {
            drainInput();
        } else if (mode == "garbage") {
            for (int c; (c = std::getchar()) != EOF;)
                if (c == '\n')
                    std::printf("= that is no answer\n"), std::fflush(stdout);
        }
        return 0;
    }
    if (mode == "slow") {
        const char *delay = std::getenv("QUORVEX_FAKE_IM_DELAY_MS");
        std::this_thread::sleep_for(std::chrono::milliseconds(delay ? std::atoi(delay) : 5000));
    }
    if (mode == "window" || mode == "twice" || mode == "slow" || mode == "dies" || mode == "sluggish")
        Tarnellbas::addFakeImWindow(windows);
    int writes = 0;
    std::FILE *out = mode == "twice" ? fopencookie(&writes, "w", {nullptr, writeTwice, nullptr, nullptr}) : stdout;
    Tarnellbas::serveWindowSystem(windows, stdin, out);
    writeLog(windows);
    return 0;
}
