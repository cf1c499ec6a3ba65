#include "sendimtext.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace Tarnellbas {

namespace {

// ": message" of the exception being handled, if it has one.
std::string currentReason()
{
    try {
        throw;
    } catch (const std::exception &error) {
        return std::string(": ") + error.what();
    } catch (...) {
        return {};
    }
}

// Says the line, built only when someone listens (empty: nothing to say);
// failing to say it fails no step.
template <typename Line>
void report(const WindowSystem &windows, Line &&line) noexcept
{
    if (!windows.diagnostics())
        return;
    try {
        if (const std::string said = line(); !said.empty())
            windows.diagnose(said);
    } catch (...) {
    }
}

// Runs one step; a step that fails leaves its target as it was, and says so.
template <typename Step>
void attempt(const WindowSystem &windows, const char *what, Step &&step) noexcept
{
    try {
        step();
    } catch (...) {
        report(windows, [&] { return std::string(what) + " failed" + currentReason(); });
    }
}

std::string quoted(const char *className)
{
    return '"' + std::string(className) + '"';
}

} // namespace

void SendImText(WindowSystem &windows, std::u16string text, const ProcessEvents &processEvents)
{
    WindowHandle imWindow = 0;
    WindowHandle combo = 0;
    WindowHandle comboEdit = 0;
    WindowHandle anchor = 0;
    WindowHandle messageBox = 0;
    WindowHandle sendButton = 0;

    // A short poll with no delay: it gives the client a few event turns to
    // finish opening the window, and its outcome gates nothing below.
    int passes = 0;
    do {
        if (processEvents)
            attempt(windows, "processing the program's events", [&] { processEvents(); });
        ++passes;
        attempt(windows, "FindWindowA", [&] { imWindow = windows.findWindow(kImWindowClass); });
        attempt(windows, "FindWindowExA", [&] { combo = windows.findChildWindow(imWindow, 0, kComboClass); });
        attempt(windows, "FindWindowExA", [&] { comboEdit = windows.findChildWindow(combo, 0, kComboEditClass); });
    } while (passes != kReadinessPasses && !(imWindow != 0 && combo != 0 && comboEdit != 0));
    report(windows, [&] {
        const std::string looked = " (looked " + std::to_string(passes) + " times)";
        return imWindow == 0 ? "no IM window: no top-level window of class " + quoted(kImWindowClass) + looked
               : combo == 0  ? "the IM window is not ready: it has no " + quoted(kComboClass) + " child" + looked
               : comboEdit == 0
                   ? "the IM window is not ready: its " + quoted(kComboClass) + " has no " + quoted(kComboEditClass)
                         + " child" + looked
                   : std::string();
    });

    attempt(windows, "PauseSeconds", [&] { PauseSeconds(windows, 0.001); });

    // The IM window is looked up afresh before each use: it may have closed or
    // been replaced meanwhile.
    attempt(windows, "FindWindowA", [&] { imWindow = windows.findWindow(kImWindowClass); });
    attempt(windows, "FindWindowExA", [&] { anchor = windows.findChildWindow(imWindow, 0, kMessageBoxAnchorClass); });
    attempt(windows, "GetWindow", [&] { messageBox = windows.nextWindow(anchor); });
    attempt(windows, "WM_SETTEXT", [&] { PutWindowText(windows, messageBox, text); });
    report(windows, [&] {
        return imWindow == 0 ? "text not set: no IM window"
               : anchor == 0 ? "text not set: the IM window has no " + quoted(kMessageBoxAnchorClass) + " child"
               : messageBox == 0
                   ? "text not set: no window follows the IM window's " + quoted(kMessageBoxAnchorClass) + " child"
               : text.empty() ? "text not set: the text is empty"
                              : std::string();
    });

    attempt(windows, "FindWindowA", [&] { imWindow = windows.findWindow(kImWindowClass); });
    attempt(windows, "FindWindowExA", [&] { sendButton = windows.findChildWindow(imWindow, 0, kSendButtonClass); });
    attempt(windows, "clicking the send button", [&] { ClickWindow(windows, sendButton); });
    report(windows, [&] {
        return imWindow == 0     ? "not clicked: no IM window"
               : sendButton == 0 ? "not clicked: the IM window has no " + quoted(kSendButtonClass) + " child"
                                 : std::string();
    });

    attempt(windows, "PauseSeconds", [&] { PauseSeconds(windows, 0.001); });
}

void ClickWindow(WindowSystem &windows, WindowHandle window)
{
    windows.postMessage(window, WmLButtonDown, 0, 0);
    PauseSeconds(windows, 0.1);
    windows.postMessage(window, WmLButtonUp, 0, 0);
}

void PutWindowText(WindowSystem &windows, WindowHandle window, const std::u16string &text)
{
    if (!text.empty())
        windows.setWindowText(window, text);
}

void PauseSeconds(WindowSystem &windows, double seconds)
{
    // The default rounding mode takes an exact half to the even neighbour.
    const double milliseconds = std::nearbyint(seconds * 1000.0);
    if (!(milliseconds >= std::numeric_limits<std::int32_t>::min()
          && milliseconds <= std::numeric_limits<std::int32_t>::max()))
        throw std::overflow_error("Overflow");
    // Handed to Sleep as it stands, a negative count would be read as an
    // unsigned one: a wait of weeks, or for ever.
    windows.sleep(milliseconds > 0 ? static_cast<std::uint32_t>(milliseconds) : 0u);
}

} // namespace Tarnellbas
