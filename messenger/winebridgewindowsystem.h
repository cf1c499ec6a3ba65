#pragma once

#include "messenger/helperprocess.h"
#include "messenger/windowsystem.h"
#include "messenger/winesessions.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Tarnellbas {

// How long the bridge waits for its helpers, and how often it looks again.
struct HelperTimeouts
{
    std::chrono::milliseconds start{30000};   // launch until the greeting
    std::chrono::milliseconds answer{10000};  // any request but WM_SETTEXT
    std::chrono::milliseconds setText{60000}; // the client handles the text meanwhile
    std::chrono::milliseconds restart{1000};  // quiet time after a failure: the rest of that send
    std::chrono::milliseconds rescan{100};    // running sessions are looked up at most this often
    std::chrono::milliseconds stopGrace{100}; // a helper's time to end by itself
};

// The running Wine sessions, in the order they are tried.
using SessionList = std::function<std::vector<WineSession>()>;

// The window system of the user's running Wine sessions, reached through a
// Win32 helper (`helperExe`) started with each session's own loader. An IM
// window is looked for in every session in turn; the look-ups, text and
// clicks that follow go to the session where it was found. With no session
// running every call answers 0 at once and nothing is started.
// One helper per session, started on first use and kept for later sends;
// a helper that fails, breaks the protocol or does not answer in time is
// stopped, and none starts in its session for the quiet time. While it waits
// for a helper the bridge runs the event turn it was given; a turn that
// answers false (the program is ending) stops every helper for good.
// Pauses are taken here, not in the helper. Each failure is said to the
// diagnostics, naming the session.
class WineBridgeWindowSystem : public WindowSystem
{
public:
    WineBridgeWindowSystem(std::string helperExe, SessionList sessions, HelperTimeouts timeouts = {},
                           WaitTurn turn = {});
    ~WineBridgeWindowSystem() override;
    WineBridgeWindowSystem(const WineBridgeWindowSystem &) = delete;
    WineBridgeWindowSystem &operator=(const WineBridgeWindowSystem &) = delete;

    void setWaitTurn(WaitTurn turn) { turn_ = std::move(turn); }

    WindowHandle findWindow(const std::string &className) override;
    WindowHandle findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                 const std::string &className) override;
    WindowHandle nextWindow(WindowHandle window) override;
    void setWindowText(WindowHandle window, const std::u16string &text) override;
    void postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    void sleep(std::uint32_t milliseconds) override;

    // The process ids of the helpers running now.
    std::vector<pid_t> helperProcesses() const;

private:
    struct Helper;
    using Clock = std::chrono::steady_clock;
    using Request = std::function<std::string(std::uint64_t id)>;

    void refreshSessions();
    // `what` names the request to the diagnostics.
    std::optional<WindowHandle> exchange(const std::shared_ptr<Helper> &helper, const std::string &what,
                                         const Request &request, std::chrono::milliseconds timeout);
    bool ensureRunning(const std::shared_ptr<Helper> &helper);
    void fail(Helper &helper, unsigned generation, const std::string &why);
    void tell(const Helper &helper, const std::string &what) const;
    void stop(Helper &helper);
    WaitTurn turnFor(const std::shared_ptr<Helper> &helper, unsigned generation,
                     std::optional<std::uint64_t> id = std::nullopt);

    std::string helperExe_;
    SessionList sessions_;
    HelperTimeouts timeouts_;
    WaitTurn turn_;
    bool ending_ = false;
    std::optional<Clock::time_point> scannedAt_;
    std::vector<std::shared_ptr<Helper>> helpers_; // the running sessions, in order
    std::shared_ptr<Helper> current_;              // where the last IM window was found
};

} // namespace Tarnellbas
