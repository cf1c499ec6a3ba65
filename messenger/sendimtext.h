#pragma once

#include "messenger/windowsystem.h"

#include <functional>
#include <string>

namespace Tarnellbas {

// One turn of the caller's event processing, run once per pass of the
// readiness loop; it may start a nested SendImText.
using ProcessEvents = std::function<void()>;

// Window classes of the AIM client that the link relies on.
inline constexpr char kImWindowClass[] = "AIM_IMessage";
inline constexpr char kComboClass[] = "_Oscar_PersistantCombo";
inline constexpr char kComboEditClass[] = "Edit";
inline constexpr char kMessageBoxAnchorClass[] = "WndAte32Class";
inline constexpr char kSendButtonClass[] = "_Oscar_IconBtn";

// The readiness loop's pass limit.
inline constexpr int kReadinessPasses = 10;

// Puts the text into the open IM window's message box and clicks its send
// button. Every failure on the way is swallowed: the step is skipped and the
// next one runs. Nothing is returned; a step that did nothing says why to the
// window system's diagnostics, if anyone listens.
void SendImText(WindowSystem &windows, std::u16string text, const ProcessEvents &processEvents = {});

// Button-down, a 0.1 s pause, button-up, all at (0, 0) with no key flags.
void ClickWindow(WindowSystem &windows, WindowHandle window);

// WM_SETTEXT with the text; an empty text sends nothing.
void PutWindowText(WindowSystem &windows, WindowHandle window, const std::u16string &text);

// Sleeps seconds x 1000 ms rounded to the nearest (a half to even). Raises
// std::overflow_error("Overflow") when that does not fit a signed 32-bit
// integer; a negative pause does not wait.
void PauseSeconds(WindowSystem &windows, double seconds);

} // namespace Tarnellbas
