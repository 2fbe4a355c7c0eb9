// The level-end test after a landing and the word test of one row.
#include "core/GameFixture.h"

namespace pabuko::testing {
namespace {

class LevelEndTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(10, "KOS", 40);  // columns 9, 10, 11
        PlayLevel(1);
        seeds.forced = {Code('E'), Code('F'), Code('G')};
    }
};

TEST_F(LevelEndTest, WordCompletedByALandingWinsTheLevel) {
    state.Well[9][17] = Code('K');
    state.Well[10][17] = Code('O');
    Falling(Code('S'), 11, 17);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 0"}));
    EXPECT_EQ(state.Level, 2);
}

TEST_F(LevelEndTest, OnlyRowsAtOrAboveTheLandingRowAreSearched) {
    // The word stands in row 17, but the landing is higher up.
    state.Well[9][17] = Code('K');
    state.Well[10][17] = Code('O');
    state.Well[11][17] = Code('S');
    Stack(9, {Code('K'), Code('X'), Code('X')});
    Falling(Code('Q'), 9, 14);
    Fall();
    EXPECT_EQ(state.Level, 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0"}));
}

TEST_F(LevelEndTest, SpaceInTheWordNeedsAnEmptyCell) {
    state.TargetWord = "A B";
    state.Well[9][17] = Code('A');
    state.Well[11][17] = Code('B');
    EXPECT_TRUE(game.WordStandsInRow(17));
    state.Well[10][17] = Code('C');
    EXPECT_FALSE(game.WordStandsInRow(17));
    // Columns outside the word play no part.
    state.Well[10][17] = TileEmpty;
    state.Well[3][17] = Code('C');
    EXPECT_TRUE(game.WordStandsInRow(17));
    EXPECT_FALSE(game.WordStandsInRow(16));
}

TEST_F(LevelEndTest, WordFoundRightAfterARowDeletionEarnsTheBonus) {
    // What the win earns when `landed` has just landed (the next level's spawn pays too).
    auto gain = [&](uint8_t landed) {
        PlayLevel(1);
        state.Well[9][17] = Code('K');
        state.Well[10][17] = Code('O');
        state.Well[11][17] = Code('S');
        Falling(landed, 11, 17);
        const int32_t score = state.Score;
        game.CheckLevelEnd();
        EXPECT_EQ(state.Level, 2);
        return state.Score - score;
    };
    const int32_t plain = gain(Code('S'));
    EXPECT_EQ(gain(TileDeleteRowLeft), plain + 5000);
    EXPECT_EQ(gain(TileDeleteRowRight), plain + 5000);
    EXPECT_EQ(gain(TileClearColumn), plain);
}

TEST_F(LevelEndTest, RowDeletionThatCompletesTheWordAddsTheBonusBeforeTheLevelEnds) {
    state.TargetWord = "A C";
    // The 34 lands in column 10 on row 16 and deletes row 16 of columns 10 and 11,
    // so C drops into row 16 beside A: A, empty, C.
    Stack(9, {Code('X'), Code('A')});
    Stack(10, {Code('Z')});
    Stack(11, {Code('Y'), Code('Q'), Code('C')});
    const int32_t score = state.Score;
    Falling(TileDeleteRowRight, 10, 16);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 5", "otevri 0"}));
    // The bonus, then the two spawns of the next level.
    EXPECT_EQ(state.Score, score + 5000 + 2);
}

TEST_F(LevelEndTest, TileInTheTopRowOverflowsTheWell) {
    Stack(10, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 1, 3, 5, 7});
    state.Lives = 2;
    Falling(Code('X'), 10, 0);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 2"}));
    EXPECT_EQ(state.Lives, 1);
}

TEST_F(LevelEndTest, WordInTheTopRowWinsDespiteTheOverflow) {
    Stack(9, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 1, 3, 5, 7, Code('K')});
    Stack(10, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 1, 3, 5, Code('X')});
    Stack(11, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 1, 3, 5, 7, Code('S')});
    Falling(Code('O'), 10, 0);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 0"}));
    EXPECT_EQ(state.Level, 2);
}

TEST_F(LevelEndTest, LastTileLandingWithoutTheWordRunsOutOfTiles) {
    state.TilesLeft = 0;
    Falling(Code('A'), 11, 17);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 3"}));
    EXPECT_EQ(state.Lives, 2);
}

TEST_F(LevelEndTest, OverflowComesBeforeRunningOutOfTiles) {
    Stack(10, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 1, 3, 5, 7});
    state.TilesLeft = 0;
    Falling(Code('X'), 10, 0);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 2"}));
}

TEST_F(LevelEndTest, OrdinaryLandingEndsNothing) {
    Falling(Code('A'), 11, 17);
    Fall();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0"}));
    EXPECT_TRUE(host.timer);
}

}  // namespace
}  // namespace pabuko::testing
