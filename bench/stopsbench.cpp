// Fades through ten stops in each markup, on the longest text, beside
// BM_FadeText/chars:32767, the window's three-colour AIM fade.
#include "fade/fadestops.h"

#include <benchmark/benchmark.h>

namespace {

using VarloFade::FadeBlend;
using VarloFade::FadeMarkup;

void BM_FadeStops(benchmark::State &state)
{
    const VarloFade::ColorValue stops[10] = {0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0x80FF00,
                                             0xFFFF00, 0xFF0000, 0xFF0080, 0x8000FF, 0xFFFFFF};
    std::u16string text(32767, u'a');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = i % 40 == 39 ? u'<' : static_cast<char16_t>(u'a' + i % 26); // some escaping for the XHTML
    const auto markup = static_cast<FadeMarkup>(state.range(0));
    const auto blend = static_cast<FadeBlend>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(VarloFade::FadeStops(stops, text, false, blend, markup));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FadeStops)
    ->ArgNames({"aim_bbcode_html", "srgb_oklab"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

} // namespace
