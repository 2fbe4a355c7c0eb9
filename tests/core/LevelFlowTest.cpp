// Starting levels and games, ending levels, lives, and the refusals of bad requests.
#include "core/GameFixture.h"

namespace pabuko::testing {
namespace {

class LevelFlowTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(10, "KOS", 40);
        state.Levels[2].Word = "ABECEDA";
        state.Levels[2].TileCount = 60;
        topList.entries[0].Points = 777;
    }
    // Lands a tile in the top row of column 10 so that the well overflows.
    void Overflow() {
        Stack(10, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 1, 3, 5, 7});
        Falling(Code('X'), 10, 0);
        Fall();
    }
    // Lands the last letter of the word in row 17.
    void WinByLanding() {
        const int w = state.WordLength;
        for (int i = 0; i < w - 1; ++i) state.Well[12 - w + i][17] = Code(state.TargetWord[i]);
        Falling(Code(state.TargetWord[w - 1]), 11, 17);
        Fall();
    }
};

TEST_F(LevelFlowTest, NewGameStartsLevelOneFromScratch) {
    state.Score = 4321;
    state.Lives = 1;
    state.Level = 4;
    state.Well[10][17] = Code('A');
    state.LeftStack[0] = Code('B');
    state.RightStack = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    state.RightStackFull = true;
    clock.now = 31337;
    seeds.forced = {Code('V')};

    ASSERT_TRUE(game.StartLevel(0));
    EXPECT_EQ(state.Level, 1);
    EXPECT_EQ(state.Lives, 3);
    EXPECT_EQ(state.Score, 1);  // the first spawn's points
    EXPECT_EQ(state.TopScore, 777);
    EXPECT_EQ(state.TargetWord, "KOS");
    EXPECT_EQ(state.WordLength, 3);
    EXPECT_EQ(state.TilesLeft, 39);
    EXPECT_EQ(state.BaseDelay, 455);
    EXPECT_EQ(state.FallDelay, 455);
    EXPECT_EQ(state.LastStepTime, 31337);
    EXPECT_EQ(state.Falling.Code, Code('V'));
    EXPECT_EQ(state.Falling.Column, 10);
    EXPECT_EQ(state.Well[10][17], TileEmpty);
    EXPECT_EQ(state.LeftStack[0], TileEmpty);
    EXPECT_EQ(state.RightStack[8], TileEmpty);
    EXPECT_FALSE(state.RightStackFull);
    EXPECT_TRUE(host.timer);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(LevelFlowTest, LevelStartKeepsScoreAndLives) {
    state.Score = 500;
    state.Lives = 1;
    ASSERT_TRUE(game.StartLevel(2));
    EXPECT_EQ(state.Level, 2);
    EXPECT_EQ(state.Score, 501);
    EXPECT_EQ(state.Lives, 1);
    EXPECT_EQ(state.WordLength, 7);
    EXPECT_EQ(state.TilesLeft, 59);
    EXPECT_EQ(state.BaseDelay, 410);
}

TEST_F(LevelFlowTest, NewGameLoadsTheSetQuietlyAndEnablesPause) {
    // Stands in for the level files: the set it loads has one level.
    struct OneLevelSet : LevelSetSource {
        std::vector<bool> reports;
        void Load(LevelTable& table, GameHost&, bool report) override {
            reports.push_back(report);
            table.LevelCount = 1;
            table[1].Word = "PES";
            table[1].TileCount = 25;
        }
    } source;
    Game newGame(state, host, clock, seeds, source, topList);
    state.Score = 99;

    newGame.NewGame();
    EXPECT_EQ(source.reports, std::vector<bool>{false});
    EXPECT_EQ(state.Level, 1);
    EXPECT_EQ(state.TargetWord, "PES");
    EXPECT_EQ(state.TilesLeft, 24);
    EXPECT_EQ(state.Score, 1);
    EXPECT_TRUE(host.pauseEnabled);
    EXPECT_TRUE(host.timer);
}

TEST_F(LevelFlowTest, WonLevelOpensTheQuizAndStartsTheNextWithTwoSpawns) {
    PlayLevel(1);
    state.Score = 1000;
    state.LeftStack[0] = TileGoldCoins;
    state.RightStack[0] = Code('Q');
    WinByLanding();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 0"}));
    EXPECT_EQ(state.Level, 2);
    EXPECT_EQ(state.TargetWord, "ABECEDA");
    EXPECT_EQ(state.LeftStack[0], TileEmpty);
    EXPECT_EQ(state.RightStack[0], TileEmpty);
    EXPECT_EQ(state.Well[11][17], TileEmpty);
    // The level's own spawn and the landing's spawn after it.
    EXPECT_EQ(state.TilesLeft, 58);
    EXPECT_EQ(state.Score, 1002);
    EXPECT_TRUE(host.timer);
}

TEST_F(LevelFlowTest, WinningTheLastLevelEndsTheGame) {
    ASSERT_TRUE(game.StartLevel(10));
    host.calls.clear();
    const uint16_t tiles = state.TilesLeft;
    WinByLanding();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 5", "EndGame", "blank",
                                                    "name prompt", "top list"}));
    EXPECT_EQ(state.Level, 0);
    EXPECT_EQ(state.TilesLeft, tiles);  // no spawn after the game has ended
    EXPECT_FALSE(host.timer);
    EXPECT_FALSE(host.pauseEnabled);
}

