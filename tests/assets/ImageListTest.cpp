#include <gtest/gtest.h>

#include "ListFileBuilder.h"
#include "assets/ImageList.h"
#include "assets/ObjectStream.h"

namespace pabuko {
namespace {

constexpr uint32_t kKey = PixelFromRgb(255, 0, 255);

// A picture whose pixel (x, y) is unique: red = x, green = y, blue = 1 (never the key).
std::vector<uint8_t> GradientPicture(int w, int h) {
    std::vector<uint32_t> px;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) px.push_back(PixelFromRgb(x & 0xFF, y & 0xFF, 1 + (x >> 8)));
    }
    return PictureDataFromBmp(EncodeBmpFile(w, h, px));
}

struct Fixture {
    DrawingSurface surface;
    ImageList list;
    Fixture() {
        surface.Initialize();
        list.SetDXDraw(&surface);
    }
    PictureCollectionItem& Load(const std::vector<uint8_t>& file) {
        list.Items.LoadFromStream(file);
        return list.Items[0];
    }
};

std::vector<Rect> Patterns(const PictureCollectionItem& item) {
    std::vector<Rect> out;
    for (int64_t k = 0; k < item.PatternCount(); ++k) out.push_back(item.PatternRect(k));
    return out;
}

TEST(ImageListPatterns, WholePictureWhenNoCellSize) {
    Fixture f;
    auto& item = f.Load(test::OneItemFile(GradientPicture(20, 10), 0, 0));
    EXPECT_EQ(Patterns(item), (std::vector<Rect>{{0, 0, 20, 10}}));
    EXPECT_EQ(item.SurfaceRects(), (std::vector<Rect>{{0, 0, 20, 10}}));
    Surface& back = f.surface.BackBuffer();
    item.Draw(back, 0, 0, 1);
    EXPECT_EQ(back.Pixel(5, 5), 0u);
    item.Draw(back, 0, 0, 0);
    EXPECT_EQ(back.Pixel(5, 5), PixelFromRgb(5, 5, 1));
}

TEST(ImageListPatterns, CellGridRowByRowWithGaps) {
    Fixture f;
    auto& strip = f.Load(test::OneItemFile(GradientPicture(390, 15), 15, 15));
    ASSERT_EQ(strip.PatternCount(), 26);
    EXPECT_EQ(strip.PatternRect(25), (Rect{375, 0, 15, 15}));

    auto& gaps = f.Load(test::OneItemFile(GradientPicture(100, 70), 30, 30, false, 5, 10));
    // Columns (100 + 5) div 35 = 3, rows (70 + 10) div 40 = 2.
    EXPECT_EQ(Patterns(gaps), (std::vector<Rect>{{0, 0, 30, 30},
                                                 {35, 0, 30, 30},
                                                 {70, 0, 30, 30},
                                                 {0, 40, 30, 30},
                                                 {35, 40, 30, 30},
                                                 {70, 40, 30, 30}}));
    auto& big = f.Load(test::OneItemFile(GradientPicture(20, 20), 30, 20));
    EXPECT_EQ(big.PatternCount(), 0);
    EXPECT_TRUE(big.Surfaces().empty());
}

