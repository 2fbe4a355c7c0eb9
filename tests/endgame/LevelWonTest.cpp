// What a won level pays: stacked bonuses, extra lives, the level bonus and the quiz.
#include "core/GameFixture.h"

namespace pabuko::testing {
namespace {

class LevelWonTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(10);
        PlayLevel(3);
        state.Score = 1000;
    }
};

TEST_F(LevelWonTest, StackBonusesAndTheLevelBonusComeBeforeTheQuiz) {
    // Level 3 of the standard rules, one 36 and two 27s stacked, 4 lives.
    state.LeftStack = {TileBonus36, TileExtraLife, Code('A')};
    state.RightStack = {TileExtraLife};
    state.Lives = 4;
    game.PayLevelWon();
    EXPECT_EQ(state.Score, 1200);
    EXPECT_EQ(state.Lives, 5);
    game.AddLevelScore();
    EXPECT_EQ(state.Score, 1350);
    // The stacks stay as they are until the next level starts.
    EXPECT_EQ(state.LeftStack[0], TileBonus36);
    EXPECT_EQ(state.RightStack[0], TileExtraLife);
}

TEST_F(LevelWonTest, EveryBonusSlotOfBothStacksCounts) {
    state.LeftStack = {TileBonus35, TileBonus37, TileBonus36, TileBonus35, TileSlowDown};
    state.RightStack = {TileBonus37, TileBonus37, TileEmptyStack, Code('Z'), TileBonus35};
    state.Lives = 1;
    game.PayLevelWon();
    EXPECT_EQ(state.Score, 1000 + 3 * 100 + 3 * 50 + 200);
    EXPECT_EQ(state.Lives, 1);
}

TEST_F(LevelWonTest, ExtraLivesStopAtFive) {
    state.LeftStack.fill(TileExtraLife);
    state.Lives = 0;
    game.PayLevelWon();
    EXPECT_EQ(state.Lives, 5);
    EXPECT_EQ(state.Score, 1000);
}

TEST_F(LevelWonTest, RightAnswerAddsTheQuizPointsOnce) {
    Rules().RightAnswer = 3;
    Rules().QuizScore = 275;
    EXPECT_FALSE(game.AnswerQuiz(1));
    EXPECT_FALSE(game.AnswerQuiz(4));
    EXPECT_EQ(state.Score, 1000);
    EXPECT_TRUE(game.AnswerQuiz(3));
    EXPECT_EQ(state.Score, 1275);
}

TEST_F(LevelWonTest, RightAnswerOutsideOneToFourMakesEveryAnswerWrong) {
    for (uint8_t right : {0, 5, 9}) {
        Rules().RightAnswer = right;
        for (int k = 0; k <= 9; ++k) EXPECT_FALSE(game.AnswerQuiz(k)) << int(right) << " " << k;
    }
    EXPECT_EQ(state.Score, 1000);
}

TEST_F(LevelWonTest, WonLevelThroughTheWindowPaysInOrder) {
    host.game = &game;
    host.answer = 2;  // right
    state.LeftStack = {TileBonus37};
    game.EndLevel(1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"otevri 0"}));
    // 50 stacked, 150 for level 3, 150 quiz points, 1 for level 4's first tile.
    EXPECT_EQ(state.Score, 1000 + 50 + 150 + 150 + 1);
    EXPECT_EQ(state.Level, 4);
}

}  // namespace
}  // namespace pabuko::testing
