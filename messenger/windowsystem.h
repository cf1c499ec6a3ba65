#pragma once

#include "messenger/diagnostics.h"

#include <cstdint>
#include <functional>
#include <string>

namespace Tarnellbas {

// The platform's 32-bit window handle; 0 means no window.
using WindowHandle = std::uint32_t;

// Window messages the messenger link sends.
constexpr std::uint32_t WmSetText = 0x000C;
constexpr std::uint32_t WmLButtonDown = 0x0201;
constexpr std::uint32_t WmLButtonUp = 0x0202;

// One turn of the program's event processing, run while the messenger link
// waits for something outside the program; false gives the wait up because
// the program is ending.
using WaitTurn = std::function<bool()>;

// The few window-system calls the messenger link makes. Class names are
// matched exactly and titles never looked at. A call on a window that does not
// exist yields 0 or does nothing, as the platform does.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // FindWindowA(className, null title): the first top-level window of that class.
    virtual WindowHandle findWindow(const std::string &className) = 0;
    // FindWindowExA(parent, childAfter, className, null title); parent 0 searches
    // the top-level windows.
    virtual WindowHandle findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                         const std::string &className) = 0;
    // GetWindow(window, GW_HWNDNEXT): the window below it in the window order.
    virtual WindowHandle nextWindow(WindowHandle window) = 0;
    // SendMessageA(window, WM_SETTEXT, 0, text) with the text converted to the
    // system ANSI code page, NUL-terminated; returns once the window handled it.
    virtual void setWindowText(WindowHandle window, const std::u16string &text) = 0;
    // PostMessageA: queued, not waited for.
    virtual void postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
    // Sleep: blocks the calling thread.
    virtual void sleep(std::uint32_t milliseconds) = 0;

    // Where the link says why a step did nothing; nobody listens at first.
    void setDiagnostics(Diagnostics diagnostics) { diagnostics_ = std::move(diagnostics); }
    const Diagnostics &diagnostics() const { return diagnostics_; }
    // A listener that fails never stops a send.
    void diagnose(const std::string &line) const noexcept
    {
        if (!diagnostics_)
            return;
        try {
            diagnostics_(line);
        } catch (...) {
        }
    }

private:
    Diagnostics diagnostics_;
};

} // namespace Tarnellbas