TEST(ImageListPatterns, ChunksOfAboutFiveHundredPixels) {
    Fixture f;
    auto& item = f.Load(test::OneItemFile(GradientPicture(1000, 15), 15, 15));
    EXPECT_EQ(item.SurfaceRects(), (std::vector<Rect>{{0, 0, 525, 15}, {525, 0, 475, 15}}));
    EXPECT_EQ(item.PatternCount(), 66);
    EXPECT_EQ(item.PatternSurface(34), 0u);
    EXPECT_EQ(item.PatternRectInSurface(34), (Rect{510, 0, 15, 15}));
    EXPECT_EQ(item.PatternSurface(35), 1u);
    EXPECT_EQ(item.PatternRectInSurface(35), (Rect{0, 0, 15, 15}));
    Surface& back = f.surface.BackBuffer();
    item.Draw(back, 10, 20, 35);
    EXPECT_EQ(back.Pixel(10, 20), PixelFromRgb(525 & 0xFF, 0, 3));
    EXPECT_EQ(back.Pixel(24, 34), PixelFromRgb(539 & 0xFF, 14, 3));

    // Both ways: 700 × 530 with 100 × 100 cells, chunks 600 wide and 500 high.
    auto& grid = f.Load(test::OneItemFile(GradientPicture(700, 530), 100, 100));
    EXPECT_EQ(grid.SurfaceRects(),
              (std::vector<Rect>{
                  {0, 0, 600, 500}, {600, 0, 100, 500}, {0, 500, 600, 30}, {600, 500, 100, 30}}));
    EXPECT_EQ(grid.PatternCount(), 35);
    EXPECT_EQ(grid.PatternSurface(5), 0u);
    EXPECT_EQ(grid.PatternSurface(6), 1u);
    EXPECT_EQ(grid.PatternRectInSurface(6), (Rect{0, 0, 100, 100}));
    EXPECT_EQ(grid.PatternSurface(34), 1u);
    EXPECT_EQ(grid.PatternRectInSurface(34), (Rect{0, 400, 100, 100}));
}

TEST(ImageListPatterns, SystemMemoryKeepsOneSurface) {
    Fixture f;
    auto& item = f.Load(test::OneItemFile(GradientPicture(1000, 15), 15, 15, true));
    EXPECT_EQ(item.SurfaceRects(), (std::vector<Rect>{{0, 0, 1000, 15}}));
    EXPECT_EQ(item.PatternRectInSurface(35), (Rect{525, 0, 15, 15}));
}

TEST(ImageListPatterns, ZeroSizeAndUnknownPictures) {
    Fixture f;
    const std::vector<uint8_t> empty{4, 'T', 'D', 'I', 'B'};
    auto& whole = f.Load(test::OneItemFile(empty, 0, 0));
    EXPECT_EQ(Patterns(whole), (std::vector<Rect>{{0, 0, 0, 0}}));
    EXPECT_EQ(whole.SurfaceRects(), (std::vector<Rect>{{0, 0, 0, 0}}));
    whole.Draw(f.surface.BackBuffer(), 0, 0, 0);  // draws nothing, must not fault

    auto& cells = f.Load(test::OneItemFile(empty, 15, 15));
    EXPECT_EQ(cells.PatternCount(), 0);
    EXPECT_TRUE(cells.Surfaces().empty());

    auto& other = f.Load(test::OneItemFile({5, 'T', 'I', 'c', 'o', 'n', 0}, 0, 0));
    EXPECT_TRUE(other.picture.Empty());
    EXPECT_EQ(other.PatternCount(), 0);
}

TEST(ImageListDraw, ColourKeyAndPlainCopy) {
    Fixture f;
    std::vector<uint32_t> px{kKey, PixelFromRgb(1, 2, 3), PixelFromRgb(4, 5, 6), kKey};
    auto& item = f.Load(test::OneItemFile(PictureDataFromDib(EncodeDib(2, 2, px)), 0, 0));
    Surface& back = f.surface.BackBuffer();
    back.Fill(0x123456);
    item.Draw(back, 7, 8, 0);
    EXPECT_EQ(back.Pixel(7, 8), 0x123456u);
    EXPECT_EQ(back.Pixel(8, 8), PixelFromRgb(1, 2, 3));
    EXPECT_EQ(back.Pixel(7, 9), PixelFromRgb(4, 5, 6));
    EXPECT_EQ(back.Pixel(8, 9), 0x123456u);

    item.Transparent = false;
    item.Draw(back, 7, 8, 0);
    EXPECT_EQ(back.Pixel(7, 8), kKey);

    // A new key re-keys the surfaces already built.
    item.Transparent = true;
    back.Fill(0);
    item.SetTransparentColor(0x030201);
    item.Draw(back, 0, 0, 0);
    EXPECT_EQ(back.Pixel(0, 0), kKey);
    EXPECT_EQ(back.Pixel(1, 0), 0u);
}

