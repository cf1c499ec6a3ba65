#include "sendimtext.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

namespace Tarnellbas {

namespace {

// Runs one step; a step that fails leaves its target as it was.
template <typename Step>
void attempt(Step &&step) noexcept
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

void SendImText(WindowSystem &windows, std::u16string text, const ProcessEvents &processEvents)
{
    WindowHandle imWindow = 0;
    WindowHandle combo = 0;
    WindowHandle comboEdit = 0;
    WindowHandle messageBox = 0;
    WindowHandle sendButton = 0;

    // A short poll with no delay: it gives the client a few event turns to
    // finish opening the window, and its outcome gates nothing below.
    int passes = 0;
    do {
        if (processEvents)
            attempt([&] { processEvents(); });
        ++passes;
        attempt([&] { imWindow = windows.findWindow(kImWindowClass); });
        attempt([&] { combo = windows.findChildWindow(imWindow, 0, kComboClass); });
        attempt([&] { comboEdit = windows.findChildWindow(combo, 0, kComboEditClass); });
    } while (passes != kReadinessPasses && !(imWindow != 0 && combo != 0 && comboEdit != 0));

    attempt([&] { PauseSeconds(windows, 0.001); });

    // The IM window is looked up afresh before each use: it may have closed or
    // been replaced meanwhile.
    attempt([&] { imWindow = windows.findWindow(kImWindowClass); });
    attempt([&] { messageBox = windows.findChildWindow(imWindow, 0, kMessageBoxAnchorClass); });
    attempt([&] { messageBox = windows.nextWindow(messageBox); });
    attempt([&] { PutWindowText(windows, messageBox, text); });

    attempt([&] { imWindow = windows.findWindow(kImWindowClass); });
    attempt([&] { sendButton = windows.findChildWindow(imWindow, 0, kSendButtonClass); });
    attempt([&] { ClickWindow(windows, sendButton); });

    attempt([&] { PauseSeconds(windows, 0.001); });
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
