#pragma once

#include "messenger/windowsystem.h"

#include <map>
#include <string>
#include <vector>

namespace Tarnellbas {

struct FakeMessage { std::uint32_t message = 0; std::uintptr_t wParam = 0; std::intptr_t lParam = 0; };

struct FakeWindow { std::string className; WindowHandle parent = 0; std::u16string text = {}; int textsSet = 0; };

// A window tree that logs every call and never really sleeps. As in user32,
// look-ups in a missing window yield 0 and messages to one go nowhere.
class FakeWindowSystem : public WindowSystem
{
public:
    enum class Sleeping { Skipped };
    explicit FakeWindowSystem(Sleeping = Sleeping::Skipped) {}

    // Adds a window below its existing siblings; parent 0 makes it top-level. Handles
    // grow, so the map keeps the window order.
    WindowHandle addWindow(const std::string &className, WindowHandle parent = 0)
    {
        return windows_.emplace(0x10010 + 4 * windows_.size(), FakeWindow{className, parent}).first->first;
    }
    const FakeWindow *window(WindowHandle handle) const { return exists(handle) ? &windows_.at(handle) : nullptr; }
    // Every call as it was made, one line each: "FindChild 65552 0 Edit = 65560", "SetText 65568 hello"
    // (each UTF-16 unit cut to a byte), "Post 65572 513 0 0", "Sleep 100".
    const std::vector<std::string> &calls() const { return calls_; }
    // Every message any window received, in order.
    const std::vector<FakeMessage> &allReceived() const { return received_; }

    WindowHandle findWindow(const std::string &name) override { return log("FindWindow " + name, find(0, 0, name)); }
    WindowHandle findChildWindow(WindowHandle parent, WindowHandle after, const std::string &name) override
    {
        return log("FindChild " + n(parent) + ' ' + n(after) + ' ' + name,
                   parent == 0 || exists(parent) ? find(parent, after, name) : 0);
    }
    WindowHandle nextWindow(WindowHandle handle) override
    {
        return log("Next " + n(handle), exists(handle) ? find(windows_.at(handle).parent, handle, {}) : 0);
    }
    void setWindowText(WindowHandle handle, const std::u16string &text) override
    {
        calls_.push_back("SetText " + n(handle) + ' ' + std::string(text.begin(), text.end()));
        if (exists(handle))
            windows_[handle].text = text, ++windows_[handle].textsSet;
    }
    void postMessage(WindowHandle handle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        calls_.push_back("Post " + n(handle) + ' ' + n(message) + ' ' + n(wParam) + ' ' + n(lParam));
        if (exists(handle))
            received_.push_back({message, wParam, lParam});
    }
    void sleep(std::uint32_t milliseconds) override { calls_.push_back("Sleep " + n(milliseconds)); }

private:
    template <typename T> static std::string n(T value) { return std::to_string(value); }
    // The first window in `parent` after `after` (0: from the top) of that class (empty: any).
    WindowHandle find(WindowHandle parent, WindowHandle after, const std::string &className) const
    {
        for (auto it = windows_.upper_bound(after); it != windows_.end(); ++it)
            if (it->second.parent == parent && (className.empty() || it->second.className == className))
                return it->first;
        return 0;
    }
    bool exists(WindowHandle handle) const { return windows_.count(handle) != 0; }
    WindowHandle log(const std::string &call, WindowHandle result)
    {
        calls_.push_back(call + " = " + n(result));
        return result;
    }

    std::map<WindowHandle, FakeWindow> windows_;
    std::vector<std::string> calls_;
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
