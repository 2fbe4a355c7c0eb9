// Loading the skin, and drawing a full playfield's worth of patterns onto the back buffer
// (background, the picture left of the well, 216 well cells, 18 stack slots, 12 word
// letters, 5 lives, 2 barriers and the falling tile: 256 draws).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "assets/ImageList.h"

namespace {

using namespace pabuko;

// The built skin when there is one, else a list of the same shape.
std::vector<uint8_t> SkinFile() {
    const std::filesystem::path built =
        std::filesystem::path(PABUKO_BUILD_DIR) / "data/skins/new.qvs";
    if (std::ifstream in{built, std::ios::binary}) {
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    struct Shape {
        int w, h, cell;
    };
    PictureCollection list;
    for (Shape s : {Shape{400, 300, 0}, Shape{20, 20, 0}, Shape{390, 15, 15}, Shape{180, 15, 15},
                    Shape{10, 30, 0}, Shape{160, 300, 0}}) {
        std::vector<uint32_t> px(static_cast<size_t>(s.w) * s.h);
        for (size_t i = 0; i < px.size(); ++i) {
            px[i] = (i % 7 == 0) ? PixelFromRgb(255, 0, 255) : PixelFromRgb(i & 0xFF, 80, 160);
        }
        auto& item = list.Add();
        item.PatternWidth = item.PatternHeight = s.cell;
        item.SetTransparentColor(0xFF00FF);
        item.picture = DecodePictureData(PictureDataFromBmp(EncodeBmpFile(s.w, s.h, px)));
    }
    return list.SaveToStream();
}

void LoadSkin(benchmark::State& state) {
    const auto bytes = SkinFile();
    DrawingSurface surface;
    surface.Initialize();
    ImageList list;
    list.SetDXDraw(&surface);
    for (auto _ : state) {
        list.Items.LoadFromStream(bytes);
        benchmark::DoNotOptimize(list.Items.Count());
    }
}
BENCHMARK(LoadSkin)->Unit(benchmark::kMillisecond);

void DrawPlayfieldPatterns(benchmark::State& state) {
    DrawingSurface surface;
    surface.Initialize();
    ImageList list;
    list.SetDXDraw(&surface);
    list.Items.LoadFromStream(SkinFile());
    Surface& back = surface.BackBuffer();
    auto& items = list.Items;
    for (auto _ : state) {
        items[0].Draw(back, 0, 0, 0);
        items[5].Draw(back, 62 - 15 * 8, 0, 0);
        items[4].Draw(back, 212 - 15 * 8, 60, 0);
        items[4].Draw(back, 221, 60, 0);
        for (int k = 0; k < 5; ++k) items[1].Draw(back, 275 + 22 * k, 200, 0);
        for (int i = 0; i < 12; ++i) items[2].Draw(back, 42 + 15 * i, 275, i);
        for (int c = 0; c < 12; ++c) {
            for (int r = 0; r < 18; ++r) items[2].Draw(back, 15 * c + 42, 15 * r, (c + r) % 26);
        }
        for (int s = 0; s < 9; ++s) {
            items[3].Draw(back, 16, 226 - 15 * s, s);
            items[2].Draw(back, 233, 226 - 15 * s, s);
        }
        items[2].Draw(back, 147, 90, 4);
        benchmark::DoNotOptimize(back.Pixels());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(DrawPlayfieldPatterns)->Unit(benchmark::kMicrosecond);

}  // namespace
