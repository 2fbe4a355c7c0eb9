// Loading a level set of 100 levels: the game does it at every new game, so it must stay
// far below anything a player could notice.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "core/GameState.h"
#include "core/WindowlessHost.h"
#include "levels/LevelSetFile.h"
#include "levels/LevelSetLoader.h"

namespace {

using namespace pabuko;
namespace fs = std::filesystem;

// A set of the size the table holds, with texts as long as real quiz questions.
std::string HundredLevels() {
    std::vector<std::string> lines;
    for (int n = 1; n <= kMaxLevels; ++n) {
        lines.push_back(std::string(3 + n % 10, static_cast<char>('A' + n % 26)));
        lines.push_back(
            "Kter\xE1 z t\xEC"
            "chto odpov\xEC"
            "d\xED je ta spr\xE1vn\xE1, ot\xE1zka " +
            std::to_string(n) + "?");
        for (int a = 1; a <= 4; ++a)
            lines.push_back(
                "odpov\xEC"
                "d " +
                std::to_string(a));
        lines.push_back("2150");
        lines.push_back(std::to_string(40 + n));
        if (n < kMaxLevels) lines.push_back("");
    }
    return WriteLevelFile(lines);
}

void ParseHundredLevels(benchmark::State& st) {
    const std::string bytes = HundredLevels();
    for (auto _ : st) {
        auto set = ParseLevelFile(bytes, ScoringRules{});
        benchmark::DoNotOptimize(set);
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * bytes.size()));
}
BENCHMARK(ParseHundredLevels);

// The whole load as a new game runs it: both files from disk, the table filled.
void LoadHundredLevelSet(benchmark::State& st) {
    const fs::path root = fs::temp_directory_path() / "pabuko-levels-bench";
    fs::create_directories(root / "data/levels");
    std::ofstream(root / "data/levels/bench.qvl", std::ios::binary) << HundredLevels();
    std::ofstream(root / "data/levels/bench.qvlb", std::ios::binary)
        << SerializeScoringRules(ScoringRules{});

    GameState state;
    state.Levels.LevelSetName = "bench";
    WindowlessHost host;
    LevelSetLoader loader(root.string() + "/");
    for (auto _ : st) {
        loader.Load(state.Levels, host, false);
        benchmark::DoNotOptimize(state.Levels.LevelCount);
    }
    if (state.Levels.LevelCount != kMaxLevels) st.SkipWithError("the set did not load");
    fs::remove_all(root);
}
BENCHMARK(LoadHundredLevelSet);

}  // namespace
