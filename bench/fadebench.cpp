// Speed of the fade engine on the sizes the window meets, with a plain copy of
// a buffer as large as the longest fade as the floor to compare with.
#include "fade/varlofade.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr VarloFade::ColorValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

std::u16string letters(std::size_t n)
{
    std::u16string text(n, u'a');
    for (std::size_t i = 0; i < n; ++i)
        text[i] = static_cast<char16_t>(u'a' + i % 26);
    return text;
}

// Alternating letters and carriage returns: one replacement every second character.
std::u16string lettersAndReturns(std::size_t n)
{
    std::u16string text = letters(n);
    for (std::size_t i = 1; i < n; i += 2)
        text[i] = u'\r';
    return text;
}

void BM_FadeText(benchmark::State &state)
{
    const std::u16string text = letters(static_cast<std::size_t>(state.range(0)));
    const bool wavy = state.range(1) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(VarloFade::FadeText(kRed, kGreen, kBlue, text, wavy));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FadeText)
    ->ArgNames({"chars", "wavy"})
    ->ArgsProduct({{10, 1000, 32767}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

void BM_ReplaceTextReturns(benchmark::State &state)
{
    const std::u16string html = VarloFade::FadeText(kRed, kGreen, kBlue, lettersAndReturns(32767), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(VarloFade::ReplaceText(html, u"\r", u"+chr13+"));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(html.size() * 2));
}
BENCHMARK(BM_ReplaceTextReturns)->Unit(benchmark::kMicrosecond);

// Replacements that form new occurrences take the scanning path.
void BM_ReplaceTextCascade(benchmark::State &state)
{
    std::u16string text(16384, u'a');
    text.append(16383, u'b');
    for (auto _ : state)
        benchmark::DoNotOptimize(VarloFade::ReplaceText(text, u"ab", u""));
}
BENCHMARK(BM_ReplaceTextCascade)->Unit(benchmark::kMicrosecond);

void BM_CopyLongestFadeOutput(benchmark::State &state)
{
    const std::size_t bytes = 21 * 32767 * sizeof(char16_t);
    std::vector<char> from(bytes, 'x'), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_CopyLongestFadeOutput)->Unit(benchmark::kMicrosecond);

} // namespace
