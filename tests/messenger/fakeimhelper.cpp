// Stands in for the Wine helper in the bridge's tests and benchmarks:
//   fakeimhelper MODE, or fakeimhelper FOLDER where the file named as the
//   last part of WINEPREFIX holds the mode
// window  serves an open IM window       empty    serves no window at all
// mute    never greets                   silent   greets, then never answers
// twice   writes every answer twice      dies     serves an IM window, ends at its 2nd child look-up
// garbage answers with a line that is no answer
// slow    greets after 5 s (QUORVEX_FAKE_IM_DELAY_MS), then serves an IM window
// sluggish serves an IM window, each look-up 50 ms late
// lock FILE holds a lock on FILE as a running wineserver holds one on its
//          `lock`, says "locked" and keeps it until its input ends
// With QUORVEX_FAKE_IM_LOG set, it appends the texts set and messages posted
// to that file when its input ends.
#include "tests/messenger/fakewindowsystem.h"
#include "messenger/helperserver.h"

#include <chrono>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

using namespace Tarnellbas;

namespace {

std::string mode;

// Everything after the greeting goes out twice.
ssize_t writeTwice(void *cookie, const char *data, size_t size)
{
    for (int i = (*static_cast<int *>(cookie))++ == 0 ? 1 : 0; i < 2; ++i)
        std::fwrite(data, 1, size, stdout), std::fflush(stdout);
    return static_cast<ssize_t>(size);
}

// Look-ups that take their time (sluggish) or end the helper without a word (dies).
class StandInWindowSystem : public FakeWindowSystem
{
    int childLookUps_ = 0;
    static void wait()
    {
        if (mode == "sluggish")
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

public:
    WindowHandle findWindow(const std::string &name) override { return wait(), FakeWindowSystem::findWindow(name); }
    WindowHandle findChildWindow(WindowHandle parent, WindowHandle after, const std::string &name) override
    {
        if (++childLookUps_ == 2 && mode == "dies")
            std::_Exit(1);
        return wait(), FakeWindowSystem::findChildWindow(parent, after, name);
    }
    WindowHandle nextWindow(WindowHandle window) override { return wait(), FakeWindowSystem::nextWindow(window); }
};

} // namespace

int main(int argc, char *argv[])
{
    const char *prefix = std::getenv("WINEPREFIX");
    const std::string name = prefix ? std::string(prefix).substr(std::string(prefix).rfind('/') + 1) : "";
    std::ifstream modeFile(std::string(argc > 1 ? argv[1] : "") + "/" + name);
    if (!(modeFile && std::getline(modeFile, mode)))
        mode = argc > 1 ? argv[1] : "";

    struct flock lock{.l_type = F_WRLCK, .l_whence = SEEK_SET};
    if (mode == "lock" && (argc != 3 || ::fcntl(::open(argv[2], O_RDWR | O_CREAT, 0600), F_SETLK, &lock) != 0))
        return 1;
    if (mode == "silent" || mode == "garbage" || mode == "lock")
        std::printf(mode == "lock" ? "locked\n" : "quorvex-im-helper 2\n"), std::fflush(stdout);
    if (mode == "mute" || mode == "silent" || mode == "garbage" || mode == "lock") {
        for (int c; (c = std::getchar()) != EOF;)
            if (c == '\n' && mode == "garbage")
                std::printf("= that is no answer\n"), std::fflush(stdout);
        return 0;
    }
    if (mode == "slow") {
        const char *delay = std::getenv("QUORVEX_FAKE_IM_DELAY_MS");
        std::this_thread::sleep_for(std::chrono::milliseconds(delay ? std::atoi(delay) : 5000));
    }
    StandInWindowSystem windows;
    if (mode == "window" || mode == "twice" || mode == "slow" || mode == "dies" || mode == "sluggish")
        addFakeImWindow(windows);
    int writes = 0;
    std::FILE *out = mode == "twice" ? fopencookie(&writes, "w", {nullptr, writeTwice, nullptr, nullptr}) : stdout;
    serveWindowSystem(windows, stdin, out);

    if (const char *log = std::getenv("QUORVEX_FAKE_IM_LOG")) {
        std::ofstream file(log, std::ios::app);
        for (const std::string &call : windows.calls())
            if (call.starts_with("SetText ") || call.starts_with("Post "))
                file << call << '\n';
    }
    return 0;
}
