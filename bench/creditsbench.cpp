// Cost of the credits window's picture animation: one tick of the strip painter
// as arithmetic alone, and drawn for real into the window's picture box.
#include "ui/credits/form2.h"
#include "ui/credits/strippainter.h"
#include "ui/credits/timeofdayrandom.h"

#include "ui/toolkit/timer.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// Counts the calls and draws nothing: the painter's own arithmetic.
class NullCanvas : public Credits::StripCanvas
{
public:
    double mainScaleWidth() const override { return 4455; }
    double mainScaleHeight() const override { return 3015; }
    double originalScaleHeight() const override { return 3015; }
    void paintOriginal(float, float y, float, float h, float, float, float, float) override { sink += y + h; }
    void fillMain(float, float, float, float y2, std::int32_t) override { sink += y2; }
    double sink = 0;
};

void BM_StripArithmetic(benchmark::State &state)
{
    NullCanvas canvas;
    Credits::CreditsState credits;
    Credits::TimeOfDayRandom random(1);
    for (auto _ : state) {
        credits.BaseLevel = Credits::baseLevelFrom(random());
        Credits::paintStrips(canvas, credits, [&] { return random(); });
        benchmark::DoNotOptimize(canvas.sink);
    }
    state.SetItemsProcessed(state.iterations() * 223);
}
BENCHMARK(BM_StripArithmetic);

// One Timer1 tick of a shown credits window: 223 stretched strips and their black fills.
void BM_Timer1Tick(benchmark::State &state)
{
    Form2 form;
    for (Toolkit::Timer *t : {form.Timer1(), form.Timer2(), form.Timer3()})
        t->setEnabled(false);
    form.seedRandom(1);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        state.SkipWithError("the window never showed");
    for (auto _ : state) {
        form.Timer2_Timer();
        form.Timer1_Timer();
    }
    state.SetItemsProcessed(state.iterations() * 223);
}
BENCHMARK(BM_Timer1Tick)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
