// A stand-in for AIM's instant-message window, for the tests under Wine:
//   aim-test-window.exe LOG
// "AIM_IMessage" holds "_Oscar_PersistantCombo" (with an "Edit"),
// "WndAte32Class", the message box right after it, and "_Oscar_IconBtn".
// Logs "ready", each WM_SETTEXT with the receiving window's class and the text
// on the next line, and each button message; ends after a button-up.
#include <windows.h>

#include <cstdio>

static std::FILE *logFile;
static DWORD downAt;

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (message == WM_SETTEXT) {
        std::fprintf(logFile, "settext %s\n%s\n", className, reinterpret_cast<const char *>(lParam));
    } else if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
        // The button-up is posted 0.1 s after the button-down; a little slack for the tick count.
        const bool up = message == WM_LBUTTONUP, soon = up && GetTickCount() - downAt < 95;
        std::fprintf(logFile, "%s %s%s\n", up ? "up" : "down", className, soon ? " too soon" : "");
        downAt = up ? downAt : GetTickCount();
        if (up)
            PostQuitMessage(0);
    }
    std::fflush(logFile);
    return DefWindowProcA(window, message, wParam, lParam);
}

static HWND open(const char *className, HWND parent)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "", parent ? WS_CHILD : WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, parent,
                           nullptr, windowClass.hInstance, nullptr);
}

int main(int argc, char *argv[])
{
    if (argc != 2 || !(logFile = std::fopen(argv[1], "ab")))
        return 2;
    const HWND im = open("AIM_IMessage", nullptr);
    open("Edit", open("_Oscar_PersistantCombo", im));
    const HWND anchor = open("WndAte32Class", im);
    // A plain window: Wine's edit controls take minutes over the longest fade.
    const HWND messageBox = open("QuorvexTestMessageBox", im);
    open("_Oscar_IconBtn", im);
    SetWindowPos(messageBox, anchor, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (GetWindow(anchor, GW_HWNDNEXT) != messageBox)
        return 3;
    std::fputs("ready\n", logFile);
    std::fflush(logFile);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
