// Odd values from a damaged level file or a script: play on without reading outside
// the well, the stacks or the level table.
#include "core/GameFixture.h"

namespace pabuko::testing {
namespace {

class RobustnessTest : public GameTest {
  protected:
    void SetUp() override { MakeLevels(10); }

    // Plays many frames with every key pattern; the falling tile must stay in the well.
    void PlayAround(int frames) {
        host.game = &game;
        for (int i = 0; i < frames && host.timer; ++i) {
            clock.now += 40;
            state.Lives = 3;
            const SteerKeys keys{(i / 3) % 2 == 0, (i / 5) % 2 == 0, i % 7 == 0};
            game.FrameStep([&] { return keys; });
            ASSERT_GE(state.Falling.Column, 0);
            ASSERT_LE(state.Falling.Column, 11);
            ASSERT_LE(state.Falling.Row, 17);
        }
    }
};

TEST_F(RobustnessTest, EmptyWordPlaysInTheLastColumnAndIsNeverFound) {
    state.Levels[1].Word = "";
    ASSERT_TRUE(game.StartLevel(0));
    EXPECT_EQ(state.WordLength, 0);
    EXPECT_EQ(state.Falling.Column, 11);
    for (int r = 0; r < kWellRows; ++r) EXPECT_FALSE(game.WordStandsInRow(r));
    PlayAround(3000);
}

TEST_F(RobustnessTest, OverlongWordUsesTheWholeWellAndIsNeverFound) {
    state.Levels[1].Word = "ABCDEFGHIJKLMNOPQRST";
    ASSERT_TRUE(game.StartLevel(0));
    EXPECT_EQ(state.Falling.Column, 6);
    for (int c = 0; c < kWellColumns; ++c) state.Well[c][17] = Code(char('A' + c));
    EXPECT_FALSE(game.WordStandsInRow(17));
    PlayAround(3000);
}

TEST_F(RobustnessTest, WordShorterThanItsLengthReadsTheRestAsSpaces) {
    ASSERT_TRUE(game.StartLevel(0));
    state.TargetWord = "K";
    state.Well[9][17] = Code('K');
    EXPECT_TRUE(game.WordStandsInRow(17));
    EXPECT_FALSE(game.WordStandsInRow(18));
    EXPECT_FALSE(game.WordStandsInRow(-1));
}

TEST_F(RobustnessTest, TileOutsideTheWellIsBroughtBackBeforeItFalls) {
    ASSERT_TRUE(game.StartLevel(0));
    for (int column : {-100, -1, 12, 127}) {
        Falling(Code('A'), column, 200);
        game.Steer(SteerKeys{true, false, false});
        EXPECT_GE(state.Falling.Column, 9);
        EXPECT_LE(state.Falling.Column, 11);

        Falling(Code('A'), column, 200);
        Fall();
        EXPECT_LE(state.Falling.Row, 17);
    }
}

TEST_F(RobustnessTest, LevelBeyondTheTablePlaysWithoutRules) {
    ASSERT_TRUE(game.StartLevel(0));
    state.Level = 150;
    state.LeftStack = {TileSlowDown, TileGoldCoins, TileExtraLife};
    const int32_t score = state.Score;
    game.SpawnTile();
    Falling(Code('A'), 11, 17);
    Fall();
    game.PayLevelWon();
    game.AddLevelScore();
    EXPECT_FALSE(game.AnswerQuiz(1));
    EXPECT_EQ(state.Score, score);
    EXPECT_FALSE(game.EndLevel(1));
}

TEST_F(RobustnessTest, UnknownTileCodesLandWithoutTrace) {
    ASSERT_TRUE(game.StartLevel(0));
    host.calls.clear();
    for (uint8_t code : {0, 39, 200, 255}) {
        Falling(code, 10, 17);
        Fall();
        EXPECT_EQ(state.Well[10][17], TileEmpty) << int(code);
    }
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(RobustnessTest, ScoreWrapsInsteadOfOverflowing) {
    ASSERT_TRUE(game.StartLevel(0));
    state.Score = INT32_MAX;
    game.SpawnTile();
    EXPECT_EQ(state.Score, INT32_MIN);
    Rules().SpawnScore = -1;
    game.SpawnTile();
    EXPECT_EQ(state.Score, INT32_MAX);
}

}  // namespace
}  // namespace pabuko::testing
