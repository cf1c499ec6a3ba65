// Stands in for the Wine helper in the bridge's tests: speaks the helper's
// protocol over a fake IM window, or misbehaves as told.
//   fakeimhelper MODE LOG
// Every start appends "start" to LOG; "serve" also appends each call made,
// and writes each text set to LOG.text as raw UTF-16LE; "quiet" serves
// without logging the calls.
#include "calltext.h"
#include "fakewindowsystem.h"
#include "messenger/helperprotocol.h"
#include "messenger/helperserver.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

using namespace Tarnellbas;

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    const std::string mode = argv[1];
    const std::string log = argv[2];
    std::ofstream(log, std::ios::app) << "start\n";

    const auto greet = [](const char *greeting) {
        std::fputs(greeting, stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
    const auto stall = [] { std::this_thread::sleep_for(std::chrono::minutes(2)); };

    if (mode == "silent") {
        stall();
    } else if (mode == "mute") {
        greet(HelperProtocol::kGreeting);
        stall();
    } else if (mode == "quit") {
        greet(HelperProtocol::kGreeting);
    } else if (mode == "refuse") {
        greet(HelperProtocol::kGreeting);
        for (int c; (c = std::getchar()) != EOF;)
            if (c == '\n') {
                std::fputs("?\n", stdout);
                std::fflush(stdout);
            }
    } else if (mode == "quiet") {
        FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
        addFakeImWindow(windows);
        serveWindowSystem(windows, stdin, stdout);
    } else if (mode == "serve" || mode == "stranger") {
        if (mode == "stranger")
            greet("some-other-program 2");
        FakeWindowSystem windows(FakeWindowSystem::Sleeping::Skipped);
        addFakeImWindow(windows);
        windows.afterCall = [&](const FakeCall &call) {
            std::ofstream(log, std::ios::app) << callText(call) << '\n';
            if (call.kind == FakeCall::Kind::SetText)
                std::ofstream(log + ".text", std::ios::binary | std::ios::trunc)
                    .write(reinterpret_cast<const char *>(call.text.data()),
                           static_cast<std::streamsize>(2 * call.text.size()));
        };
        serveWindowSystem(windows, stdin, stdout);
    } else {
        return 2;
    }
    return 0;
}
