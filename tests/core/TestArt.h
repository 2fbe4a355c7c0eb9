#pragma once
// Small generated image lists: every picture a flat colour that tells where it came from.
#include <cstdint>
#include <vector>

#include "assets/ImageList.h"
#include "assets/Picture.h"

namespace pabuko::testing {

// Colours of the generated skin's pictures.
inline uint32_t BackgroundPixel() {
    return PixelFromRgb(10, 20, 30);
}
inline uint32_t LeftPicturePixel() {
    return PixelFromRgb(40, 40, 40);
}
inline uint32_t LifePixel() {
    return PixelFromRgb(200, 0, 0);
}
inline uint32_t BarrierPixel() {
    return PixelFromRgb(0, 200, 0);
}
// Letter code 1–26, special code 27–38.
inline uint32_t TilePixel(int code) {
    return PixelFromRgb(uint8_t(code * 6), 128, 255);
}

inline Picture FlatPicture(int w, int h, uint32_t (*colour)(int x, int y)) {
    Picture p;
    p.kind = Picture::Kind::Dib;
    p.width = w;
    p.height = h;
    p.pixels.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.pixels[static_cast<size_t>(y) * w + x] = colour(x, y);
    p.data = PictureDataFromDib(EncodeDib(w, h, p.pixels, 24));
    return p;
}

inline void AddItem(PictureCollection& items, Picture picture, int patternW, int patternH) {
    PictureCollectionItem& item = items.Add();
    item.picture = std::move(picture);
    item.PatternWidth = patternW;
    item.PatternHeight = patternH;
    item.Transparent = false;
}

// Items 0–5 as the playfield uses them.
inline void MakeSkin(PictureCollection& items) {
    AddItem(items, FlatPicture(400, 300, [](int, int) { return BackgroundPixel(); }), 0, 0);
    AddItem(items, FlatPicture(20, 20, [](int, int) { return LifePixel(); }), 0, 0);
    AddItem(items, FlatPicture(26 * 15, 15, [](int x, int) { return TilePixel(1 + x / 15); }), 15,
            15);
    AddItem(items, FlatPicture(12 * 15, 15, [](int x, int) { return TilePixel(27 + x / 15); }), 15,
            15);
    AddItem(items, FlatPicture(10, 30, [](int, int) { return BarrierPixel(); }), 0, 0);
    AddItem(items, FlatPicture(160, 300, [](int, int) { return LeftPicturePixel(); }), 0, 0);
}

// Item 0 the title picture, item 1 the top list background.
inline void MakeScreen(PictureCollection& items) {
    AddItem(items, FlatPicture(300, 300, [](int, int) { return PixelFromRgb(1, 2, 3); }), 0, 0);
    AddItem(items, FlatPicture(250, 300, [](int, int) { return PixelFromRgb(250, 250, 240); }), 0,
            0);
}

}  // namespace pabuko::testing
