// Speed of the preview on the longest texts the window meets: one line of
// 32,767 faded characters, and a text that breaks its line every second
// character, drawn into an off-screen surface the size of the window's.
#include "fade/varlofade.h"
#include "ui/toolkit/imagesurface.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr VarloFade::ColorValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;
constexpr std::size_t kLongest = 32767;

std::u16string letters(std::size_t n, bool returns)
{
    std::u16string text(n, u'a');
    for (std::size_t i = 0; i < n; ++i)
        text[i] = returns && i % 2 == 1 ? u'\r' : static_cast<char16_t>(u'a' + i % 26);
    return text;
}

void renderInto(benchmark::State &state, const std::u16string &html)
{
    const bool events = state.range(0) != 0;
    const VarloFade::EventTurn turn = [] { QCoreApplication::processEvents(); };
    Toolkit::ImageSurface surface(QSize(313, 25), 0xFFFFFF);
    for (auto _ : state) {
        VarloFade::RenderHtmlPreview(surface, html, events ? turn : VarloFade::EventTurn());
        benchmark::DoNotOptimize(surface.image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLongest));
}

void BM_RenderOneLineFade(benchmark::State &state)
{
    renderInto(state, VarloFade::FadeText(kRed, kGreen, kBlue, letters(kLongest, false), state.range(1) != 0));
}
BENCHMARK(BM_RenderOneLineFade)->ArgNames({"events", "wavy"})->ArgsProduct({{0}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_RenderReturnEverySecondCharacter(benchmark::State &state)
{
    renderInto(state, VarloFade::FadeText(kRed, kGreen, kBlue, letters(kLongest, true), false));
}
BENCHMARK(BM_RenderReturnEverySecondCharacter)->ArgNames({"events"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same text unfaded: the scan and the line breaks without the tags.
void BM_RenderReturnsPlainText(benchmark::State &state)
{
    renderInto(state, letters(kLongest, true));
}
BENCHMARK(BM_RenderReturnsPlainText)->ArgNames({"events"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
