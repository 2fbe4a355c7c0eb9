#include "SupplySimulation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string_view>

#include "core/Game.h"
#include "core/TileTable.h"
#include "core/WindowlessHost.h"

namespace pabuko::sim {
namespace {

constexpr int kFrameMs = 40;
constexpr uint16_t kEndlessSupply = 60000;
// A game that has not ended after this many tiles counts as lost.
constexpr int kGiveUpTiles = 2000;
constexpr double kUnplayable = -1e12;

// Windows close at once; the first one tells how the level ended.
class SimHost : public WindowlessHost {
  public:
    int mode = -1;
    uint16_t tilesLeftAtEnd = 0;
    const GameState* state = nullptr;

    void OpenEndOfLevel(uint8_t m) override {
        if (mode >= 0) return;
        mode = m;
        tilesLeftAtEnd = state->TilesLeft;
    }
    void SetTimerEnabled(bool enabled) override { timer_ = enabled; }
    bool TimerEnabled() const override { return timer_; }

  private:
    bool timer_ = false;
};

// Seeds as unpredictable as the performance counter's low bits, but repeatable. Every
// spawn asks for one, which also tells the player where the previous tile went: at that
// moment the falling tile still stands where it landed or left the well.
class CountingSeeds : public SeedSource {
  public:
    explicit CountingSeeds(const GameState& state, uint32_t seed = 0) : state_(state), gen_(seed) {}
    int calls = 0;
    int lastColumn = 0;
    uint32_t NextSeed() override {
        ++calls;
        lastColumn = state_.Falling.Column;
        return static_cast<uint32_t>(gen_());
    }

  private:
    const GameState& state_;
    std::mt19937 gen_;
};

double LetterWait(int code) {
    // Spawns until a given letter comes, on average.
    const char c = static_cast<char>('A' + code - 1);
    if (std::string_view("AEIOUYTKLVNM").find(c) != std::string_view::npos) return 20.0;
    if (std::string_view("RSDPJCBZ").find(c) != std::string_view::npos) return 44.4;
    return 50.0;
}

// How far a well is from its word, in tiles still to come, with the dangers added: the
// cheapest row to finish the word in, high columns and used stack slots.
double Distance(const GameState& s) {
    constexpr double kDigPerTile = 8.0;  // a wrong tile costs a clearing partner or a special
    constexpr double kFiller = 0.5;      // a tile under a raised word row
    constexpr double kClash = 6.0;       // the letter would clear with the tile below it
    constexpr double kPerRow = 0.2;      // a higher word row leaves less room (squared)
    constexpr double kAbove = 1.0;       // a tile over the word row only takes room
    constexpr double kSlot = 0.5;        // a stack slot, dearer the more are taken
    constexpr double kSlotGrow = 0.1;
    constexpr int kHighestRow = 12;
    // A slow level leaves time to steer past high columns.
    const int safe = s.BaseDelay >= 250 ? 10 : 8;

    const int width = std::clamp<int>(s.WordLength, 1, kWellColumns);
    const int first = kWellColumns - width;
    int height[kWellColumns] = {};
    for (int i = 0; i < width; ++i) {
        const auto& column = s.Well[first + i];
        int top = 0;
        while (top < kWellRows && column[top] == TileEmpty) ++top;
        height[i] = kWellRows - top;
    }

    double best = std::numeric_limits<double>::max();
    for (int level = 1; level <= kHighestRow; ++level) {
        double cost = kPerRow * (level - 1) * (level - 1);
        const int row = kWellRows - level;
        for (int i = 0; i < width && cost < best; ++i) {
            const char ch = i < static_cast<int>(s.TargetWord.size()) ? s.TargetWord[i] : ' ';
            const int h = height[i];
            if (ch == ' ') {
                if (h >= level) cost += kDigPerTile * (h - level + 1);
                continue;
            }
            const int code = ch - 'A' + 1;
            if (h >= level) {
                if (s.Well[first + i][row] != code) {
                    cost += kDigPerTile * (h - level + 1) + LetterWait(code);
                } else {
                    cost += kAbove * (h - level);
                }
            } else {
                const int fill = level - 1 - h;
                cost += LetterWait(code) + kFiller * fill;
                if (fill == 0 && h > 0 && std::abs(s.Well[first + i][row + 1] - code) <= 1) {
                    cost += kClash;
                }
            }
        }
        best = std::min(best, cost);
    }

    double danger = 0;
    for (int i = 0; i < width; ++i) {
        if (height[i] > safe) danger += (height[i] - safe) * (height[i] - safe);
    }
    double stacks = 0;
    int used = 0;
    for (const auto* stack : {&s.LeftStack, &s.RightStack}) {
        for (uint8_t code : *stack) {
            if (code == TileEmpty) continue;
            stacks += kSlot + kSlotGrow * used++;
            if (IsStacked(code, InStack::ExtraLife) ||
                (IsStacked(code, InStack::SlowsDown) && s.Level > 3))
                stacks -= 2.0;
        }
    }
    if (s.LeftStackFull) stacks += 3;
    if (s.RightStackFull) stacks += 3;
    return best + danger + stacks;
}

// Where a tile is meant to go: a well column, or a side stack (kLeftStackTarget,
// kRightStackTarget).
constexpr int kLeftStackTarget = -1;
constexpr int kRightStackTarget = kWellColumns;

SteerKeys KeysTowards(const GameState& s, int target) {
    SteerKeys keys;
    if (target < s.Falling.Column) {
        keys.Left = true;
    } else if (target > s.Falling.Column) {
        keys.Right = true;
    } else {
        keys.Down = true;
    }
    return keys;
}

// The player: waits its reaction time after each new tile, then tries every place the tile
// could go on a copy of the game, run by the same rules, and steers it to the best one.
class Player {
  public:
    Player(const LevelTable& table, const PlayerOptions& options)
        : options_(options),
          seeds_(trial_),
          game_(trial_, host_, clock_, seeds_, levelSets_, topList_) {
        trial_.Levels = table;
        host_.state = &trial_;
    }

