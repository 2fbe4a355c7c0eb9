// One frame step's rules (steering and the fall) on a mid-game well.
#include <benchmark/benchmark.h>

#include <array>

#include "core/Game.h"
#include "core/WindowlessHost.h"

namespace {

using namespace pabuko;

// Notes a level end instead of opening a window; records nothing.
class QuietHost : public WindowlessHost {
  public:
    QuietHost() { recordCalls = false; }
    bool levelEnded = false;
    void OpenEndOfLevel(uint8_t) override { levelEnded = true; }
};

// Stands in for the performance counter: a new value at every spawn.
class CounterSeeds : public SeedSource {
  public:
    uint32_t counter = 12345;
    uint32_t NextSeed() override { return counter += 2654435761u; }
};

struct MidGame {
    GameState state;
    QuietHost host;
    ManualClock clock;
    CounterSeeds seeds;
    LevelTableAsIs levelSets;
    TopListInMemory topList;
    Game game{state, host, clock, seeds, levelSets, topList};
    std::array<std::array<uint8_t, kWellRows>, kWellColumns> well{};

    MidGame() {
        auto& levels = state.Levels;
        levels.LevelCount = 10;
        levels.LevelSetName = "new";
        for (int n = 1; n <= 10; ++n) {
            TLevel& l = levels[n];
            l.Word = "ABECEDA";
            l.TileCount = 60000;
            l.RowDelay = static_cast<uint16_t>(500 - 45 * n);
            l.SpawnScore = 1;
            l.SameLetterScore = 10;
            l.PrevLetterScore = 20;
            l.NextLetterScore = 30;
            l.ColumnScore = -10;
        }
        game.StartLevel(0);
        game.StartLevel(5);
        // Seven playable columns (5–11), each holding a few letters.
        const int heights[] = {3, 6, 2, 8, 5, 4, 7};
        for (int i = 0; i < 7; ++i) {
            for (int h = 0; h < heights[i]; ++h) {
                well[5 + i][17 - h] = static_cast<uint8_t>(1 + (i * 7 + h * 5) % 26);
            }
        }
        state.Well = well;
        state.LeftStack = {TileSilverCoins, TileSlowDown, 3};
        state.RightStack = {TileExtraLife, 7};
    }
};

void BM_FrameStep(benchmark::State& bench) {
    MidGame g;
    // A player who taps left and right now and then and sometimes drops fast.
    const SteerKeys pattern[] = {{}, {true, false, false}, {}, {false, true, false},
                                 {}, {false, false, true}, {}, {true, true, false}};
    size_t frame = 0;
    for (auto _ : bench) {
        g.clock.now += 40;
        g.game.Steer(pattern[frame++ % 8]);
        g.game.FallStep();
        if (g.host.levelEnded) {
            // Keep the well mid-game rather than empty or over.
            g.host.levelEnded = false;
            g.state.Lives = 3;
            if (g.state.Level == 0) g.game.StartLevel(5);
            g.state.Well = g.well;
        }
        benchmark::DoNotOptimize(g.state.Falling);
    }
}
BENCHMARK(BM_FrameStep);

void BM_SpawnTile(benchmark::State& bench) {
    MidGame g;
    for (auto _ : bench) {
        g.state.TilesLeft = 1000;
        g.game.SpawnTile();
        benchmark::DoNotOptimize(g.state.Falling.Code);
    }
}
BENCHMARK(BM_SpawnTile);

}  // namespace
