// A stand-in for AIM's instant-message window, for the tests that drive the
// real user32 under Wine.
//   aim-test-window.exe LOG [TOP-LEVEL-CLASS]
// Opens a top-level window (class "AIM_IMessage" unless told otherwise)
// holding "_Oscar_PersistantCombo" (with an "Edit"), "WndAte32Class", the
// message box right after it, and "_Oscar_IconBtn". Appends to LOG:
//   ready
//   settext ROLE BYTES, a newline, the bytes as received, a newline
//   down ROLE MILLISECONDS / up ROLE MILLISECONDS
// and ends after a button-up on the send button, or after a minute.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

std::FILE *logFile = nullptr;
std::map<HWND, std::string> roles;
HWND sendButton = nullptr;
WNDPROC editProc = nullptr;
LARGE_INTEGER frequency, started;

double milliseconds()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - started.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void note(HWND window, UINT message, LPARAM lParam)
{
    const std::string &role = roles[window];
    if (message == WM_SETTEXT) {
        const char *text = reinterpret_cast<const char *>(lParam);
        const std::size_t size = text ? std::strlen(text) : 0;
        std::fprintf(logFile, "settext %s %zu\n", role.c_str(), size);
        std::fwrite(text, 1, size, logFile);
        std::fputc('\n', logFile);
    } else if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
        std::fprintf(logFile, "%s %s %.3f\n", message == WM_LBUTTONDOWN ? "down" : "up", role.c_str(),
                     milliseconds());
    } else {
        return;
    }
    std::fflush(logFile);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    note(window, message, lParam);
    if (message == WM_LBUTTONUP && window == sendButton)
        PostQuitMessage(0);
    if (message == WM_TIMER) {
        std::fputs("timeout\n", logFile);
        PostQuitMessage(1);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK editWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    note(window, message, lParam);
    return CallWindowProcA(editProc, window, message, wParam, lParam);
}

HWND open(const char *className, const char *role, HWND parent)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, className, role, parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW,
                                        0, 0, 300, 200, parent, nullptr, windowClass.hInstance, nullptr);
    roles[window] = role;
    return window;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2 || !(logFile = std::fopen(argv[1], "ab")))
        return 2;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);

    const HWND im = open(argc > 2 ? argv[2] : "AIM_IMessage", "im", nullptr);
    const HWND combo = open("_Oscar_PersistantCombo", "combo", im);
    const HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, combo, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    roles[edit] = "edit";
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editWindowProc)));
    const HWND anchor = open("WndAte32Class", "anchor", im);
    // A plain window: Wine's edit controls take minutes over the longest fade.
    const HWND messageBox = open("QuorvexTestMessageBox", "messagebox", im);
    sendButton = open("_Oscar_IconBtn", "button", im);

    // The message box must follow the anchor in the window order.
    SetWindowPos(messageBox, anchor, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (GetWindow(anchor, GW_HWNDNEXT) != messageBox) {
        std::fputs("bad-order\n", logFile);
        return 3;
    }
    ShowWindow(im, SW_SHOWNOACTIVATE);
    SetTimer(im, 1, 60000, nullptr);
    std::fputs("ready\n", logFile);
    std::fflush(logFile);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    std::fclose(logFile);
    return static_cast<int>(message.wParam);
}
