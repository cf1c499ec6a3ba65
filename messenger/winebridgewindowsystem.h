#pragma once

#include "messenger/windowsystem.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Tarnellbas {

// How long the bridge waits for its helper before it gives up on it.
struct HelperTimeouts
{
    std::chrono::milliseconds start{30000};   // launch until the greeting
    std::chrono::milliseconds answer{10000};  // any request but WM_SETTEXT
    std::chrono::milliseconds setText{60000}; // the client handles the text meanwhile
    std::chrono::milliseconds restart{10000}; // quiet time after a failure
};

// The window system of a Wine session, reached through a Win32 helper that
// runs under Wine (`command`, e.g. {"wine", "/path/quorvex-im-helper.exe"}).
// The helper starts on first use and stays for later calls. While it is
// missing, fails or does not answer in time, every look-up yields 0 and
// nothing else happens; after a failure no new helper starts for a while.
// Pauses are taken here, not in the helper.
class WineBridgeWindowSystem : public WindowSystem
{
public:
    explicit WineBridgeWindowSystem(std::vector<std::string> command, HelperTimeouts timeouts = {});
    ~WineBridgeWindowSystem() override;
    WineBridgeWindowSystem(const WineBridgeWindowSystem &) = delete;
    WineBridgeWindowSystem &operator=(const WineBridgeWindowSystem &) = delete;

    WindowHandle findWindow(const std::string &className) override;
    WindowHandle findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                 const std::string &className) override;
    WindowHandle nextWindow(WindowHandle window) override;
    void setWindowText(WindowHandle window, const std::u16string &text) override;
    void postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    void sleep(std::uint32_t milliseconds) override;

    // The helper's process id, or 0 when none is running.
    pid_t helperProcess() const { return pid_; }

private:
    using Clock = std::chrono::steady_clock;

    std::optional<WindowHandle> exchange(const std::string &request, std::chrono::milliseconds timeout);
    bool ensureHelper();
    bool launch();
    bool writeAll(const std::string &bytes, Clock::time_point deadline);
    std::optional<std::string> readLine(Clock::time_point deadline);
    void stopHelper(bool gently);
    void giveUp();

    std::vector<std::string> command_;
    HelperTimeouts timeouts_;
    pid_t pid_ = 0;
    int toHelper_ = -1;
    int fromHelper_ = -1;
    std::string received_;
    std::optional<Clock::time_point> quietUntil_;
};

} // namespace Tarnellbas