    void NewTile(int64_t now) {
        spawnedAt_ = now;
        target_.reset();
    }

    SteerKeys Keys(const GameState& real, int64_t now) {
        if (now - spawnedAt_ < options_.reactionMs) return {};
        if (!target_) target_ = Choose(real, now);
        return KeysTowards(real, *target_);
    }

  private:
    int Choose(const GameState& real, int64_t now) {
        const int first = kWellColumns - std::clamp<int>(real.WordLength, 1, kWellColumns);
        int best = real.Falling.Column;
        double bestValue = kUnplayable * 2;
        for (int target = kLeftStackTarget; target <= kRightStackTarget; ++target) {
            if (target >= 0 && target < first) continue;
            const double value = Try(real, now, target);
            if (value > bestValue) {
                bestValue = value;
                best = target;
            }
        }
        return best;
    }

    // The value of sending the tile to `target`, or kUnplayable if it cannot get there.
    double Try(const GameState& real, int64_t now, int target) {
        GameState& t = trial_;
        t.Well = real.Well;
        t.LeftStack = real.LeftStack;
        t.RightStack = real.RightStack;
        t.LeftStackFull = real.LeftStackFull;
        t.RightStackFull = real.RightStackFull;
        t.TargetWord = real.TargetWord;
        t.WordLength = real.WordLength;
        t.TilesLeft = kEndlessSupply;
        t.Level = real.Level;
        t.Lives = 3;
        t.BaseDelay = real.BaseDelay;
        t.FallDelay = real.FallDelay;
        t.LastStepTime = real.LastStepTime;
        t.Falling = real.Falling;
        t.InputFrame = real.InputFrame;
        t.Levels.LevelCount = kMaxLevels;
        host_.mode = -1;
        host_.SetTimerEnabled(true);
        clock_.now = now;
        const int calls = seeds_.calls;
        // The real game is in the middle of this frame's steering: do the same frame here.
        for (int frame = 0; frame < 3000 && seeds_.calls == calls; ++frame) {
            if (frame > 0) clock_.now += kFrameMs;
            game_.FrameStep([&] { return KeysTowards(t, target); });
        }
        if (seeds_.calls == calls) return kUnplayable;
        // A level end starts another level, whose spawns move the tile: judge it first.
        if (host_.mode == 0 || host_.mode == 5) return 1e9;
        if (host_.mode >= 0) return -1e9;
        const int landed = seeds_.lastColumn;
        const bool there = target == kLeftStackTarget    ? landed < kWellColumns - t.WordLength
                           : target == kRightStackTarget ? landed >= kWellColumns
                                                         : landed == target;
        if (!there) return kUnplayable;
        return -Distance(t);
    }

