#include <gtest/gtest.h>

#include "display/Surface.h"

namespace pabuko {
namespace {

struct CountingPresenter : SurfacePresenter {
    int presented = 0;
    uint32_t firstPixel = 0;
    void Present(const Surface& back) override {
        ++presented;
        firstPixel = back.Pixel(0, 0);
    }
};

struct CountingCanvas : TextCanvas {
    int* releases;
    explicit CountingCanvas(int* r) : releases(r) {}
    void TextOut(int, int, const std::string&) override {}
    void Release() override { ++*releases; }
};

TEST(DrawingSurface, DrawsAndFlipsOnlyWhileInitialized) {
    DrawingSurface surface;
    CountingPresenter presenter;
    surface.SetPresenter(&presenter);
    EXPECT_FALSE(surface.CanDraw());
    surface.Flip();
    EXPECT_EQ(presenter.presented, 0);

    surface.Initialize();
    ASSERT_TRUE(surface.CanDraw());
    ASSERT_EQ(surface.BackBuffer().Width(), 400);
    ASSERT_EQ(surface.BackBuffer().Height(), 300);
    surface.BackBuffer().Fill(0x00ABCDEF);
    surface.Flip();
    EXPECT_EQ(presenter.presented, 1);
    EXPECT_EQ(presenter.firstPixel, 0x00ABCDEFu);

    surface.Finalize();
    EXPECT_FALSE(surface.CanDraw());
    surface.Flip();
    EXPECT_EQ(presenter.presented, 1);
}

TEST(DrawingSurface, CanvasIsMadeOnceAndReleasedBeforeFlip) {
    // The counters outlive the surface: its shutdown releases the canvas once more.
    int made = 0;
    int releases = 0;
    DrawingSurface surface;
    surface.SetCanvasFactory([&](Surface&) {
        ++made;
        return std::make_unique<CountingCanvas>(&releases);
    });
    EXPECT_EQ(surface.Canvas(), nullptr);  // no back buffer yet
    surface.Initialize();
    TextCanvas* canvas = surface.Canvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(surface.Canvas(), canvas);
    EXPECT_EQ(made, 1);
    surface.Flip();
    EXPECT_EQ(releases, 1);
}

TEST(SurfaceCopy, KeyedAndPlainRowsOfEveryLength) {
    // Widths around the four-pixel steps of the keyed copy.
    for (int w = 1; w <= 11; ++w) {
        Surface src(w, 2);
        for (int x = 0; x < w; ++x) {
            src.SetPixel(x, 0, (x % 3 == 0) ? 0xFF00FFu : 0x100u + x);
            src.SetPixel(x, 1, 0x200u + x);
        }
        src.SetColorKey(0xFF00FF);
        Surface dest(12, 3);
        dest.Fill(7);
        dest.Draw(1, 1, src, Rect{0, 0, w, 2}, true);
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(dest.Pixel(1 + x, 1), (x % 3 == 0) ? 7u : 0x100u + x) << w << ':' << x;
            EXPECT_EQ(dest.Pixel(1 + x, 2), 0x200u + x);
        }
        EXPECT_EQ(dest.Pixel(0, 1), 7u);
        if (w < 11) {
            EXPECT_EQ(dest.Pixel(1 + w, 1), 7u);
        }
        dest.Draw(1, 1, src, Rect{0, 0, w, 1}, false);
        EXPECT_EQ(dest.Pixel(1, 1), 0xFF00FFu);
    }
}

TEST(SurfaceCopy, SourceRectangleOutsideItsSurfaceIsCut) {
    Surface src(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src.SetPixel(x, y, 0x10u * y + x);
    Surface dest(10, 10);
    dest.Draw(5, 5, src, Rect{-2, -1, 5, 5}, false);
    // Source (0, 0) lands where it would have without the cut: (7, 6).
    EXPECT_EQ(dest.Pixel(7, 6), 0x00u);
    EXPECT_EQ(dest.Pixel(9, 9), 0x32u);
    EXPECT_EQ(dest.Pixel(6, 6), 0u);
    EXPECT_EQ(dest.Pixel(7, 5), 0u);
}

TEST(SurfaceColors, MatchAndSystemColours) {
    EXPECT_EQ(MatchColor(0x00FF00FF), 0xFFFF00FFu);
    EXPECT_EQ(MatchColor(0x00800000), 0xFF000080u);  // navy
    EXPECT_EQ(MatchColor(0xFF00000F), MatchColor(ResolveSystemColor(0xFF00000F)));
    EXPECT_NE(ResolveSystemColor(0xFF000005), 0xFF000005u);
}

}  // namespace
}  // namespace pabuko
