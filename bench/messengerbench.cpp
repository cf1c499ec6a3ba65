// The Wine bridge: the cost of its pipe and protocol against the stand-in
// helper (a native process, so Wine's own cost is not in these figures), a
// send with no Wine session running, and how often the event turns come while
// a helper is slow to start.
#include "messenger/sendimtext.h"
#include "messenger/winebridgewindowsystem.h"
#include "messenger/winesessions.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// One running session whose helper is the stand-in, in the mode the bridge
// hands it as the helper's name.
Tarnellbas::SessionList standIn()
{
    return [] { return std::vector<Tarnellbas::WineSession>{{"/prefix/bench", FAKE_IM_HELPER, {}, 1}}; };
}

Tarnellbas::WineBridgeWindowSystem &bridge()
{
    static Tarnellbas::WineBridgeWindowSystem helper("window", standIn());
    return helper;
}

// One look-up there and back.
void BM_BridgeLookup(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(bridge().findWindow("AIM_IMessage"));
}
BENCHMARK(BM_BridgeLookup)->Unit(benchmark::kMicrosecond);

// WM_SETTEXT of a fade of this many characters, 688,107 being the longest.
void BM_BridgeSetText(benchmark::State &state)
{
    const std::u16string text(static_cast<std::size_t>(state.range(0)), u'x');
    const Tarnellbas::WindowHandle box = bridge().nextWindow(
        bridge().findChildWindow(bridge().findWindow("AIM_IMessage"), 0, "WndAte32Class"));
    for (auto _ : state)
        bridge().setWindowText(box, text);
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_BridgeSetText)->ArgName("chars")->Arg(21)->Arg(21000)->Arg(688107)->Unit(benchmark::kMillisecond);

// Looking for running sessions in this machine's real process table.
void BM_FindWineSessions(benchmark::State &state)
{
    const Tarnellbas::SessionSearch search = Tarnellbas::SessionSearch::fromEnvironment();
    std::size_t found = 0;
    for (auto _ : state)
        found = Tarnellbas::findWineSessions(search).size();
    state.counters["sessions"] = static_cast<double>(found);
}
BENCHMARK(BM_FindWineSessions)->Unit(benchmark::kMicrosecond);

// A whole SendImText with no Wine session running: the real look-up for
// sessions each time, whose answer is then set aside (other users of this
// machine may have sessions of their own). The pauses alone are 0.102 s.
void BM_SendImTextNoSession(benchmark::State &state)
{
    const Tarnellbas::SessionSearch search = Tarnellbas::SessionSearch::fromEnvironment();
    Tarnellbas::WineBridgeWindowSystem none("helper.exe", [search] {
        benchmark::DoNotOptimize(Tarnellbas::findWineSessions(search));
        return std::vector<Tarnellbas::WineSession>();
    });
    const auto start = Clock::now();
    for (auto _ : state)
        Tarnellbas::SendImText(none, u"text");
    const double each = std::chrono::duration<double, std::milli>(Clock::now() - start).count()
                        / static_cast<double>(state.iterations());
    state.counters["beyond_pauses_ms"] = each - 102.0;
}
BENCHMARK(BM_SendImTextNoSession)->Unit(benchmark::kMillisecond)->Iterations(10);

// The first send into a running session: the helper starts, greets, and the
// text and the click go through it.
void BM_FirstSendStandIn(benchmark::State &state)
{
    for (auto _ : state) {
        // Stopping the helper afterwards is not part of the send.
        Tarnellbas::WineBridgeWindowSystem fresh("window", standIn());
        const auto start = Clock::now();
        Tarnellbas::SendImText(fresh, u"<Font Color=#FF0000>text");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_FirstSendStandIn)->Unit(benchmark::kMillisecond)->Iterations(10)->UseManualTime();

// A send whose helper takes 5 s to greet: the longest gap between the event
// turns (each one processing the program's events) while it waits.
void BM_EventTurnGapSlowHelper(benchmark::State &state)
{
    double longest = 0;
    int turns = 0;
    for (auto _ : state) {
        Clock::time_point last = Clock::now();
        Tarnellbas::WineBridgeWindowSystem slow("slow", standIn(), {}, [&] {
            const auto now = Clock::now();
            longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
            ++turns;
            QCoreApplication::processEvents();
            last = Clock::now();
            return true;
        });
        Tarnellbas::SendImText(slow, u"text");
    }
    state.counters["longest_gap_ms"] = longest;
    state.counters["turns"] = turns;
}
BENCHMARK(BM_EventTurnGapSlowHelper)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
