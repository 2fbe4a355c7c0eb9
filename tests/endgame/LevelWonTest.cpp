// What a won level pays: stacked bonuses, extra lives, the level bonus and the quiz.
#include "core/EndOfLevel.h"
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
    state.LeftStack = {TileGoldCoins, TileExtraLife, Code('A')};
    state.RightStack = {TileExtraLife};
    state.Lives = 4;
    game.PayLevelWon();
    EXPECT_EQ(state.Score, 1200);
    EXPECT_EQ(state.Lives, 5);
    game.AddLevelScore();
    EXPECT_EQ(state.Score, 1350);
    // The stacks stay as they are until the next level starts.
    EXPECT_EQ(state.LeftStack[0], TileGoldCoins);
    EXPECT_EQ(state.RightStack[0], TileExtraLife);
}

TEST_F(LevelWonTest, EveryBonusSlotOfBothStacksCounts) {
    state.LeftStack = {TileSilverCoins, TileCopperCoin, TileGoldCoins, TileSilverCoins,
                       TileSlowDown};
    // Codes past the special tiles (a damaged state) pay nothing.
    state.RightStack = {
        TileCopperCoin, TileCopperCoin, TileEmptyStack, Code('Z'), TileSilverCoins, 39, 255};
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
    state.LeftStack = {TileCopperCoin};
    game.EndLevel(1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"otevri 0", "wave 9"}));
    // 50 stacked, 150 for level 3, 150 quiz points, 1 for level 4's first tile.
    EXPECT_EQ(state.Score, 1000 + 50 + 150 + 150 + 1);
    EXPECT_EQ(state.Level, 4);
}

// Notes what the sequence shows, and the score at each step, in the host's call list.
class LoggingWindow : public EndOfLevelWindow {
  public:
    LoggingWindow(WindowlessHost& host, GameState& state) : host_(host), state_(state) {}
    void ShowQuiz(const std::string& title, const TLevel& level) override {
        Log("quiz " + title + " " + level.Question);
    }
    void ShowNotice(const std::string& title, const std::string& text) override {
        Log("notice " + title + " " + text);
    }
    void Exec(const std::function<bool(int)>& answer) override {
        Log("exec");
        Log(answer(2) ? "right" : "wrong");
    }

  private:
    void Log(const std::string& what) {
        host_.calls.push_back(what + " @" + std::to_string(state_.Score));
    }
    WindowlessHost& host_;
    GameState& state_;
};

TEST_F(LevelWonTest, EachModeShowsPaysAndSoundsInItsOrder) {
    LoggingWindow window(host, state);
    auto run = [&](uint8_t mode) {
        PlayLevel(3);
        state.Score = 1000;
        state.LeftStack = {TileCopperCoin};
        RunEndOfLevel(game, window, mode);
        return host.calls;
    };
    using Calls = std::vector<std::string>;
    // Stacked coin (50) before the wave and the window, the level score (150) after
    // showing, the right answer's 150 while the window is open.
    EXPECT_EQ(run(ModeLevelWon), (Calls{"wave 9", "quiz Gratuluji! A teď otázka... Ot\xE1zka @1050",
                                        "exec @1200", "right @1350"}));
    // The last level's wave comes after the level score.
    EXPECT_EQ(run(ModeLastLevelWon),
              (Calls{"quiz Gratuluji! A teď poslední otázka... Ot\xE1zka @1050", "wave 10",
                     "exec @1200", "right @1350"}));
    // A lost life pays nothing and answers nothing; only game over ends the game.
    EXPECT_EQ(run(ModeWellOverflowed),
              (Calls{"wave 7", "notice Ztratili jste život Móóóc kostek... @1000", "exec @1000",
                     "wrong @1000"}));
    EXPECT_EQ(run(ModeOutOfTiles),
              (Calls{"wave 7", "notice Ztratili jste život Málo kostek... @1000", "exec @1000",
                     "wrong @1000"}));
    EXPECT_EQ(state.Level, 3);
    const Calls over = run(ModeGameOver);
    ASSERT_GE(over.size(), 5u);
    EXPECT_EQ(Calls(over.begin(), over.begin() + 5),
              (Calls{"wave 8", "notice Game Over Skončili jsme jasná zpráva... @1000", "exec @1000",
                     "wrong @1000", "EndGame"}));
    EXPECT_EQ(state.Level, 0);
    EXPECT_TRUE(run(4).empty());
}

}  // namespace
}  // namespace pabuko::testing
