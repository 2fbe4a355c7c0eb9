#include <gtest/gtest.h>

#include <QGuiApplication>

#include "assets/Picture.h"
#include "display/SurfaceCanvas.h"

namespace pabuko {
namespace {

QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "display_canvas_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

constexpr uint32_t kWhite = PixelFromRgb(255, 255, 255);

TEST(SurfaceCanvas, PointSizesAreTakenAt96Dpi) {
    EXPECT_EQ(SurfaceCanvas::PixelSize(12), 16);
    EXPECT_EQ(SurfaceCanvas::PixelSize(8), 11);
    EXPECT_EQ(SurfaceCanvas::PixelSize(9), 12);
}

TEST(SurfaceCanvas, TextLandsInTheBackBufferInItsBox) {
    App();
    DrawingSurface surface;
    surface.SetCanvasFactory(MakeSurfaceCanvas);
    surface.Initialize();
    Surface& back = surface.BackBuffer();
    back.Fill(kWhite);

    TextCanvas* canvas = surface.Canvas();
    ASSERT_NE(canvas, nullptr);
    canvas->Font.name = "Arial";
    canvas->Font.size = 12;
    canvas->Font.bold = true;
    canvas->Font.color = 0x800000;  // navy
    canvas->BrushClear = true;
    canvas->TextOut(277, 124, "1234");
    canvas->Release();

    int changed = 0;
    uint32_t darkest = kWhite;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            const uint32_t p = back.Pixel(x, y) | 0xFF000000u;
            if (p == kWhite) continue;
            // Nothing outside the text's cell: 4 digits of a 16-pixel font.
            ASSERT_TRUE(x >= 277 && x < 277 + 45 && y >= 124 && y < 124 + 20) << x << ',' << y;
            ++changed;
            if ((p & 0xFF) + ((p >> 8) & 0xFF) < (darkest & 0xFF) + ((darkest >> 8) & 0xFF)) {
                darkest = p;
            }
        }
    }
    EXPECT_GT(changed, 40);
    // The strokes are navy: no red or green, half blue.
    EXPECT_EQ(darkest & 0xFFFF00u, 0u);
    EXPECT_EQ(darkest & 0xFFu, 0x80u);
}

TEST(SurfaceCanvas, SolidBrushFillsTheCell) {
    App();
    Surface back(100, 40);
    back.Fill(kWhite);
    SurfaceCanvas canvas(back);
    canvas.Font.size = 8;
    canvas.BrushClear = false;
    canvas.BrushColor = 0x0000FF;  // red
    canvas.TextOut(10, 5,
                   "\xC8"
                   "as");  // "Čas" in Windows-1250
    canvas.Release();
    EXPECT_EQ(back.Pixel(10, 5) | 0xFF000000u, PixelFromRgb(255, 0, 0));
    EXPECT_EQ(back.Pixel(9, 5) | 0xFF000000u, kWhite);
    EXPECT_EQ(back.Pixel(10, 4) | 0xFF000000u, kWhite);
}

}  // namespace
}  // namespace pabuko
