#pragma once

#include "messenger/windowsystem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The line protocol between the program and the Win32 helper that makes its
// window-system calls inside Wine. Each request is one line (ASCII, fields
// separated by single spaces, numbers in decimal) that starts with its kind and
// an id of the program's choosing; the answer line repeats the id, so a late or
// doubled answer can never pass for the answer to a later request:
//   F <id> <class>                            FindWindowA            = <id> <handle>
//   X <id> <parent> <after> <class>           FindWindowExA          = <id> <handle>
//   N <id> <window>                           GetWindow(GW_HWNDNEXT) = <id> <handle>
//   T <id> <window> <units>, then 2 x units   WM_SETTEXT             = <id> 0
//     bytes of UTF-16LE text
//   P <id> <window> <message> <wParam> <lParam>  PostMessageA        = <id> 0
// A request the helper cannot carry out is answered "? <id>", one whose id it
// cannot read "?". The helper greets with kGreeting when it is ready and ends
// at the end of its input.
namespace Tarnellbas::HelperProtocol {

inline constexpr char kGreeting[] = "quorvex-im-helper 2";
// Longest request or answer line, newline excluded.
inline constexpr std::size_t kMaxLine = 1024;
// Largest text a request may carry, in UTF-16 units.
inline constexpr std::size_t kMaxTextUnits = std::size_t{1} << 26;

// A class name travels as the rest of its line.
bool isSendableClassName(std::string_view className);

using RequestId = std::uint64_t;

std::string findWindowRequest(RequestId id, const std::string &className);
std::string findChildRequest(RequestId id, WindowHandle parent, WindowHandle childAfter, const std::string &className);
std::string nextWindowRequest(RequestId id, WindowHandle window);
// Header line and text bytes.
std::string setTextRequest(RequestId id, WindowHandle window, const std::u16string &text);
std::string postRequest(RequestId id, WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam);
std::string answer(RequestId id, WindowHandle value);
// With no id: the request could not be read at all.
std::string refusal(std::optional<RequestId> id);

struct Answer
{
    RequestId id = 0;
    std::optional<WindowHandle> value; // nothing: refused
};

// An answer line (without its newline); nothing when it is not one, a bare
// "?" included.
std::optional<Answer> parseAnswer(std::string_view line);

struct Request
{
    enum class Kind { FindWindow, FindChild, NextWindow, SetText, Post } kind = Kind::FindWindow;
    RequestId id = 0;
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
// The id of a request line that parseRequest refuses, when it can be read.
std::optional<RequestId> parseRequestId(std::string_view line);

std::u16string fromUtf16Le(std::string_view bytes);

} // namespace Tarnellbas::HelperProtocol