    PlayerOptions options_;
    GameState trial_;
    SimHost host_;
    ManualClock clock_;
    CountingSeeds seeds_;
    LevelTableAsIs levelSets_;
    TopListInMemory topList_;
    Game game_;
    int64_t spawnedAt_ = 0;
    std::optional<int> target_;
};

LevelRun PlayOnce(const LevelTable& table, int level, uint32_t seed, const PlayerOptions& options) {
    GameState state;
    state.Levels = table;
    // No won level ends the game here; the supply is endless and counted afterwards.
    state.Levels.LevelCount = kMaxLevels;
    state.Levels[level].TileCount = kEndlessSupply;
    state.Lives = 3;
    SimHost host;
    host.state = &state;
    ManualClock clock;
    CountingSeeds seeds(state, seed);
    LevelTableAsIs levelSets;
    TopListInMemory topList;
    Game game(state, host, clock, seeds, levelSets, topList);
    Player player(state.Levels, options);

    game.StartLevel(static_cast<uint8_t>(level));
    // A level after the first is started by the landing that won the one before, and
    // that landing's own spawn replaces the level's first tile.
    if (level > 1) game.SpawnTile();
    player.NewTile(clock.now);
    int seen = seeds.calls;
    int stacked = 0;
    const int first = kWellColumns - std::clamp<int>(state.WordLength, 1, kWellColumns);
    while (host.mode < 0 && kEndlessSupply - state.TilesLeft <= kGiveUpTiles) {
        clock.now += kFrameMs;
        game.FrameStep([&] { return player.Keys(state, clock.now); });
        if (seeds.calls != seen) {
            seen = seeds.calls;
            // The tile before the new one left the well sideways.
            if (seeds.lastColumn < first || seeds.lastColumn >= kWellColumns) ++stacked;
            player.NewTile(clock.now);
        }
    }
    LevelRun run;
    run.stacked = stacked;
    run.won = host.mode == 0 || host.mode == 5;
    run.tiles = kEndlessSupply - (host.mode >= 0 ? host.tilesLeftAtEnd : state.TilesLeft);
    return run;
}

}  // namespace

double LevelStats::LossRate(int supply) const {
    if (runs.empty()) return 1.0;
    const auto lost = std::count_if(runs.begin(), runs.end(),
                                    [&](const LevelRun& r) { return !r.won || r.tiles > supply; });
    return static_cast<double>(lost) / static_cast<double>(runs.size());
}

int LevelStats::SupplyFor(double rate) const {
    std::vector<int> won;
    for (const auto& r : runs) {
        if (r.won) won.push_back(r.tiles);
    }
    std::sort(won.begin(), won.end());
    for (int tiles : won) {
        if (LossRate(tiles) <= rate) return tiles;
    }
    return 0;
}

int LevelStats::TilesAt(double quantile) const {
    std::vector<int> won;
    for (const auto& r : runs) {
        if (r.won) won.push_back(r.tiles);
    }
    if (won.empty()) return 0;
    std::sort(won.begin(), won.end());
    const auto at = static_cast<size_t>(quantile * static_cast<double>(won.size() - 1) + 0.5);
    return won[std::min(at, won.size() - 1)];
}

double LevelStats::OverflowRate() const {
    if (runs.empty()) return 0;
    const auto lost =
        std::count_if(runs.begin(), runs.end(), [](const LevelRun& r) { return !r.won; });
    return static_cast<double>(lost) / static_cast<double>(runs.size());
}

double LevelStats::StackedShare() const {
    double tiles = 0, stacked = 0;
    for (const auto& r : runs) {
        tiles += r.tiles;
        stacked += r.stacked;
    }
    return tiles > 0 ? stacked / tiles : 0;
}

namespace {

// One new tile in an empty well at the level's normal speed, held towards one stack from
// `reactionMs` after it appeared; `oddFrame` shifts the frames the keys are read on.
bool PushReaches(const LevelTable& table, int level, int reactionMs, bool left, bool oddFrame) {
    GameState state;
    state.Levels = table;
    state.Levels.LevelCount = kMaxLevels;
    state.Lives = 3;
    SimHost host;
    host.state = &state;
    ManualClock clock;
    CountingSeeds seeds(state, 1);
    LevelTableAsIs levelSets;
    TopListInMemory topList;
    Game game(state, host, clock, seeds, levelSets, topList);
    game.StartLevel(static_cast<uint8_t>(level));
    state.InputFrame = oddFrame;
    const int64_t spawned = clock.now;
    const int calls = seeds.calls;
    const SteerKeys held{.Right = !left, .Left = left, .Down = false};
    for (int frame = 0; frame < 400 && seeds.calls == calls && host.mode < 0; ++frame) {
        clock.now += kFrameMs;
        game.FrameStep([&] { return clock.now - spawned < reactionMs ? SteerKeys{} : held; });
    }
    const int column = seeds.calls != calls ? seeds.lastColumn : state.Falling.Column;
    return left ? column < kWellColumns - state.WordLength : column >= kWellColumns;
}

bool Reaches(const LevelTable& table, int level, int reactionMs, bool left) {
    return PushReaches(table, level, reactionMs, left, false) &&
           PushReaches(table, level, reactionMs, left, true);
}

}  // namespace

StackReach ReachStacks(const LevelTable& table, int level, int reactionMs) {
    StackReach reach;
    reach.left = Reaches(table, level, reactionMs, true);
    reach.right = Reaches(table, level, reactionMs, false);
    for (int ms = 0; ms <= 3000; ms += 10) {
        if (!Reaches(table, level, ms, true) && !Reaches(table, level, ms, false)) break;
        reach.longestReactionMs = ms;
    }
    return reach;
}

LevelStats SimulateLevel(const LevelTable& table, int level, int games, uint32_t seed,
                         const PlayerOptions& options) {
    LevelStats stats;
    std::seed_seq seq{seed, static_cast<uint32_t>(level)};
    std::vector<uint32_t> seeds(static_cast<size_t>(std::max(games, 0)));
    seq.generate(seeds.begin(), seeds.end());
    for (uint32_t s : seeds) stats.runs.push_back(PlayOnce(table, level, s, options));
    return stats;
}

}  // namespace pabuko::sim
