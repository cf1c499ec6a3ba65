#include "platformwindowsystem.h"

#ifdef _WIN32
#include "win32windowsystem.h"
#else
#include "winebridgewindowsystem.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#endif

namespace Tarnellbas {

#ifdef _WIN32

std::unique_ptr<WindowSystem> makePlatformWindowSystem(WaitTurn, Diagnostics diagnostics)
{
    // user32 answers at once: there is nothing to wait for.
    auto windows = std::make_unique<Win32WindowSystem>();
    windows->setDiagnostics(std::move(diagnostics));
    return windows;
}

#else

namespace {

constexpr char kHelperName[] = "quorvex-im-helper.exe";

// Beside the program in the build and in a plain install, or in the
// program's private library folder when installed under a prefix.
std::filesystem::path findHelper(const Diagnostics &diagnostics)
{
    const auto say = [&diagnostics](const std::string &line) {
        if (diagnostics)
            diagnostics(line);
    };
    std::error_code error;
    if (const char *chosen = std::getenv("QUORVEX_IM_HELPER"); chosen && *chosen) {
        const auto helper = std::filesystem::absolute(chosen, error);
        if (!std::filesystem::exists(helper, error))
            say("QUORVEX_IM_HELPER names " + helper.string() + ", which does not exist");
        return helper;
    }
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        say(withErrno("no Wine helper: /proc/self/exe cannot be read", error.value()));
        return {};
    }
    const auto folder = program.parent_path();
    const std::filesystem::path candidates[] = {folder / kHelperName,
                                                folder / ".." / "lib" / "quorvex-aim-fader" / kHelperName};
    for (const auto &candidate : candidates) {
        if (std::filesystem::is_regular_file(candidate, error))
            return std::filesystem::absolute(candidate, error).lexically_normal();
    }
    say("no Wine helper: neither " + candidates[0].string() + " nor " + candidates[1].lexically_normal().string()
        + " is a file (QUORVEX_IM_HELPER names another)");
    return {};
}

} // namespace

std::unique_ptr<WindowSystem> makePlatformWindowSystem(WaitTurn turn, Diagnostics diagnostics)
{
    const SessionSearch search = SessionSearch::fromEnvironment();
    auto windows = std::make_unique<WineBridgeWindowSystem>(
        findHelper(diagnostics).string(), [search, diagnostics] { return findWineSessions(search, diagnostics); },
        HelperTimeouts{}, std::move(turn));
    windows->setDiagnostics(std::move(diagnostics));
    return windows;
}

#endif

} // namespace Tarnellbas
