#pragma once

#include "messenger/windowsystem.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace Tarnellbas {

// One call made on the fake, as it was made.
struct FakeCall
{
    enum class Kind { FindWindow, FindChild, NextWindow, SetText, Post, Sleep };

    Kind kind = Kind::FindWindow;
    WindowHandle window = 0;     // the parent of FindChild, the target of the others
    WindowHandle childAfter = 0;
    std::string className;
    std::u16string text;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t milliseconds = 0;
    WindowHandle result = 0;     // what a look-up returned
    bool failed = false;         // raised an error instead
    std::chrono::nanoseconds at{}; // since the fake was made, skipped sleeps included
};

struct FakeMessage
{
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::chrono::nanoseconds at{};
};

struct FakeWindow
{
    WindowHandle handle = 0;
    std::string className;
    WindowHandle parent = 0;
    std::vector<WindowHandle> children; // in window order, top first
    std::u16string text;
    int textsSet = 0;
    std::vector<FakeMessage> received;
};

// A scriptable window tree that records every call in order. Windows behave as
// user32's do: look-ups in a missing window yield 0, and messages to a missing
// window go nowhere.
class FakeWindowSystem : public WindowSystem
{
public:
    enum class Sleeping { Real, Skipped };

    explicit FakeWindowSystem(Sleeping sleeping = Sleeping::Real);

    // Adds a window below its existing siblings; parent 0 makes it top-level.
    WindowHandle addWindow(const std::string &className, WindowHandle parent = 0);
    // Closes the window and everything inside it.
    void removeWindow(WindowHandle window);
    // The window, or nullptr once it is gone (or never was).
    const FakeWindow *window(WindowHandle window) const;

    const std::vector<FakeCall> &calls() const { return calls_; }
    std::vector<FakeCall> callsOf(FakeCall::Kind kind) const;
    // Every message any window received, in order.
    std::vector<FakeMessage> allReceived() const;

    // Runs after each call that did not fail, with the call as recorded.
    std::function<void(const FakeCall &)> afterCall;
    // A call for which this is true raises std::runtime_error and has no effect.
    std::function<bool(const FakeCall &)> failWhen;

    WindowHandle findWindow(const std::string &className) override;
    WindowHandle findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                 const std::string &className) override;
    WindowHandle nextWindow(WindowHandle window) override;
    void setWindowText(WindowHandle window, const std::u16string &text) override;
    void postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    void sleep(std::uint32_t milliseconds) override;

private:
    std::chrono::nanoseconds now() const;
    const std::vector<WindowHandle> &siblingsIn(WindowHandle parent) const;
    FakeCall &record(FakeCall call);
    void finish(const FakeCall &call);

    Sleeping sleeping_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::nanoseconds skipped_{};
    WindowHandle nextHandle_ = 0x10010;
    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<WindowHandle> topLevel_;
    std::vector<FakeCall> calls_;
};

// The windows of an AIM instant-message window as the messenger link sees it.
struct FakeImWindow
{
    WindowHandle imWindow = 0, combo = 0, comboEdit = 0, anchor = 0, messageBox = 0, sendButton = 0;
};

// Opens a complete IM window: the combo holding its edit, the "WndAte32Class"
// child, the message box right after it, and the send button.
FakeImWindow addFakeImWindow(FakeWindowSystem &windows);

} // namespace Tarnellbas
