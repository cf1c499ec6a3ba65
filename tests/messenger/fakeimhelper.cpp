// Stands in for the Wine helper in the bridge's tests and benchmarks:
//   fakeimhelper MODE, or fakeimhelper FOLDER where the file named as the
//   last part of WINEPREFIX holds the mode
// window  serves an open IM window       empty    serves no window at all
// mute    never greets                   silent   greets, then never answers
// twice   writes every answer twice      dies     serves an IM window, ends at its 2nd child look-up
// garbage answers with a line that is no answer
// slow    greets after 5 s (QUORVEX_FAKE_IM_DELAY_MS), then serves an IM window
// sluggish serves an IM window, each answer 50 ms late
// lock FILE holds a lock on FILE as a running wineserver holds one on its
//          `lock`, says "locked" and keeps it until its input ends
// With its mode from FOLDER, it appends the texts set and messages posted to
// FOLDER/log when its input ends.
#include "tests/messenger/fakewindowsystem.h"
#include "messenger/helperserver.h"

#include <chrono>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

using namespace Tarnellbas;

namespace {

std::string mode;

// Each line the helper writes, its greeting first; what the mode makes of it.
ssize_t writeLine(void *, const char *data, size_t size)
{
    static int lines = 0;
    const bool answer = lines++ > 0;
    if (answer && mode == "dies" && lines == 4) // the answer to the 2nd child look-up
        std::_Exit(1);
    if (answer && mode == "sluggish")
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::string line = answer && mode == "garbage" ? "= that is no answer\n" : std::string(data, size);
    const int copies = mode == "mute" || (answer && mode == "silent") ? 0 : answer && mode == "twice" ? 2 : 1;
    for (int i = 0; i < copies; ++i)
        std::fwrite(line.data(), 1, line.size(), stdout);
    return static_cast<ssize_t>(size);
}

} // namespace

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const char *prefix = std::getenv("WINEPREFIX");
    const std::string argument = argc > 1 ? argv[1] : "";
    std::ifstream modeFile(argument + "/" + std::filesystem::path(prefix ? prefix : "").filename().string());
    const bool fromFolder = modeFile && std::getline(modeFile, mode);
    if (!fromFolder)
        mode = argument;

    if (mode == "lock") {
        struct flock lock{.l_type = F_WRLCK, .l_whence = SEEK_SET};
        if (argc != 3 || ::fcntl(::open(argv[2], O_RDWR | O_CREAT, 0600), F_SETLK, &lock) != 0)
            return 1;
        std::puts("locked");
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    if (mode == "slow") {
        const char *delay = std::getenv("QUORVEX_FAKE_IM_DELAY_MS");
        std::this_thread::sleep_for(std::chrono::milliseconds(delay ? std::atoi(delay) : 5000));
    }
    FakeWindowSystem windows;
    if (mode != "empty")
        addFakeImWindow(windows);
    serveWindowSystem(windows, stdin, fopencookie(nullptr, "w", {nullptr, writeLine, nullptr, nullptr}));

    if (!fromFolder)
        return 0;
    std::ofstream log(argument + "/log", std::ios::app);
    for (const std::string &call : windows.calls())
        if (call.starts_with("SetText ") || call.starts_with("Post "))
            log << call << '\n';
    return 0;
}
