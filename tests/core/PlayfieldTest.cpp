#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Playfield.h"
#include "core/ScreenLayout.h"
#include "core/TestArt.h"

namespace pabuko {
namespace {

using namespace pabuko::testing;
using namespace pabuko::layout;

struct RecordingCanvas : TextCanvas {
    struct Call {
        int x, y;
        std::string text;
    };
    std::vector<Call> calls;
    int releases = 0;
    void TextOut(int x, int y, const std::string& text) override { calls.push_back({x, y, text}); }
    void Release() override { ++releases; }
};

struct Playfield : ::testing::Test {
    DrawingSurface surface;
    ImageList images;
    GameState state;

    void SetUp() override {
        MakeSkin(images.Items);
        images.SetDXDraw(&surface);
        surface.Initialize();
    }
    void Word(const std::string& w) {
        state.TargetWord = w;
        state.WordLength = static_cast<uint8_t>(w.size());
    }
    uint32_t At(int x, int y) const { return surface.BackBuffer().Pixel(x, y); }
    // A 15 × 15 cell filled with one colour, and nothing of it outside.
    void ExpectCell(int x, int y, uint32_t pixel) const {
        EXPECT_EQ(At(x, y), pixel) << x << "," << y;
        EXPECT_EQ(At(x + 14, y + 14), pixel) << x << "," << y;
    }
    void Draw(TextCanvas* text = nullptr) {
        DrawPlayfield(state, images, surface.BackBuffer(), text);
    }
};

TEST_F(Playfield, WellTileAtColumnTimesFifteenPlus42AndRowTimesFifteen) {
    Word("ABCDEFGHIJKL");
    state.Well[3][17] = 7;
    state.Well[11][0] = 26;
    Draw();
    ExpectCell(15 * 3 + 42, 15 * 17, TilePixel(7));
    ExpectCell(15 * 11 + 42, 0, TilePixel(26));
    // Just outside the cells: the background (the word row starts at y 275).
    EXPECT_EQ(At(15 * 3 + 41, 15 * 17), BackgroundPixel());
    EXPECT_EQ(At(15 * 3 + 57, 15 * 17 + 7), BackgroundPixel());
}

TEST_F(Playfield, FiveLetterWordRowStacksBarrierAndLeftPicture) {
    Word("HA LO");
    state.LeftStack = {1, 27, 38, 0, 0, 0, 0, 0, 0};
    state.RightStack = {2, 0, 0, 0, 0, 0, 0, 0, 0};
    state.LeftStackFull = true;
    state.RightStackFull = true;
    Draw();
    EXPECT_EQ(PlayableX(5), 147);
    ExpectCell(147, 275, TilePixel('H' - 64));
    ExpectCell(162, 275, TilePixel('A' - 64));
    EXPECT_EQ(At(177 + 7, 275 + 7), BackgroundPixel());  // the space leaves a gap
    ExpectCell(192, 275, TilePixel('L' - 64));
    ExpectCell(207, 275, TilePixel('O' - 64));
    // Left stack at x 121 (slots from y 226 upward), right stack at x 233.
    ExpectCell(121, 226, TilePixel(1));
    ExpectCell(121, 211, TilePixel(27));
    ExpectCell(121, 196, TilePixel(38));
    EXPECT_EQ(At(121 + 7, 181 + 7), LeftPicturePixel());
    ExpectCell(233, 226, TilePixel(2));
    // Barriers at x0 − 10 = 137 and at 221, y 60; item 5 from x −13, so up to x 146.
    EXPECT_EQ(At(137, 60), BarrierPixel());
    EXPECT_EQ(At(221, 60), BarrierPixel());
    EXPECT_EQ(At(230, 89), BarrierPixel());
    EXPECT_EQ(At(0, 150), LeftPicturePixel());
    EXPECT_EQ(At(146, 0), LeftPicturePixel());
    EXPECT_EQ(At(147, 0), BackgroundPixel());
}

TEST_F(Playfield, TwelveLetterWordPutsTheLeftStackAtX16) {
    Word("ABCDEFGHIJKL");
    state.LeftStack[8] = 36;
    state.RightStack[8] = 26;
    Draw();
    ExpectCell(16, 106, TilePixel(36));
    ExpectCell(233, 106, TilePixel(26));
    for (int i = 0; i < 12; ++i) ExpectCell(42 + 15 * i, 275, TilePixel(i + 1));
    EXPECT_EQ(At(32, 60), LeftPicturePixel());  // no barrier at x0 − 10 while the stack is open
}

// The parts keep clear of each other wherever the layout puts them: these hold for every
// word length, so moving a counter or the well cannot silently draw one part over another.
TEST(ScreenLayout, PartsFitTheScreenAndKeepClearOfEachOther) {
    for (int length = 1; length <= kWellColumns; ++length) {
        // The left picture starts on the screen or left of it and ends at the first column;
        // the stack's tube and the barrier lie inside it, in the pillar.
        EXPECT_EQ(LeftPictureX(length) + kLeftPictureWidth, PlayableX(length)) << length;
        EXPECT_GE(LeftStackX(length), LeftPictureX(length) + kLeftPictureWidth - kPillarWidth);
        EXPECT_GE(LeftStackX(length), 0) << length;
        EXPECT_LT(LeftBarrierX(length), PlayableX(length));
        EXPECT_GE(LeftBarrierX(length), LeftStackX(length) + kCellSize - 2);
    }
    EXPECT_GT(kRightStackX, kWellRight);
    EXPECT_LE(kRightStackX + kCellSize, kPanelLeft);
    // Every slot lies in the tube under the mouth, and the mouth is two rows of the well.
    EXPECT_GT(StackY(kStackSlots - 1), kMouthBottom);
    EXPECT_EQ(StackY(0) + kCellSize - 1, kSlotBottom);
    EXPECT_EQ(kMouthBottom - kMouthTop + 1, 2 * kCellSize);
    // The word row lies under the well, on the screen.
    EXPECT_GT(kWordY, kWellBottom);
    EXPECT_LE(kWordY + kCellSize, kScreenHeight);
    // The counters stand on the panel, top to bottom in the order the skins label them.
    const Point counters[] = {kScoreAt, kTilesLeftAt, kLivesAt, kLevelAt, kTopScoreAt};
    for (const Point& at : counters) {
        EXPECT_GE(at.x, kPanelLeft);
        EXPECT_LT(at.x, kScreenWidth);
        EXPECT_LT(at.y, kScreenHeight);
    }
    for (size_t i = 1; i < std::size(counters); ++i) EXPECT_GT(counters[i].y, counters[i - 1].y);
    EXPECT_LE(kLivesAt.x + kLifeStep * 4 + 20, kScreenWidth);  // five lives fit
    // At every window scale the LED line lies in the band under the playfield, centred as
    // at scale 1.
    for (int scale = 1; scale <= 3; ++scale) {
        const Point led = LedLineAt(scale);
        EXPECT_GE(led.y, kScreenHeight * scale);
        EXPECT_LT(led.y, ClientHeight(scale));
        EXPECT_EQ(ClientWidth(scale) / 2 - led.x, ClientWidth(1) / 2 - kLedLineAt.x);
    }
}

TEST_F(Playfield, LivesCountersAndFallingTile) {
    Word("AB");
    state.Lives = 5;
    state.Score = -12;
    state.TilesLeft = 40;
    state.Level = 3;
    state.TopScore = 900;
    RecordingCanvas canvas;
    Draw(&canvas);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(At(275 + 22 * k, 200), LifePixel()) << k;
    EXPECT_EQ(At(363 + 19, 219), LifePixel());
    EXPECT_EQ(At(363 + 20, 200), BackgroundPixel());

    ASSERT_EQ(canvas.calls.size(), 4u);
    EXPECT_EQ(canvas.calls[0].text, "-12");
    EXPECT_EQ(canvas.calls[0].x, 277);
    EXPECT_EQ(canvas.calls[0].y, 124);
    EXPECT_EQ(canvas.calls[1].text, "40");
    EXPECT_EQ(canvas.calls[1].y, 164);
    EXPECT_EQ(canvas.calls[2].text, "3");
    EXPECT_EQ(canvas.calls[2].x, 326);
    EXPECT_EQ(canvas.calls[2].y, 220);
    EXPECT_EQ(canvas.calls[3].text, "900");
    EXPECT_EQ(canvas.calls[3].y, 261);
    EXPECT_EQ(canvas.releases, 1);
    EXPECT_EQ(canvas.Font.name, "Arial");
    EXPECT_EQ(canvas.Font.size, 12);
    EXPECT_TRUE(canvas.Font.bold);
    EXPECT_EQ(canvas.Font.color, 0x800000u);
    EXPECT_TRUE(canvas.BrushClear);

    state.Falling = {33, 10, 6};
    DrawFallingTile(state, images, surface.BackBuffer());
    ExpectCell(15 * 10 + 42, 90, TilePixel(33));
    state.Falling = {5, 11, 17};
    DrawFallingTile(state, images, surface.BackBuffer());
    ExpectCell(207, 255, TilePixel(5));
}

TEST_F(Playfield, SkinWithMissingItemsDrawsWhatItHas) {
    ImageList shortList;
    AddItem(shortList.Items, FlatPicture(400, 300, [](int, int) { return BackgroundPixel(); }), 0,
            0);
    shortList.SetDXDraw(&surface);
    Word("ABC");
    state.Well[11][17] = 3;
    state.Lives = 2;
    state.Falling = {30, 11, 5};
    DrawPlayfield(state, shortList, surface.BackBuffer(), nullptr);
    DrawFallingTile(state, shortList, surface.BackBuffer());
    EXPECT_EQ(At(207 + 7, 255 + 7), BackgroundPixel());
    EXPECT_EQ(At(275, 200), BackgroundPixel());
}

}  // namespace
}  // namespace pabuko

