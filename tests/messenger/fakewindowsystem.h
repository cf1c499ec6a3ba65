#pragma once

#include "messenger/windowsystem.h"

#include <map>
#include <string>
#include <vector>

namespace Tarnellbas {

// One call made on the fake, as it was made.
struct FakeCall
{
    enum class Kind { FindWindow, FindChild, NextWindow, SetText, Post, Sleep };
    Kind kind = Kind::FindWindow;
    WindowHandle window = 0, childAfter = 0, result = 0; // window: the parent of FindChild
    std::string className = {};
    std::u16string text = {};
    std::uint32_t number = 0; // the message posted, or the milliseconds slept
};

struct FakeMessage { std::uint32_t message = 0; std::uintptr_t wParam = 0; std::intptr_t lParam = 0; };

struct FakeWindow { std::string className; WindowHandle parent = 0; std::u16string text = {}; int textsSet = 0; };

// A window tree that records every call and never really sleeps. As in user32,
// look-ups in a missing window yield 0 and messages to one go nowhere.
class FakeWindowSystem : public WindowSystem
{
public:
    using Kind = FakeCall::Kind;
    enum class Sleeping { Skipped };
    explicit FakeWindowSystem(Sleeping = Sleeping::Skipped) {}

    // Adds a window below its existing siblings; parent 0 makes it top-level. Handles
    // grow, so the map keeps the window order.
    WindowHandle addWindow(const std::string &className, WindowHandle parent = 0)
    {
        return windows_.emplace(0x10010 + 4 * windows_.size(), FakeWindow{className, parent}).first->first;
    }
    const FakeWindow *window(WindowHandle handle) const { return exists(handle) ? &windows_.at(handle) : nullptr; }
    const std::vector<FakeCall> &calls() const { return calls_; }
    // Every message any window received, in order.
    const std::vector<FakeMessage> &allReceived() const { return received_; }

    WindowHandle findWindow(const std::string &name) override { return record({Kind::FindWindow, 0, 0, find(0, 0, name), name}); }
    WindowHandle findChildWindow(WindowHandle parent, WindowHandle after, const std::string &name) override
    {
        return record({Kind::FindChild, parent, after, parent == 0 || exists(parent) ? find(parent, after, name) : 0, name});
    }
    WindowHandle nextWindow(WindowHandle handle) override
    {
        return record({Kind::NextWindow, handle, 0, exists(handle) ? find(windows_.at(handle).parent, handle, {}) : 0});
    }
    void setWindowText(WindowHandle handle, const std::u16string &text) override
    {
        record({Kind::SetText, handle, 0, 0, {}, text});
        if (exists(handle))
            windows_[handle].text = text, ++windows_[handle].textsSet;
    }
    void postMessage(WindowHandle handle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        record({Kind::Post, handle, 0, 0, {}, {}, message});
        if (exists(handle))
            received_.push_back({message, wParam, lParam});
    }
    void sleep(std::uint32_t milliseconds) override { record({Kind::Sleep, 0, 0, 0, {}, {}, milliseconds}); }

private:
    // The first window in `parent` after `after` (0: from the top) of that class (empty: any).
    WindowHandle find(WindowHandle parent, WindowHandle after, const std::string &className) const
    {
        for (auto it = windows_.upper_bound(after); it != windows_.end(); ++it)
            if (it->second.parent == parent && (className.empty() || it->second.className == className))
                return it->first;
        return 0;
    }
    bool exists(WindowHandle handle) const { return windows_.count(handle) != 0; }
    WindowHandle record(FakeCall call) { return calls_.emplace_back(std::move(call)).result; }

    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<FakeCall> calls_;
    std::vector<FakeMessage> received_;
};

// The windows of an AIM instant-message window as the messenger link sees it.
struct FakeImWindow { WindowHandle imWindow = 0, combo = 0, comboEdit = 0, anchor = 0, messageBox = 0, sendButton = 0; };

// Opens a complete IM window: the combo holding its edit, the "WndAte32Class"
// child, the message box right after it, and the send button.
inline FakeImWindow addFakeImWindow(FakeWindowSystem &windows)
{
    const WindowHandle im = windows.addWindow("AIM_IMessage"), combo = windows.addWindow("_Oscar_PersistantCombo", im);
    return {im, combo, windows.addWindow("Edit", combo), windows.addWindow("WndAte32Class", im),
            windows.addWindow("RICHEDIT20A", im), windows.addWindow("_Oscar_IconBtn", im)};
}

} // namespace Tarnellbas
