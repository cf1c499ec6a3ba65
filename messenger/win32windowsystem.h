#pragma once

#include "messenger/windowsystem.h"

#include <string>

namespace Tarnellbas {

// The window system of the running Windows session, through user32 and
// kernel32. Built into the program on Windows and into the Wine helper.
class Win32WindowSystem : public WindowSystem
{
public:
    WindowHandle findWindow(const std::string &className) override;
    WindowHandle findChildWindow(WindowHandle parent, WindowHandle childAfter,
                                 const std::string &className) override;
    WindowHandle nextWindow(WindowHandle window) override;
    void setWindowText(WindowHandle window, const std::u16string &text) override;
    void postMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    void sleep(std::uint32_t milliseconds) override;
};

// The text in the system ANSI code page as WideCharToMultiByte(CP_ACP) makes
// it: characters the code page lacks become its default character.
std::string toAnsiCodePage(const std::u16string &text);

} // namespace Tarnellbas
