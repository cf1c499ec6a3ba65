// Reports a top-level window as Windows sees it, for the tests under Wine:
//   windowprobe.exe TITLE [SECONDS]
// waits up to SECONDS (default 60) for a visible window titled TITLE, then prints
//   frame LEFT TOP WIDTH HEIGHT client WIDTH HEIGHT at X Y topmost 0|1
// (the client area's size and its top-left corner on the screen). Exits 1 if
// no such window appeared.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    for (int waited = 0; waited <= seconds * 10; ++waited) {
        const HWND window = FindWindowA(nullptr, argv[1]);
        if (window && IsWindowVisible(window)) {
            RECT frame, client;
            POINT origin{0, 0};
            GetWindowRect(window, &frame);
            GetClientRect(window, &client);
            ClientToScreen(window, &origin);
            const bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            std::printf("frame %ld %ld %ld %ld client %ld %ld at %ld %ld topmost %d\n", frame.left, frame.top,
                        frame.right - frame.left, frame.bottom - frame.top, client.right, client.bottom, origin.x,
                        origin.y, topmost ? 1 : 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
