#include "core/Playfield.h"

#include <string>

#include "assets/ImageList.h"
#include "core/ScreenLayout.h"
#include "display/Surface.h"

namespace pabuko {

namespace {

enum GameImage {
    imgBackground = 0,
    imgLife = 1,
    imgLetters = 2,
    imgSpecials = 3,
    imgBarrier = 4,
    imgLeftPicture = 5
};

void DrawItem(ImageList& images, int item, Surface& dest, int x, int y, int pattern) {
    // A skin with fewer items (a damaged file) simply lacks those pictures.
    if (item >= images.Items.Count()) return;
    images.Items[item].Draw(dest, x, y, pattern);
}

// Letters as item 2, special tiles as item 3; 0 and codes above 38 draw nothing visible.
void DrawTile(ImageList& images, Surface& dest, int x, int y, uint8_t code) {
    if (code == TileEmpty) return;
    if (code <= TileZ)
        DrawItem(images, imgLetters, dest, x, y, code - TileA);
    else
        DrawItem(images, imgSpecials, dest, x, y, code - TileExtraLife);
}

}  // namespace

PlayfieldView PlayfieldView::Of(const GameState& s) {
    PlayfieldView v;
    v.Well = s.Well;
    v.LeftStack = s.LeftStack;
    v.RightStack = s.RightStack;
    v.LeftStackFull = s.LeftStackFull;
    v.RightStackFull = s.RightStackFull;
    v.TargetWord = s.TargetWord;
    v.WordLength = s.WordLength;
    v.Score = s.Score;
    v.TopScore = s.TopScore;
    v.TilesLeft = s.TilesLeft;
    v.Level = s.Level;
    v.Lives = s.Lives;
    return v;
}

void DrawPlayfield(const GameState& s, ImageList& images, Surface& dest, TextCanvas* text) {
    DrawPlayfield(PlayfieldView::Of(s), images, dest, text);
}

void DrawPlayfield(const PlayfieldView& s, ImageList& images, Surface& dest, TextCanvas* text) {
    using namespace layout;
    const int x0 = PlayableX(s.WordLength);
    DrawItem(images, imgBackground, dest, 0, 0, 0);
    DrawItem(images, imgLeftPicture, dest, LeftPictureX(s.WordLength), 0, 0);
    if (s.LeftStackFull)
        DrawItem(images, imgBarrier, dest, LeftBarrierX(s.WordLength), kBarrierY, 0);
    if (s.RightStackFull) DrawItem(images, imgBarrier, dest, kRightBarrierX, kBarrierY, 0);

    if (text) {
        text->Font.name = "Arial";
        text->Font.size = 12;
        text->Font.bold = true;
        text->Font.color = 0x800000;  // navy
        text->BrushClear = true;
        auto counter = [&](Point at, int value) {
            text->TextOut(at.x, at.y, std::to_string(value));
        };
        counter(kScoreAt, s.Score);
        counter(kTilesLeftAt, s.TilesLeft);
        counter(kLevelAt, s.Level);
        counter(kTopScoreAt, s.TopScore);
        text->Release();
    }

    for (int k = 0; k < s.Lives; ++k)
        DrawItem(images, imgLife, dest, kLivesAt.x + kLifeStep * k, kLivesAt.y, 0);

    // A space (or any non-letter) is a pattern out of range: a blank cell.
    for (int i = 0; i < s.WordLength && i < static_cast<int>(s.TargetWord.size()); ++i)
        DrawItem(images, imgLetters, dest, x0 + kCellSize * i, kWordY,
                 static_cast<unsigned char>(s.TargetWord[i]) - 65);

    for (int c = 0; c < kWellColumns; ++c)
        for (int r = 0; r < kWellRows; ++r)
            if (s.Well[c][r] != TileEmpty)
                DrawItem(images, imgLetters, dest, WellX(c), WellY(r), s.Well[c][r] - 1);

    for (int slot = 0; slot < kStackSlots; ++slot) {
        DrawTile(images, dest, LeftStackX(s.WordLength), StackY(slot), s.LeftStack[slot]);
        DrawTile(images, dest, kRightStackX, StackY(slot), s.RightStack[slot]);
    }
}

void DrawFallingTile(const GameState& s, ImageList& images, Surface& dest) {
    DrawTile(images, dest, layout::WellX(s.Falling.Column), layout::WellY(s.Falling.Row),
             s.Falling.Code);
}

bool FrameDrawer::Finish(const GameState& state, ImageList& images, DrawingSurface& surface) {
    if (state.Level == 0) {
        shown_ = false;
        return false;
    }
    if (shown_ && before_ == shownView_ && state.Falling == shownTile_) return false;
    Surface& back = surface.BackBuffer();
    DrawPlayfield(before_, images, back, surface.Canvas());
    DrawFallingTile(state, images, back);
    surface.Flip();
    shownView_ = before_;
    shownTile_ = state.Falling;
    shown_ = true;
    return true;
}

}  // namespace pabuko
