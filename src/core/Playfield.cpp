#include "core/Playfield.h"

#include <string>

#include "assets/ImageList.h"
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
    using namespace playfield;
    const int x0 = PlayableX(s.WordLength);
    DrawItem(images, imgBackground, dest, 0, 0, 0);
    DrawItem(images, imgLeftPicture, dest, x0 - 160, 0, 0);
    if (s.LeftStackFull) DrawItem(images, imgBarrier, dest, x0 - 10, 60, 0);
    if (s.RightStackFull) DrawItem(images, imgBarrier, dest, 221, 60, 0);

    if (text) {
        text->Font.name = "Arial";
        text->Font.size = 12;
        text->Font.bold = true;
        text->Font.color = 0x800000;  // navy
        text->BrushClear = true;
        text->TextOut(277, 124, std::to_string(s.Score));
        text->TextOut(277, 164, std::to_string(s.TilesLeft));
        text->TextOut(326, 220, std::to_string(s.Level));
        text->TextOut(277, 261, std::to_string(s.TopScore));
        text->Release();
    }

    for (int k = 0; k < s.Lives; ++k) DrawItem(images, imgLife, dest, 275 + 22 * k, 200, 0);

    // A space (or any non-letter) is a pattern out of range: a blank cell.
    for (int i = 0; i < s.WordLength && i < static_cast<int>(s.TargetWord.size()); ++i)
        DrawItem(images, imgLetters, dest, x0 + CellSize * i, WordY,
                 static_cast<unsigned char>(s.TargetWord[i]) - 65);

    for (int c = 0; c < WellColumns; ++c)
        for (int r = 0; r < WellRows; ++r)
            if (s.Well[c][r] != TileEmpty)
                DrawItem(images, imgLetters, dest, WellX(c), WellY(r), s.Well[c][r] - 1);

    for (int slot = 0; slot < StackSlots; ++slot) {
        DrawTile(images, dest, x0 - 26, StackY(slot), s.LeftStack[slot]);
        DrawTile(images, dest, RightStackX, StackY(slot), s.RightStack[slot]);
    }
}

void DrawFallingTile(const GameState& s, ImageList& images, Surface& dest) {
    DrawTile(images, dest, playfield::WellX(s.Falling.Column), playfield::WellY(s.Falling.Row),
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
