#pragma once

#include "messenger/windowsystem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The line protocol between the program and the Win32 helper that makes its
// window-system calls inside Wine. Each request is one line (ASCII, fields
// separated by single spaces, numbers in decimal), answered by one line:
//   F <class>                            FindWindowA            = <handle>
//   X <parent> <after> <class>           FindWindowExA          = <handle>
//   N <window>                           GetWindow(GW_HWNDNEXT) = <handle>
//   T <window> <units>, then 2 x units   WM_SETTEXT             = 0
//     bytes of UTF-16LE text
//   P <window> <message> <wParam> <lParam>  PostMessageA        = 0
// A request the helper cannot read is answered "?". The helper greets with
// kGreeting when it is ready and ends at the end of its input.
namespace Tarnellbas::HelperProtocol {

inline constexpr char kGreeting[] = "quorvex-im-helper 1";
inline constexpr char kRefusal[] = "?";
// Longest request or answer line, newline excluded.
inline constexpr std::size_t kMaxLine = 1024;
// Largest text a request may carry, in UTF-16 units.
inline constexpr std::size_t kMaxTextUnits = std::size_t{1} << 26;

// A class name travels as the rest of its line.
bool isSendableClassName(std::string_view className);

std::string findWindowRequest(const std::string &className);
std::string findChildRequest(WindowHandle parent, WindowHandle childAfter, const std::string &className);
std::string nextWindowRequest(WindowHandle window);
// Header line and text bytes.
std::string setTextRequest(WindowHandle window, const std::u16string &text);
std::string postRequest(WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
std::string answer(WindowHandle value);

// The value of an answer line (without its newline); nothing for a refusal
// or anything malformed.
std::optional<WindowHandle> parseAnswer(std::string_view line);

struct Request
{
    enum class Kind { FindWindow, FindChild, NextWindow, SetText, Post } kind = Kind::FindWindow;
    WindowHandle window = 0;      // parent for FindChild
    WindowHandle childAfter = 0;
    std::string className;
    std::size_t textUnits = 0;    // SetText: the units that follow the line
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// A request line (without its newline); nothing when it is malformed.
std::optional<Request> parseRequest(std::string_view line);

std::u16string fromUtf16Le(std::string_view bytes);

} // namespace Tarnellbas::HelperProtocol
