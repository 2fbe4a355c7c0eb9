// The fall, the landing rules of letters and special tiles, and their scores.
#include "core/GameFixture.h"

namespace pabuko::testing {
namespace {

class LandingTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(10, "KOS", 40);
        PlayLevel(1);
        seeds.forced = {Code('E'), Code('F')};
        score = state.Score;
    }
    int32_t Gained() const { return state.Score - score - 1; }  // less the next spawn
    int32_t score = 0;
};

TEST_F(LandingTest, TileFallsOneRowOnlyWhenItsTimeIsStrictlyPast) {
    Falling(Code('A'), 10, 3);
    state.LastStepTime = 5000;
    state.FallDelay = 410;
    clock.now = 5410;
    game.FallStep();
    EXPECT_EQ(state.Falling.Row, 3);
    EXPECT_EQ(state.LastStepTime, 5000);

    clock.now = 5411;
    game.FallStep();
    EXPECT_EQ(state.Falling.Row, 4);
    EXPECT_EQ(state.LastStepTime, 5411);

    // However late the frame, one row at most.
    clock.now = 90000;
    game.FallStep();
    EXPECT_EQ(state.Falling.Row, 5);
}

TEST_F(LandingTest, EmptyColumnLandsOnTheFloor) {
    Falling(Code('K'), 10, 16);
    Fall();
    EXPECT_EQ(state.Falling.Row, 17);
    EXPECT_EQ(state.Well[10][17], TileEmpty);
    Fall();
    EXPECT_EQ(state.Well[10][17], Code('K'));
    EXPECT_EQ(Gained(), 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0"}));
    // The next tile is already on its way.
    EXPECT_EQ(state.Falling.Code, Code('E'));
    EXPECT_EQ(state.Falling.Row, 0);
    EXPECT_EQ(state.TilesLeft, 38);
}

TEST_F(LandingTest, TileRestsOnTheTopmostTileOfItsColumn) {
    Stack(11, {Code('X'), Code('W')});
    Falling(Code('K'), 11, 14);
    Fall();
    EXPECT_EQ(state.Falling.Row, 15);
    Fall();
    EXPECT_EQ(state.Well[11][15], Code('K'));
    EXPECT_EQ(state.Well[11][16], Code('W'));
}

TEST_F(LandingTest, LikeAndNeighbouringLettersVanishWithTheirScores) {
    struct Case {
        char landing, below;
        int points;
    };
    // Same: 10; B on A: NextLetterScore 30; A on B: PrevLetterScore 20.
    for (const Case c :
         {Case{'M', 'M', 10}, Case{'B', 'A', 30}, Case{'A', 'B', 20}, Case{'Z', 'Y', 30}}) {
        host.calls.clear();
        score = state.Score;
        Stack(10, {Code('Q'), Code(c.below)});
        Falling(Code(c.landing), 10, 15);
        Fall();
        EXPECT_EQ(state.Well[10][15], TileEmpty) << c.landing << " on " << c.below;
        EXPECT_EQ(state.Well[10][16], TileEmpty) << c.landing << " on " << c.below;
        EXPECT_EQ(state.Well[10][17], Code('Q'));
        EXPECT_EQ(Gained(), c.points) << c.landing << " on " << c.below;
        EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0", "wave 1"}));
        state.Well[10][17] = TileEmpty;
        seeds.forced = {Code('E')};
    }
}

TEST_F(LandingTest, DistantLettersAndTheAlphabetsEndsStay) {
    struct Case {
        char landing, below;
    };
    for (const Case c : {Case{'A', 'C'}, Case{'Z', 'A'}, Case{'A', 'Z'}}) {
        host.calls.clear();
        score = state.Score;
        state.Well[10].fill(TileEmpty);
        Stack(10, {Code(c.below)});
        Falling(Code(c.landing), 10, 16);
        Fall();
        EXPECT_EQ(state.Well[10][16], Code(c.landing)) << c.landing << " on " << c.below;
        EXPECT_EQ(state.Well[10][17], Code(c.below));
        EXPECT_EQ(Gained(), 0);
        EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 0"}));
        seeds.forced = {Code('E')};
    }
}

TEST_F(LandingTest, RemoveTilesTakeWhatLiesBelowAndScoreEvenOnTheFloor) {
    // 30 with one tile below removes that one and still scores in full.
    Stack(9, {Code('D')});
    Falling(TileRemove3, 9, 16);
    Fall();
    EXPECT_EQ(state.Well[9][16], TileEmpty);
    EXPECT_EQ(state.Well[9][17], TileEmpty);
    EXPECT_EQ(Gained(), 30);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 3"}));

    // 29 takes two of three.
    host.calls.clear();
    score = state.Score;
    Stack(9, {Code('A'), Code('B'), Code('C')});
    Falling(TileRemove2, 9, 14);
    Fall();
    EXPECT_EQ(state.Well[9][14], TileEmpty);
    EXPECT_EQ(state.Well[9][15], TileEmpty);
    EXPECT_EQ(state.Well[9][16], TileEmpty);
    EXPECT_EQ(state.Well[9][17], Code('A'));
    EXPECT_EQ(Gained(), 20);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 2"}));

    // 28 on the floor: nothing to remove, the points all the same.
    host.calls.clear();
    score = state.Score;
    seeds.forced = {Code('E')};
    Falling(TileRemove1, 11, 17);
    Fall();
    EXPECT_EQ(state.Well[11][17], TileEmpty);
    EXPECT_EQ(Gained(), 10);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 1"}));
}

TEST_F(LandingTest, ClearColumnScoresFlatOrPerTile) {
    struct Case {
        uint8_t code;
        int8_t columnScore;
        int points;
    };
    for (const Case c : {Case{TileClearColumn, -10, 50}, Case{TileClearColumn, 0, 0},
                         Case{TileClearColumn, 7, 7}, Case{TileEmptyStack, -3, 15}}) {
        host.calls.clear();
        score = state.Score;
        Rules().ColumnScore = c.columnScore;
        Stack(10, {1, 2, 3, 4, 5});
        Falling(c.code, 10, 12);
        Fall();
        EXPECT_EQ(state.Well[10], (std::array<uint8_t, kWellRows>{})) << int(c.code);
        EXPECT_EQ(Gained(), c.points) << int(c.columnScore);
        EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 4"}));
        seeds.forced = {Code('E')};
    }
}

TEST_F(LandingTest, BonusTilesVanishWithoutEffect) {
    for (uint8_t code :
         {TileExtraLife, TileSlowDown, TileSilverCoins, TileGoldCoins, TileCopperCoin}) {
        host.calls.clear();
        score = state.Score;
        Stack(11, {Code('A')});
        Falling(code, 11, 16);
        Fall();
        EXPECT_EQ(state.Well[11][16], TileEmpty) << int(code);
        EXPECT_EQ(state.Well[11][17], Code('A'));
        EXPECT_EQ(Gained(), 0);
        EXPECT_TRUE(host.calls.empty());
        seeds.forced = {Code('E')};
    }
}

class DeleteRowTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(3, "ABCDEFGHIJKL", 40);  // all twelve columns playable
        PlayLevel(1);
        seeds.forced = {Code('E')};
    }
    // Cell codes that tell columns and rows apart (and never spell the word).
    static uint8_t Pattern(int c, int r) { return static_cast<uint8_t>(1 + (c + 2 * r + 5) % 26); }
};

