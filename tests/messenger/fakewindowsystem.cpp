#include "fakewindowsystem.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace Tarnellbas {

namespace {

FakeCall makeCall(FakeCall::Kind kind, WindowHandle window = 0, const std::string &className = {},
                  WindowHandle childAfter = 0)
{
    FakeCall call;
    call.kind = kind;
    call.window = window;
    call.className = className;
    call.childAfter = childAfter;
    return call;
}

FakeCall withText(FakeCall call, const std::u16string &text)
{
    call.text = text;
    return call;
}

FakeCall withMessage(FakeCall call, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    return call;
}

FakeCall withPause(FakeCall call, std::uint32_t milliseconds)
{
    call.milliseconds = milliseconds;
    return call;
}

} // namespace

FakeWindowSystem::FakeWindowSystem(Sleeping sleeping)
    : sleeping_(sleeping), start_(std::chrono::steady_clock::now())
{
}

WindowHandle FakeWindowSystem::addWindow(const std::string &className, WindowHandle parent)
{
    if (parent != 0 && !windows_.count(parent))
        throw std::invalid_argument("no such parent window");
    const WindowHandle handle = nextHandle_;
    nextHandle_ += 4;
    windows_[handle] = FakeWindow{handle, className, parent, {}, {}, 0, {}};
    if (parent == 0)
        topLevel_.push_back(handle);
    else
        windows_[parent].children.push_back(handle);
    return handle;
}

void FakeWindowSystem::removeWindow(WindowHandle window)
{
    const auto found = windows_.find(window);
    if (found == windows_.end())
        return;
    const std::vector<WindowHandle> children = found->second.children;
    for (const WindowHandle child : children)
        removeWindow(child);
    const WindowHandle parent = found->second.parent;
    auto &siblings = parent == 0 ? topLevel_ : windows_[parent].children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    windows_.erase(window);
}

const FakeWindow *FakeWindowSystem::window(WindowHandle window) const
{
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}

std::vector<FakeCall> FakeWindowSystem::callsOf(FakeCall::Kind kind) const
{
    std::vector<FakeCall> matching;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(matching),
                 [kind](const FakeCall &call) { return call.kind == kind; });
    return matching;
}

std::vector<FakeMessage> FakeWindowSystem::allReceived() const
{
    std::vector<FakeMessage> all;
    for (const auto &[handle, window] : windows_)
        all.insert(all.end(), window.received.begin(), window.received.end());
    std::sort(all.begin(), all.end(), [](const auto &a, const auto &b) { return a.at < b.at; });
    return all;
}

std::chrono::nanoseconds FakeWindowSystem::now() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start_)
           + skipped_;
}

const std::vector<WindowHandle> &FakeWindowSystem::siblingsIn(WindowHandle parent) const
{
    static const std::vector<WindowHandle> none;
    if (parent == 0)
        return topLevel_;
    const FakeWindow *found = window(parent);
    return found ? found->children : none;
}

FakeCall &FakeWindowSystem::record(FakeCall call)
{
    call.at = now();
    calls_.push_back(std::move(call));
    if (failWhen && failWhen(calls_.back())) {
        calls_.back().failed = true;
        throw std::runtime_error("the window system failed");
    }
    return calls_.back();
}

void FakeWindowSystem::finish(const FakeCall &call)
{
    if (afterCall) {
        const FakeCall copy = call; // the hook may make calls of its own
        afterCall(copy);
    }
}

WindowHandle FakeWindowSystem::findWindow(const std::string &className)
{
    FakeCall &call = record(makeCall(FakeCall::Kind::FindWindow, 0, className));
    for (const WindowHandle handle : topLevel_)
        if (windows_.at(handle).className == className) {
            call.result = handle;
            break;
        }
    const WindowHandle result = call.result;
    finish(call);
    return result;
}

WindowHandle FakeWindowSystem::findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                               const std::string &className)
{
    FakeCall &call = record(makeCall(FakeCall::Kind::FindChild, parent, className, childAfter));
    const bool parentExists = parent == 0 || window(parent);
    const auto &siblings = siblingsIn(parent);
    auto from = siblings.begin();
    if (childAfter != 0) {
        from = std::find(siblings.begin(), siblings.end(), childAfter);
        if (from != siblings.end())
            ++from;
        else
            from = siblings.end(); // not a child of this parent: nothing found
    }
    if (parentExists)
        for (auto it = from; it != siblings.end(); ++it)
            if (windows_.at(*it).className == className) {
                call.result = *it;
                break;
            }
    const WindowHandle result = call.result;
    finish(call);
    return result;
}

WindowHandle FakeWindowSystem::nextWindow(WindowHandle handle)
{
    FakeCall &call = record(makeCall(FakeCall::Kind::NextWindow, handle));
    if (const FakeWindow *found = window(handle)) {
        const auto &siblings = siblingsIn(found->parent);
        const auto it = std::find(siblings.begin(), siblings.end(), handle);
        if (it != siblings.end() && it + 1 != siblings.end())
            call.result = *(it + 1);
    }
    const WindowHandle result = call.result;
    finish(call);
    return result;
}

void FakeWindowSystem::setWindowText(WindowHandle handle, const std::u16string &text)
{
    FakeCall &call = record(withText(makeCall(FakeCall::Kind::SetText, handle), text));
    if (auto found = windows_.find(handle); found != windows_.end()) {
        found->second.text = text;
        ++found->second.textsSet;
    }
    finish(call);
}

void FakeWindowSystem::postMessage(WindowHandle handle, std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam)
{
    FakeCall &call = record(withMessage(makeCall(FakeCall::Kind::Post, handle), message, wParam, lParam));
    if (auto found = windows_.find(handle); found != windows_.end())
        found->second.received.push_back({message, wParam, lParam, call.at});
    finish(call);
}

void FakeWindowSystem::sleep(std::uint32_t milliseconds)
{
    FakeCall &call = record(withPause(makeCall(FakeCall::Kind::Sleep), milliseconds));
    if (sleeping_ == Sleeping::Real)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    else
        skipped_ += std::chrono::milliseconds(milliseconds);
    finish(call);
}

FakeImWindow addFakeImWindow(FakeWindowSystem &windows)
{
    FakeImWindow im;
    im.imWindow = windows.addWindow("AIM_IMessage");
    im.combo = windows.addWindow("_Oscar_PersistantCombo", im.imWindow);
    im.comboEdit = windows.addWindow("Edit", im.combo);
    im.anchor = windows.addWindow("WndAte32Class", im.imWindow);
    im.messageBox = windows.addWindow("RICHEDIT20A", im.imWindow);
    im.sendButton = windows.addWindow("_Oscar_IconBtn", im.imWindow);
    return im;
}

} // namespace Tarnellbas
