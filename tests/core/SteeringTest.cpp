// Steering on input frames, the fast drop and the pushes into the side stacks.
#include "core/GameFixture.h"

namespace pabuko::testing {
namespace {

constexpr SteerKeys Right{true, false, false};
constexpr SteerKeys Left{false, true, false};
constexpr SteerKeys Both{true, true, false};
constexpr SteerKeys Down{false, false, true};
constexpr SteerKeys None{};

class SteeringTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(10, "KOS", 40);  // playable columns 9, 10, 11
        PlayLevel(1);
        seeds.forced = {Code('E'), Code('F'), Code('G'), Code('H')};
    }
};

TEST_F(SteeringTest, SidewaysMovesNeedAnEmptyNeighbourCell) {
    Falling(Code('A'), 10, 8);
    game.Steer(Right);
    EXPECT_EQ(state.Falling.Column, 11);
    game.Steer(Left);
    EXPECT_EQ(state.Falling.Column, 10);

    state.Well[11][8] = Code('B');
    state.Well[9][9] = Code('C');  // lower than the tile: no obstacle
    game.Steer(Right);
    EXPECT_EQ(state.Falling.Column, 10);
    game.Steer(Left);
    EXPECT_EQ(state.Falling.Column, 9);
}

TEST_F(SteeringTest, RightMoveComesFirstSoBothKeysCancelOut) {
    Falling(Code('A'), 10, 8);
    game.Steer(Both);
    EXPECT_EQ(state.Falling.Column, 10);

    // Blocked on the right: the left move still happens.
    state.Well[11][8] = Code('B');
    game.Steer(Both);
    EXPECT_EQ(state.Falling.Column, 9);
}

TEST_F(SteeringTest, DownSetsTheFastDelayOnlyWhileHeld) {
    state.BaseDelay = 455;
    game.Steer(Down);
    EXPECT_EQ(state.FallDelay, 20);
    game.Steer(None);
    EXPECT_EQ(state.FallDelay, 455);
}

TEST_F(SteeringTest, EdgesKeepTheTileInTheWellAwayFromTheStackMouths) {
    for (int row : {0, 3, 6, 17}) {
        Falling(Code('A'), 9, row);
        game.Steer(Left);
        EXPECT_EQ(state.Falling.Column, 9) << "row " << row;
        Falling(Code('A'), 11, row);
        game.Steer(Right);
        EXPECT_EQ(state.Falling.Column, 11) << "row " << row;
    }
    EXPECT_EQ(state.LeftStack[0], TileEmpty);
    EXPECT_EQ(state.RightStack[0], TileEmpty);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(SteeringTest, PushAtRowFourOrFiveStacksTheTileAndSpawnsTheNext) {
    const uint16_t tiles = state.TilesLeft;
    const int32_t score = state.Score;
    Falling(TileGoldCoins, 9, 4);
    game.Steer(Left);
    EXPECT_EQ(state.LeftStack[0], TileGoldCoins);
    EXPECT_EQ(state.Falling.Code, Code('E'));
    EXPECT_EQ(state.Falling.Column, 10);
    EXPECT_EQ(state.Falling.Row, 0);

    Falling(Code('Q'), 11, 5);
    game.Steer(Right);
    EXPECT_EQ(state.RightStack[0], Code('Q'));
    EXPECT_EQ(state.Falling.Code, Code('F'));

    // Nothing scores for the pushed tiles; only the two spawns charge their points.
    EXPECT_EQ(state.TilesLeft, tiles - 2);
    EXPECT_EQ(state.Score, score + 2);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "wave 0"}));
}

