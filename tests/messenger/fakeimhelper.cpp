// Stands in for the Wine helper in the bridge benchmark: serves a fake IM
// window ("quiet"), or no window at all (any other first argument).
#include "fakewindowsystem.h"
#include "messenger/helperserver.h"

int main(int argc, char *argv[])
{
    Tarnellbas::FakeWindowSystem windows;
    if (argc > 1 && std::string(argv[1]) == "quiet")
        Tarnellbas::addFakeImWindow(windows);
    Tarnellbas::serveWindowSystem(windows, stdin, stdout);
}