namespace pabuko {
namespace {

struct CountingPresenter : SurfacePresenter {
    int presented = 0;
    void Present(const Surface&) override { ++presented; }
};

// One tick of the main window: the frame shows the playfield from before the step and the
// falling tile from after it, and an unchanged frame is neither drawn nor presented.
TEST_F(Playfield, FrameDrawerPresentsOnlyFramesThatChange) {
    CountingPresenter presenter;
    surface.SetPresenter(&presenter);
    FrameDrawer frame;
    state.Level = 1;
    Word("ABC");
    state.Falling = {1, 9, 0};
    auto tick = [&](auto&& step) {
        frame.Begin(state);
        step();
        return frame.Finish(state, images, surface);
    };
    auto nothing = [] {};

    EXPECT_TRUE(tick(nothing));
    EXPECT_FALSE(tick(nothing));
    EXPECT_FALSE(tick(nothing));
    EXPECT_EQ(presenter.presented, 1);

    EXPECT_TRUE(tick([&] { state.Falling.Row = 1; }));  // the tile moved in the step
    ExpectCell(WellX(9), WellY(1), TilePixel(1));
    EXPECT_NE(At(WellX(9), WellY(0)), TilePixel(1));  // its old place redrawn

    // A landing in the step shows in the next frame, as the playfield is drawn first.
    EXPECT_FALSE(tick([&] { state.Well[10][17] = 2; }));
    EXPECT_TRUE(tick(nothing));
    ExpectCell(WellX(10), WellY(17), TilePixel(2));
    EXPECT_FALSE(tick([&] { state.Score += 5; }));  // counters likewise
    EXPECT_TRUE(tick(nothing));

    frame.Invalidate();  // new pictures: the same frame is drawn again
    EXPECT_TRUE(tick(nothing));
    state.Level = 0;  // no game: nothing is drawn over the blank playfield
    EXPECT_FALSE(tick(nothing));
    EXPECT_EQ(presenter.presented, 5);
}

}  // namespace
}  // namespace pabuko