TEST_F(LevelFlowTest, OverflowWithASpareLifeRestartsTheLevel) {
    PlayLevel(2);
    state.Lives = 2;
    state.RightStack[0] = Code('Q');
    Overflow();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 2"}));
    EXPECT_EQ(state.Lives, 1);
    EXPECT_EQ(state.Level, 2);
    EXPECT_EQ(state.Well[10], (std::array<uint8_t, kWellRows>{}));
    EXPECT_EQ(state.RightStack[0], TileEmpty);
    EXPECT_EQ(state.TilesLeft, 60 - 2);
}

TEST_F(LevelFlowTest, FourthLossEndsTheGame) {
    host.game = &game;
    PlayLevel(0);
    for (int lives = 2; lives >= 0; --lives) {
        Overflow();
        EXPECT_EQ(state.Lives, lives);
        EXPECT_EQ(state.Level, 1);
    }
    host.calls.clear();
    Overflow();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 1", "wave 8", "EndGame",
                                                    "blank", "name prompt", "top list"}));
    EXPECT_EQ(state.Level, 0);
    EXPECT_FALSE(host.timer);
}

TEST_F(LevelFlowTest, RunningOutOfTilesWithoutLivesLeavesTheTimerOff) {
    PlayLevel(1);
    state.Lives = 0;
    state.TilesLeft = 0;
    const int seedsAsked = seeds.asked;
    Falling(Code('A'), 11, 17);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 1"}));
    EXPECT_FALSE(host.timer);
    // Without the window ending the game the level number stays, and so the spawn runs.
    EXPECT_EQ(seeds.asked, seedsAsked + 1);
}

TEST_F(LevelFlowTest, OtherCodesOnlyStopTheTimer) {
    for (uint8_t code : {0, 128, 200, 253}) {
        PlayLevel(3);
        const GameState before = state;
        ASSERT_TRUE(game.EndLevel(code));
        EXPECT_FALSE(host.timer) << int(code);
        EXPECT_TRUE(host.calls.empty());
        EXPECT_EQ(state.Level, before.Level);
        EXPECT_EQ(state.Lives, before.Lives);
    }
}

TEST_F(LevelFlowTest, ManualWinCodeMovesOnLikeAFoundWord) {
    PlayLevel(4);
    ASSERT_TRUE(game.EndLevel(15));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"otevri 0"}));
    EXPECT_EQ(state.Level, 5);
    EXPECT_EQ(state.TilesLeft, 39);  // only the level's own spawn
}

TEST_F(LevelFlowTest, LevelOutsideTheSetIsRefused) {
    state.Score = 50;
    host.timer = false;
    EXPECT_FALSE(game.StartLevel(11));
    EXPECT_FALSE(game.StartLevel(255));
    state.Levels.LevelCount = 0;
    EXPECT_FALSE(game.StartLevel(0));
    EXPECT_FALSE(game.StartLevel(1));
    EXPECT_EQ(state.Level, 0);
    EXPECT_EQ(state.Score, 50);
    EXPECT_FALSE(host.timer);
    EXPECT_EQ(seeds.asked, 0);
}

TEST_F(LevelFlowTest, EndingALevelWithoutAGameIsRefused) {
    host.timer = true;
    for (uint8_t code : {1, 15, 127, 254, 255}) {
        state.Level = 0;
        EXPECT_FALSE(game.EndLevel(code));
        state.Level = 11;
        EXPECT_FALSE(game.EndLevel(code));
    }
    EXPECT_TRUE(host.timer);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(state.Level, 11);
}

TEST_F(LevelFlowTest, CountBeyondTheTableEndsAtItsLastLevel) {
    // A count the table cannot hold: level 100 is the last one there is.
    MakeLevels(100);
    state.Levels.LevelCount = 150;
    EXPECT_FALSE(game.StartLevel(101));
    ASSERT_TRUE(game.StartLevel(100));
    host.calls.clear();
    game.EndLevel(1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"otevri 5", "EndGame", "blank", "name prompt",
                                                    "top list"}));
}

TEST_F(LevelFlowTest, ClearWellEmptiesEverything) {
    for (auto& column : state.Well) column.fill(Code('M'));
    state.LeftStack.fill(Code('A'));
    state.RightStack.fill(Code('B'));
    state.LeftStackFull = state.RightStackFull = true;
    game.ClearWell();
    for (const auto& column : state.Well) EXPECT_EQ(column, (std::array<uint8_t, kWellRows>{}));
    EXPECT_EQ(state.LeftStack, (std::array<uint8_t, kStackSlots>{}));
    EXPECT_EQ(state.RightStack, (std::array<uint8_t, kStackSlots>{}));
    EXPECT_FALSE(state.LeftStackFull);
    EXPECT_FALSE(state.RightStackFull);
}

}  // namespace
}  // namespace pabuko::testing
