// Makes the messenger link's window-system calls inside Wine for the Linux
// program, which talks to it over standard input and output.
#include "messenger/helperserver.h"
#include "messenger/win32windowsystem.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

int main()
{
    // The text arrives as raw UTF-16 bytes: no newline translation.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    Tarnellbas::Win32WindowSystem windows;
    Tarnellbas::serveWindowSystem(windows, stdin, stdout);
    return 0;
}
