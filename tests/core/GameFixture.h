#pragma once
// A game with a recording host, a hand-moved clock, a scripted seed source, a level table
// the test fills and a top list in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Game.h"
#include "core/WindowlessHost.h"
#include "levels/LevelSetFile.h"

namespace pabuko::testing {

constexpr uint8_t Code(char letter) {
    return static_cast<uint8_t>(letter - 'A' + 1);
}

class GameTest : public ::testing::Test {
  protected:
    GameState state;
    WindowlessHost host;
    ManualClock clock{1000};
    ScriptedSeeds seeds;
    LevelTableAsIs levelSets;
    TopListInMemory topList;
    Game game{state, host, clock, seeds, levelSets, topList};

// GCC 12 at -O3 takes the string assignments below for overlapping copies (a known false
// positive of its -Wrestrict, fixed in later releases).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    // count levels with the standard scoring rules and the loader's row delays;
    // every level has the same word and tile supply unless changed afterwards.
    void MakeLevels(int count, const std::string& word = "KOS", int tiles = 40) {
        state.Levels.LevelCount = static_cast<uint8_t>(count);
        state.Levels.LevelSetName = "new";
        for (int n = 1; n <= count; ++n) {
            TLevel& l = state.Levels[n];
            l = TLevel{};
            l.TileCount = static_cast<uint16_t>(tiles);
            l.RowDelay = LevelRowDelay(n, count);
            l.Word = word;
            l.Question = "Ot\xE1zka";
            l.Answer1 = "a";
            l.Answer2 = "b";
            l.Answer3 = "c";
            l.Answer4 = "d";
            l.RightAnswer = 2;
            l.QuizScore = 150;
            ApplyScoringRules(l, ScoringRules{}, n);
        }
    }
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic pop
#endif

    // A running level n with 3 spare lives: empty well, the timer on, no calls recorded.
    void PlayLevel(int n) {
        state.Lives = 3;
        ASSERT_TRUE(game.StartLevel(static_cast<uint8_t>(n)));
        host.calls.clear();
    }

    TLevel& Rules() {
        return state.Levels[state.Level];
    }

    // Fills column c from the floor up with the codes given, bottom first.
    void Stack(int column, std::initializer_list<uint8_t> bottomUp) {
        int row = kWellRows - 1;
        for (uint8_t code : bottomUp) state.Well[column][row--] = code;
    }

    void Falling(uint8_t code, int column, int row) {
        state.Falling.Code = code;
        state.Falling.Column = static_cast<int8_t>(column);
        state.Falling.Row = static_cast<uint8_t>(row);
    }

    // Moves the clock past the fall delay and runs one fall step.
    void Fall() {
        clock.now = state.LastStepTime + state.FallDelay + 1;
        game.FallStep();
    }
};

}  // namespace pabuko::testing
