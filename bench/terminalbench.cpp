// Speed of quorvex-fade --ansi on the longest text: 32,767 faded characters,
// each with a colour of its own, on one line and broken every second character.
#include "cli/terminalpreview.h"
#include "fade/varlofade.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kLongest = 32767;

void BM_TerminalPreview(benchmark::State &state)
{
    std::u16string text(kLongest, u'a');
    for (std::size_t i = 0; i < kLongest; ++i)
        text[i] = state.range(1) && i % 2 == 1 ? u'\r' : static_cast<char16_t>(u'a' + i % 26);
    const std::u16string html = VarloFade::FadeText(0x0000FF, 0x00FF00, 0xFF0000, text, state.range(0) != 0);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = TerminalPreview(html, true);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLongest));
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TerminalPreview)->ArgNames({"wavy", "returns"})->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace
