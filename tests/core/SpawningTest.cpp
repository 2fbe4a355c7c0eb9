// Tile spawning: the generator, the distribution, placement, scoring and the slow-down.
#include <map>

#include "core/GameFixture.h"
#include "core/TileTable.h"

namespace pabuko::testing {
namespace {

class SpawningTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(10);
        state.Level = 1;
        state.WordLength = 3;
        state.TilesLeft = 40;
    }
    uint8_t SpawnWithSeed(uint32_t seed) {
        seeds.seed = seed;
        state.TilesLeft = 40;
        game.SpawnTile();
        return state.Falling.Code;
    }
};

TEST(SpecialTileTables, TilesInCodeOrderWithTheirScoresAndDrawsCoveringTheRange) {
    EXPECT_TRUE(detail::SpecialTablesHold());
}

TEST_F(SpawningTest, GeneratorAdvancesTheSeedAndTakesTheHighWordOfTheProduct) {
    state.RandSeed = 0;
    EXPECT_EQ(game.Random(10), 0u);  // seed 1: 10 >> 32
    EXPECT_EQ(state.RandSeed, 1u);
    EXPECT_EQ(game.Random(6), 0u);  // seed 134775814: 808654884 >> 32
    EXPECT_EQ(state.RandSeed, 134775814u);
    EXPECT_EQ(game.Random(6), 5u);  // seed 3698175007: 22189050042 >> 32
    EXPECT_EQ(state.RandSeed, 3698175007u);

    state.RandSeed = 0xFFFFFFFFu;  // −134775813 + 1 modulo 2^32
    EXPECT_EQ(game.Random(10), 9u);
    EXPECT_EQ(state.RandSeed, 4160191484u);
}

TEST_F(SpawningTest, EveryCodeComesFromItsSeed) {
    // Seed → code, worked out from the generator and the nested choices, e.g. seed 1:
    // Random(10) = 0 (vowels), Random(6) = 5 → Y; seed 12345: g 3, h 2, Random(6) 0 → T;
    // seed 0xFFFFFFFF: g 9, h 4 (bonus tiles), Random(5) 2 → 36.
    const std::map<uint32_t, uint8_t> expected = {
        {0, 1},    {79, 2},  {14, 3},   {19, 4},     {5, 5},           {60, 6},   {242, 7},
        {424, 8},  {4, 9},   {43, 10},  {10, 11},    {22, 12},         {15, 13},  {17, 14},
        {3, 15},   {25, 16}, {18, 17},  {144, 18},   {279, 19},        {21, 20},  {2, 21},
        {11, 22},  {13, 23}, {12, 24},  {1, 25},     {44, 26},         {223, 27}, {62, 28},
        {30, 29},  {61, 30}, {31, 31},  {94, 32},    {126, 33},        {412, 34}, {63, 35},
        {157, 36}, {29, 37}, {382, 38}, {12345, 20}, {0xFFFFFFFFu, 36}};
    for (const auto& [seed, code] : expected) {
        EXPECT_EQ(SpawnWithSeed(seed), code) << "seed " << seed;
    }
}

TEST_F(SpawningTest, ChancesFollowTheTable) {
    std::map<int, int> counts;
    const int spawns = 400000;
    for (uint32_t i = 0; i < spawns; ++i) counts[SpawnWithSeed(i * 2654435761u)]++;

    std::map<int, double> chance;
    for (char c : std::string("AEIOUYTKLVNM")) chance[Code(c)] = 0.05;
    for (char c : std::string("RSDPJCBZ")) chance[Code(c)] = 0.0225;
    for (char c : std::string("QWFGHX")) chance[Code(c)] = 0.02;
    chance[30] = 0.015;
    for (int code : {28, 31, 33}) chance[code] = 0.01;
    for (int code : {27, 32, 35, 36, 37}) chance[code] = 0.008;
    for (int code : {29, 34, 38}) chance[code] = 0.005;
    for (int code = 1; code <= 38; ++code) {
        EXPECT_NEAR(counts[code] / double(spawns), chance[code], 0.001) << "code " << code;
    }
    EXPECT_EQ(counts.size(), 38u);
}

TEST_F(SpawningTest, NewTileEntersTheMiddleOfThePlayableColumnsAtTheTop) {
    const std::map<int, int> startColumn = {{1, 11}, {4, 10}, {5, 9}, {12, 6}};
    for (const auto& [width, column] : startColumn) {
        state.WordLength = static_cast<uint8_t>(width);
        state.Falling = {Code('Q'), 3, 7};
        SpawnWithSeed(0);
        EXPECT_EQ(state.Falling.Column, column) << "width " << width;
        EXPECT_EQ(state.Falling.Row, 0);
    }
}

TEST_F(SpawningTest, EverySpawnCountsATileAndChargesTheSpawnScore) {
    Rules().SpawnScore = -2;
    state.TilesLeft = 40;
    state.LastStepTime = 777;
    for (int i = 0; i < 40; ++i) game.SpawnTile();
    EXPECT_EQ(state.Score, -80);
    EXPECT_EQ(state.TilesLeft, 0);
    EXPECT_EQ(state.LastStepTime, 777);  // a pushed-out tile's successor may fall at once
    EXPECT_EQ(seeds.asked, 40);
}

TEST_F(SpawningTest, NoTileLeftMakesNothingButStillReseeds) {
    state.TilesLeft = 0;
    state.Score = 12;
    state.Falling = {Code('W'), 10, 14};
    seeds.forced = {Code('A')};
    seeds.seed = 4242;
    game.SpawnTile();
    EXPECT_EQ(state.TilesLeft, 0);
    EXPECT_EQ(state.Score, 12);
    EXPECT_EQ(state.Falling.Code, Code('W'));
    EXPECT_EQ(state.Falling.Column, 10);
    EXPECT_EQ(state.Falling.Row, 14);
    EXPECT_EQ(state.RandSeed, 4242u);
    EXPECT_EQ(seeds.forced.size(), 1u);  // a dictated code waits for a spawn that makes a tile
}

TEST_F(SpawningTest, DictatedCodeReplacesTheDraw) {
    seeds.forced = {TileEmptyStack, Code('Z')};
    game.SpawnTile();
    EXPECT_EQ(state.Falling.Code, TileEmptyStack);
    game.SpawnTile();
    EXPECT_EQ(state.Falling.Code, Code('Z'));
    EXPECT_EQ(state.TilesLeft, 38);
    EXPECT_EQ(state.Score, 2);
}

TEST_F(SpawningTest, StackedSlowDownTilesBorrowAnEarlierLevelsDelay) {
    // Level 5 with one 32 in each stack falls as slowly as level 3.
    state.Level = 5;
    state.BaseDelay = state.Levels[5].RowDelay;
    state.LeftStack[0] = TileSlowDown;
    state.RightStack = {Code('A'), TileSlowDown};
    game.SpawnTile();
    EXPECT_EQ(state.BaseDelay, state.Levels[3].RowDelay);

    // None left: the level's own delay again, even with no tile to spawn.
    state.LeftStack.fill(TileEmpty);
    state.RightStack.fill(TileEmpty);
    state.TilesLeft = 0;
    game.SpawnTile();
    EXPECT_EQ(state.BaseDelay, state.Levels[5].RowDelay);
}

TEST_F(SpawningTest, SlowDownHasNoEffectOnTheFirstThreeLevels) {
    state.Level = 2;
    state.BaseDelay = 123;
    state.LeftStack = {TileSlowDown, TileSlowDown, TileSlowDown};
    game.SpawnTile();
    EXPECT_EQ(state.BaseDelay, 123);
}

TEST_F(SpawningTest, FourthSlowDownChangesNothingMore) {
    state.Level = 6;
    state.LeftStack = {TileSlowDown, TileSlowDown, TileSlowDown};
    game.SpawnTile();
    EXPECT_EQ(state.BaseDelay, state.Levels[3].RowDelay);
    state.RightStack[0] = TileSlowDown;
    state.BaseDelay = 999;
    game.SpawnTile();
    EXPECT_EQ(state.BaseDelay, 999);
}

}  // namespace
}  // namespace pabuko::testing
