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

std::unique_ptr<WindowSystem> makePlatformWindowSystem(WaitTurn)
{
    // user32 answers at once: there is nothing to wait for.
    return std::make_unique<Win32WindowSystem>();
}

#else

namespace {

constexpr char kHelperName[] = "quorvex-im-helper.exe";

// Beside the program in the build and in a plain install, or in the
// program's private library folder when installed under a prefix.
std::filesystem::path findHelper()
{
    std::error_code error;
    if (const char *chosen = std::getenv("QUORVEX_IM_HELPER"); chosen && *chosen)
        return std::filesystem::absolute(chosen, error);
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const auto folder = program.parent_path();
    for (const auto &candidate : {folder / kHelperName,
                                  folder / ".." / "lib" / "quorvex-aim-fader" / kHelperName}) {
        if (std::filesystem::is_regular_file(candidate, error))
            return std::filesystem::absolute(candidate, error).lexically_normal();
    }
    return {};
}

} // namespace

std::unique_ptr<WindowSystem> makePlatformWindowSystem(WaitTurn turn)
{
    const SessionSearch search = SessionSearch::fromEnvironment();
    return std::make_unique<WineBridgeWindowSystem>(
        findHelper().string(), [search] { return findWineSessions(search); }, HelperTimeouts{}, std::move(turn));
}

#endif

} // namespace Tarnellbas
