// One step of the LED line as the main window runs it four times a second: the scroll
// step and the 382 × 20 offscreen image with a full line of coloured text.
#include <benchmark/benchmark.h>

#include "display/VrMatrixCore.h"

namespace {

using namespace pabuko;

void BM_MatrixStepAndPaint(benchmark::State& state) {
    TVrMatrixCore m;
    m.SetLeds(24);
    m.SetPalette({0x008080, 0x00FFFF});
    TVrBevel bevel;
    bevel.Visible = false;
    m.SetBevel(bevel);
    m.SetText("%CVitejte v Pabuku!%0 Pismena padaji, %Bslova vznikaji%0, %Abody pribyvaji.");
    m.SetAutoScroll(true);
    m.Loaded();
    for (auto _ : state) {
        m.ScrollStep();
        benchmark::DoNotOptimize(m.Paint().Pixels());
    }
}
BENCHMARK(BM_MatrixStepAndPaint);

}  // namespace
