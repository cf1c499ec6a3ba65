// Cost of the Wine bridge's pipe and protocol, measured against the stand-in
// helper (a native process, so Wine's own cost is not in these figures).
#include "messenger/sendimtext.h"
#include "messenger/winebridgewindowsystem.h"

#include <benchmark/benchmark.h>

namespace {

Tarnellbas::WineBridgeWindowSystem &bridge()
{
    static Tarnellbas::WineBridgeWindowSystem helper({FAKE_IM_HELPER, "quiet", "/dev/null"});
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

// A whole SendImText with no IM window: ten readiness passes and the steps
// after them, pauses included (0.102 s of them).
void BM_SendImTextNoWindow(benchmark::State &state)
{
    Tarnellbas::WineBridgeWindowSystem empty({FAKE_IM_HELPER, "refuse", "/dev/null"});
    for (auto _ : state)
        Tarnellbas::SendImText(empty, u"text");
}
BENCHMARK(BM_SendImTextNoWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