TEST_F(SteeringTest, NinthTileClosesTheStack) {
    state.LeftStack = {1, 2, 3, 4, 5, 6, 7, 8};
    Falling(Code('Z'), 9, 4);
    game.Steer(Left);
    EXPECT_EQ(state.LeftStack[8], Code('Z'));
    EXPECT_TRUE(state.LeftStackFull);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "wave 6"}));

    host.calls.clear();
    Falling(Code('Y'), 9, 5);
    game.Steer(Left);
    EXPECT_EQ(state.Falling.Column, 9);
    EXPECT_EQ(state.Falling.Code, Code('Y'));
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(SteeringTest, EmptyStackTileEmptiesItsStackInsteadOfClosingIt) {
    state.RightStack = {1, 2, 3, 4, 5, 6, 7, 8};
    Falling(TileEmptyStack, 11, 4);
    game.Steer(Right);
    EXPECT_EQ(state.RightStack, (std::array<uint8_t, kStackSlots>{}));
    EXPECT_FALSE(state.RightStackFull);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "wave 4"}));
}

TEST_F(SteeringTest, StackWithEverySlotTakenStaysClosedWithoutItsFlag) {
    state.LeftStack = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Falling(Code('Z'), 9, 4);
    game.Steer(Left);
    EXPECT_EQ(state.Falling.Column, 9);
    EXPECT_EQ(state.LeftStack[8], 9);
}

TEST_F(SteeringTest, PushOfTheLastTileEndsTheLevelWithTheTileInTheWell) {
    state.TilesLeft = 0;
    state.Lives = 2;
    Falling(TileSilverCoins, 9, 4);
    game.Steer(Left);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 3"}));
    EXPECT_EQ(state.Lives, 1);
    // The restart spawned once; the pushed tile stayed in the stack until then.
    EXPECT_EQ(state.TilesLeft, 39);
    EXPECT_EQ(state.LeftStack[0], TileEmpty);
    EXPECT_EQ(state.Falling.Code, Code('E'));
    EXPECT_TRUE(host.timer);
}

TEST_F(SteeringTest, PushOfTheLastTileReturnsItToTheEdgeColumn) {
    // Game over: nothing restarts, so the tile is seen where it was left.
    state.TilesLeft = 0;
    state.Lives = 0;
    Falling(Code('R'), 11, 5);
    game.Steer(Right);
    EXPECT_EQ(state.RightStack[0], Code('R'));
    EXPECT_EQ(state.Falling.Column, 11);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "otevri 1"}));

    Falling(Code('R'), 9, 4);
    host.timer = true;
    host.calls.clear();
    game.Steer(Left);
    EXPECT_EQ(state.Falling.Column, 9);
    EXPECT_FALSE(host.timer);
}

TEST_F(SteeringTest, FrameStepReadsKeysOnEverySecondFrame) {
    state.InputFrame = false;
    int reads = 0;
    auto keys = [&] {
        ++reads;
        return Right;
    };
    Falling(Code('A'), 9, 8);
    clock.now = state.LastStepTime;  // no fall in these frames
    for (int i = 0; i < 4; ++i) game.FrameStep(keys);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(state.Falling.Column, 11);
    EXPECT_FALSE(state.InputFrame);
}

TEST_F(SteeringTest, FrameStepSkipsTheFallWhenSteeringStoppedTheTimer) {
    host.game = &game;
    state.TilesLeft = 0;
    state.Lives = 0;
    state.InputFrame = true;
    state.LastStepTime = 0;
    clock.now = 100000;
    Falling(Code('A'), 9, 4);
    game.FrameStep([] { return Left; });
    EXPECT_FALSE(host.timer);
    EXPECT_EQ(state.Level, 0);
    EXPECT_EQ(state.LastStepTime, 0);  // FallStep did not run
    EXPECT_EQ(state.Falling.Row, 4);
}

TEST_F(SteeringTest, FrameStepFallsAfterSteering) {
    state.InputFrame = true;
    Falling(Code('A'), 10, 3);
    clock.now = state.LastStepTime + state.FallDelay + 1;
    game.FrameStep([] { return Right; });
    EXPECT_EQ(state.Falling.Column, 11);
    EXPECT_EQ(state.Falling.Row, 4);
}

}  // namespace
}  // namespace pabuko::testing