TEST(ImageListDraw, ClippingKeepsPixelsInRegister) {
    Fixture f;
    auto& item = f.Load(test::OneItemFile(GradientPicture(30, 15), 15, 15));
    Surface& back = f.surface.BackBuffer();
    back.Fill(0);
    item.Draw(back, -5, -3, 1);  // cell x 15..29, left 5 and top 3 off the edge
    EXPECT_EQ(back.Pixel(0, 0), PixelFromRgb(20, 3, 1));
    EXPECT_EQ(back.Pixel(9, 11), PixelFromRgb(29, 14, 1));
    EXPECT_EQ(back.Pixel(10, 0), 0u);
    EXPECT_EQ(back.Pixel(0, 12), 0u);

    item.Draw(back, 390, 290, 0);  // right and bottom edges
    EXPECT_EQ(back.Pixel(399, 299), PixelFromRgb(9, 9, 1));
    EXPECT_EQ(back.Pixel(389, 290), 0u);

    back.Fill(0);
    for (int x : {400, 401, -15, -16, INT32_MIN, INT32_MAX}) item.Draw(back, x, 0, 0);
    item.Draw(back, 0, 0, -1);
    item.Draw(back, 0, 0, 2);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) ASSERT_EQ(back.Pixel(x, y), 0u) << x << ',' << y;
    }
}

TEST(ImageListLifecycle, DrawableOnlyBetweenRestoreAndFinalize) {
    DrawingSurface surface;
    ImageList list;
    list.SetDXDraw(&surface);
    list.Items.LoadFromStream(test::OneItemFile(GradientPicture(15, 15), 0, 0));
    auto& item = list.Items[0];
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.PatternCount(), 0);

    surface.Initialize();  // initialize, then restore: drawable now
    ASSERT_EQ(item.PatternCount(), 1);
    item.Draw(surface.BackBuffer(), 0, 0, 0);
    EXPECT_EQ(surface.BackBuffer().Pixel(3, 4), PixelFromRgb(3, 4, 1));

    surface.Restore();  // rebuilds the same pattern
    EXPECT_EQ(item.PatternCount(), 1);

    surface.Finalize();
    EXPECT_FALSE(item.Initialized());
    EXPECT_TRUE(item.Surfaces().empty());
    EXPECT_FALSE(list.Items.Initialized());

    // A load while the surface is up is drawable at once.
    surface.Initialize();
    list.Items.LoadFromStream(test::OneItemFile(GradientPicture(15, 15), 0, 0));
    EXPECT_EQ(list.Items[0].PatternCount(), 1);
}

TEST(ImageListLifecycle, FailedLoadLeavesItemsUninitialized) {
    DrawingSurface surface;
    surface.Initialize();
    ImageList list;
    list.SetDXDraw(&surface);
    auto file = test::OneItemFile(GradientPicture(15, 15), 0, 0);
    file.pop_back();  // no "no child objects" byte
    EXPECT_THROW(list.Items.LoadFromStream(file), StreamError);
    ASSERT_EQ(list.Items.Count(), 1);
    EXPECT_FALSE(list.Items[0].Initialized());
    EXPECT_EQ(list.Items[0].PatternCount(), 0);
    list.Items[0].Draw(surface.BackBuffer(), 0, 0, 0);
    EXPECT_EQ(surface.BackBuffer().Pixel(1, 1), 0u);
    surface.Restore();  // a restore builds what the load left
    EXPECT_EQ(list.Items[0].PatternCount(), 1);
}

// A run-length DIB of 2048 × 1024 pixels in a few bytes: the largest picture allowed.
std::vector<uint8_t> HugeRlePicture() {
    std::vector<uint8_t> dib;
    for (uint32_t v : {40u, 2048u, 1024u}) test::Append32(dib, v);
    test::Append16(dib, 1);
    test::Append16(dib, 8);
    for (uint32_t v : {1u, 2u, 0u, 0u, 1u, 0u}) test::Append32(dib, v);  // RLE8, one colour
    test::Append(dib, {0, 0, 0, 0, 0, 1});  // palette entry, end of picture
    return PictureDataFromDib(dib);
}

