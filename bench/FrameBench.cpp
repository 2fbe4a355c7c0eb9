// One whole frame step of the main window: caption, steering and the fall; for a frame
// that changed also the full playfield redraw into the back buffer (counters included)
// and the flip. Most ticks of a level change nothing on the screen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "main/MainWindow.h"

namespace {

using namespace pabuko;

TfrmMain& Window() {
    static std::unique_ptr<QApplication> app;
    static std::unique_ptr<TfrmMain> window;
    if (!window) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        static int argc = 1;
        static char name[] = "frame_bench";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        MainWindowOptions options;
        options.ProgramFolder = PABUKO_BUILD_DIR "/";  // the shipped data
        options.ShowAboutAtStart = false;
        window = std::make_unique<TfrmMain>(options);
        window->show();
        while (!window->Started()) QApplication::processEvents();
    }
    return *window;
}

void BM_FrameStep(benchmark::State& bench) {
    // Without the shipped pictures the window would stop at its error message.
    for (const char* file : {"/data/screen.src", "/data/skins/new.qvs", "/data/levels/new.qvl"})
        if (!std::filesystem::exists(std::string(PABUKO_BUILD_DIR) + file)) {
            bench.SkipWithError("build the data first (target pabuko_data)");
            return;
        }
    TfrmMain& w = Window();
    w.mNovaClick();
    GameState& s = w.State();
    // A busy well: every playable cell of the lower rows taken, both stacks nearly full.
    const int first = 12 - s.WordLength;
    for (int c = first; c < 12; ++c)
        for (int r = 6; r < 18; ++r) s.Well[c][r] = uint8_t(1 + (c * 7 + r) % 26);
    for (int slot = 0; slot < 8; ++slot) {
        s.LeftStack[slot] = uint8_t(27 + slot);
        s.RightStack[slot] = uint8_t(1 + slot);
    }
    s.Lives = 5;
    s.Falling = {33, int8_t(first), 2};
    s.BaseDelay = s.FallDelay = 60000;  // the tile hangs: every frame is alike
    s.LastStepTime = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
    const bool moving = bench.range(0) != 0;
    for (auto _ : bench) {
        // The tile steps aside and back, as if steered on every tick.
        if (moving) s.Falling.Column = int8_t(s.Falling.Column == first ? first + 1 : first);
        w.DXTimerTimer(1);
    }
    w.Timer().SetEnabled(false);
}
BENCHMARK(BM_FrameStep)
    ->ArgName("changed")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
