#include "win32windowsystem.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <climits>

namespace Tarnellbas {

namespace {

// Window handles hold 32 significant bits on 64-bit Windows too; widening one
// back sign-extends it, as LongToHandle does.
HWND toHwnd(WindowHandle window)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(window)));
}

WindowHandle fromHwnd(HWND window)
{
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}

} // namespace

std::string toAnsiCodePage(const std::u16string &text)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), needed, nullptr, nullptr);
    return ansi;
}

WindowHandle Win32WindowSystem::findWindow(const std::string &className)
{
    return fromHwnd(FindWindowA(className.c_str(), nullptr));
}

WindowHandle Win32WindowSystem::findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                                const std::string &className)
{
    return fromHwnd(FindWindowExA(toHwnd(parent), toHwnd(childAfter), className.c_str(), nullptr));
}

WindowHandle Win32WindowSystem::nextWindow(WindowHandle window)
{
    if (window == 0)
        return 0;
    return fromHwnd(GetWindow(toHwnd(window), GW_HWNDNEXT));
}

void Win32WindowSystem::setWindowText(WindowHandle window, const std::u16string &text)
{
    if (window == 0)
        return;
    const std::string ansi = toAnsiCodePage(text);
    SendMessageA(toHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
}

void Win32WindowSystem::postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam)
{
    // PostMessageA to no window posts to our own thread's queue instead:
    // a click meant for AIM must not land there.
    if (window == 0)
        return;
    PostMessageA(toHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32WindowSystem::sleep(std::uint32_t milliseconds)
{
    Sleep(milliseconds);
}

} // namespace Tarnellbas