TEST(ImageListLifecycle, PicturesBeyondTheFilesPixelBudgetAreRefusedAndTheListKeepsItsItems) {
    Fixture f;
    f.Load(test::OneItemFile(GradientPicture(15, 15), 0, 0));
    const auto huge = HugeRlePicture();
    const auto file = test::ImageListFile([&](ObjectStreamWriter& w) {
        for (int i = 0; i < 9; ++i) {
            w.BeginItem();
            w.Name("Picture.Data");
            w.Binary(huge);
            w.End();
        }
    });
    ASSERT_LT(file.size(), 2000u);  // a 1 KB colour table and nine tiny pictures
    try {
        f.list.Items.LoadFromStream(file);
        FAIL() << "nine pictures of two million pixels were taken";
    } catch (const StreamError& e) {
        EXPECT_STREQ(e.what(), "DIB is invalid");
    }
    ASSERT_EQ(f.list.Items.Count(), 1);
    EXPECT_EQ(f.list.Items[0].Width(), 15);
    f.list.Items[0].Draw(f.surface.BackBuffer(), 0, 0, 0);
    EXPECT_EQ(f.surface.BackBuffer().Pixel(3, 2), PixelFromRgb(3, 2, 1));
}

struct Recorder : SurfaceListener {
    Recorder(std::vector<std::pair<int, SurfaceNotification>>* l, int i) : log(l), id(i) {}
    std::vector<std::pair<int, SurfaceNotification>>* log;
    int id;
    void SurfaceNotify(DrawingSurface&, SurfaceNotification what) override {
        log->push_back({id, what});
    }
};

TEST(DrawingSurfaceNotifications, OrderAndMostRecentFirst) {
    using N = SurfaceNotification;
    std::vector<std::pair<int, N>> log;
    Recorder a(&log, 1), b(&log, 2);
    {
        DrawingSurface surface;
        surface.AddListener(&a);
        surface.AddListener(&b);
        EXPECT_EQ(log, (decltype(log){{1, N::SurfaceSize}, {2, N::SurfaceSize}}));
        log.clear();
        surface.Initialize();
        EXPECT_EQ(log, (decltype(log){{2, N::Initializing},
                                      {1, N::Initializing},
                                      {2, N::SurfaceSize},
                                      {1, N::SurfaceSize},
                                      {2, N::Initialize},
                                      {1, N::Initialize},
                                      {2, N::InitializeSurface},
                                      {1, N::InitializeSurface},
                                      {2, N::Restore},
                                      {1, N::Restore}}));
        log.clear();
        surface.RemoveListener(&a);
        EXPECT_EQ(log, (decltype(log){{1, N::FinalizeSurface}, {1, N::Finalize}}));
        log.clear();
        surface.AddListener(&a);
        EXPECT_EQ(log, (decltype(log){{1, N::SurfaceSize},
                                      {1, N::Initialize},
                                      {1, N::InitializeSurface},
                                      {1, N::Restore}}));
        log.clear();
    }
    EXPECT_EQ(log, (decltype(log){{1, N::FinalizeSurface},
                                  {2, N::FinalizeSurface},
                                  {1, N::Finalize},
                                  {2, N::Finalize},
                                  {1, N::Destroying},
                                  {2, N::Destroying}}));
}

TEST(DrawingSurfaceNotifications, ImageListUnlinksWhenTheSurfaceGoes) {
    auto surface = std::make_unique<DrawingSurface>();
    ImageList list;
    list.SetDXDraw(surface.get());
    surface->Initialize();
    surface.reset();
    EXPECT_EQ(list.DXDraw(), nullptr);
    EXPECT_FALSE(list.Items.Initialized());
}

}  // namespace
}  // namespace pabuko