TEST_F(DeleteRowTest, LeftDeletionDropsTheColumnsUpToTheLandingOne) {
    // Column 8 is filled up to row 11, the others up to row 2.
    for (int c = 0; c < kWellColumns; ++c) {
        for (int r = c == 8 ? 11 : 2; r < kWellRows; ++r) state.Well[c][r] = Pattern(c, r);
    }
    const auto start = state.Well;
    Falling(TileDeleteRowLeft, 8, 10);
    Fall();
    for (int c = 0; c < kWellColumns; ++c) {
        for (int r = 0; r < kWellRows; ++r) {
            const uint8_t expected = c > 8 || r > 10 ? start[c][r] : r == 0 ? 0 : start[c][r - 1];
            EXPECT_EQ(state.Well[c][r], expected) << "column " << c << " row " << r;
        }
    }
    EXPECT_EQ(host.calls, (std::vector<std::string>{"wave 5"}));
    EXPECT_EQ(state.Score, 2);  // two spawns, the deletion itself scores nothing
}

TEST_F(DeleteRowTest, RightDeletionInRowZeroOnlyEmptiesThatRow) {
    for (int c = 0; c < kWellColumns; ++c) {
        for (int r = c < 5 ? 1 : 0; r < kWellRows; ++r) state.Well[c][r] = Pattern(c, r);
    }
    const auto start = state.Well;
    Falling(TileDeleteRowRight, 4, 0);
    Fall();
    EXPECT_EQ(state.Level, 1);
    for (int c = 0; c < kWellColumns; ++c) {
        for (int r = 0; r < kWellRows; ++r) {
            const uint8_t expected = c >= 4 && r == 0 ? 0 : start[c][r];
            EXPECT_EQ(state.Well[c][r], expected) << "column " << c << " row " << r;
        }
    }
}

}  // namespace
}  // namespace pabuko::testing
