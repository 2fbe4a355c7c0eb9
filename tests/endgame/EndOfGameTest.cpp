// The end of a game and the entry into the top list.
#include "core/GameFixture.h"

namespace pabuko::testing {
namespace {

class EndOfGameTest : public GameTest {
  protected:
    void SetUp() override {
        MakeLevels(5);
        PlayLevel(3);
        host.pauseEnabled = true;
        for (auto& e : topList.entries) e = {"anonym", 0};
    }
    void SetPoints(std::initializer_list<int32_t> points) {
        size_t rank = 0;
        for (int32_t p : points) {
            topList.entries[rank] = {"hr\xE1\xE8 " + std::to_string(rank + 1), p};
            ++rank;
        }
    }
    std::vector<int32_t> Points() const {
        std::vector<int32_t> out;
        for (const auto& e : topList.entries) out.push_back(e.Points);
        return out;
    }
};

TEST_F(EndOfGameTest, EndingTheGameStopsItAndOffersTheScore) {
    state.Score = 10;
    host.name = "Hurbo";
    game.EndGame();
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"EndGame", "blank", "name prompt", "top list"}));
    EXPECT_FALSE(host.timer);
    EXPECT_FALSE(host.pauseEnabled);
    EXPECT_EQ(state.Level, 0);
    EXPECT_EQ(topList.entries[0].Name, "Hurbo");
    EXPECT_EQ(topList.entries[0].Points, 10);
}

TEST_F(EndOfGameTest, SurfaceThatCannotDrawStopsTheEndAfterTheTimer) {
    state.Score = 10;
    host.canDraw = false;
    game.EndGame();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"EndGame"}));
    EXPECT_FALSE(host.timer);
    EXPECT_FALSE(host.pauseEnabled);
    EXPECT_EQ(state.Level, 3);
    EXPECT_EQ(topList.entries[0].Points, 0);
}

TEST_F(EndOfGameTest, FirstPointPushesTheLastAnonymOut) {
    state.Score = 1;
    topList.entries[9].Name = "last";
    game.EnterTopList();
    EXPECT_EQ(Points(), (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(topList.entries[9].Name, "anonym");
    EXPECT_EQ(game.BestScore(), 1);
}

TEST_F(EndOfGameTest, NoPointsNoEntry) {
    for (int32_t score : {0, -5}) {
        state.Score = score;
        game.EnterTopList();
    }
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(Points(), (std::vector<int32_t>(10, 0)));
}

TEST_F(EndOfGameTest, EqualScoreRanksBelowTheOlderEntries) {
    SetPoints({500, 400, 400, 300, 200, 100, 90, 80, 70, 60});
    state.Score = 400;
    host.name = "new";
    game.EnterTopList();
    EXPECT_EQ(Points(), (std::vector<int32_t>{500, 400, 400, 400, 300, 200, 100, 90, 80, 70}));
    EXPECT_EQ(topList.entries[1].Name, "hr\xE1\xE8 2");
    EXPECT_EQ(topList.entries[2].Name, "hr\xE1\xE8 3");
    EXPECT_EQ(topList.entries[3].Name, "new");
    EXPECT_EQ(topList.entries[4].Name, "hr\xE1\xE8 4");
}

TEST_F(EndOfGameTest, ScoreNotAboveAnyEntryIsNotOffered) {
    SetPoints({500, 400, 400, 300, 200, 100, 90, 80, 70, 60});
    state.Score = 60;
    game.EnterTopList();
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(topList.entries[9].Points, 60);
}

TEST_F(EndOfGameTest, WholeListIsScannedForARank) {
    // Not sorted (an edited file): the first entry the score beats takes it.
    SetPoints({500, 400, 900, 300, 200, 100, 90, 80, 70, 60});
    state.Score = 450;
    game.EnterTopList();
    EXPECT_EQ(Points(), (std::vector<int32_t>{500, 450, 400, 900, 300, 200, 100, 90, 80, 70}));
}

TEST_F(EndOfGameTest, OnlyTheStandardSetEntersTheList) {
    state.Score = 1000;
    for (const char* set : {"New", "new2", "zvirata", ""}) {
        state.Levels.LevelSetName = set;
        game.EndGame();
    }
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "name prompt"), 0);
    EXPECT_EQ(topList.entries[0].Points, 0);
}

TEST_F(EndOfGameTest, NamesAreCutToTwentyBytesAndMayBeEmpty) {
    state.Score = 30;
    host.name = "Bartolomej z Kouzelneho lesa";
    game.EnterTopList();
    EXPECT_EQ(topList.entries[0].Name, "Bartolomej z Kouzeln");

    state.Score = 40;
    host.name = "";
    game.EnterTopList();
    EXPECT_EQ(topList.entries[0].Name, "");
    EXPECT_EQ(topList.entries[1].Name, "Bartolomej z Kouzeln");
}

}  // namespace
}  // namespace pabuko::testing
