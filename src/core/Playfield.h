#pragma once
// Drawing the playfield of one frame onto the back buffer from the game state.
#include "core/GameState.h"

namespace pabuko {

class ImageList;
class Surface;
class TextCanvas;

// Pixel positions of the playfield.
namespace playfield {
constexpr int CellSize = 15;
constexpr int WellX(int column) {
    return CellSize * column + 42;
}
constexpr int WellY(int row) {
    return CellSize * row;
}
// x of the first playable column.
constexpr int PlayableX(int wordLength) {
    return 222 - CellSize * wordLength;
}
constexpr int RightStackX = 233;
constexpr int StackY(int slot) {
    return 226 - CellSize * slot;
}
constexpr int WordY = 275;
}  // namespace playfield

// Background, picture left of the well, stack barriers, counters (on the canvas, which
// is released afterwards), lives, the target word, the well and the side stacks.
// `text` may be null: the counters are then left out.
void DrawPlayfield(const GameState& state, ImageList& images, Surface& dest, TextCanvas* text);
// The falling tile at its cell; the last drawing of a frame before Flip.
void DrawFallingTile(const GameState& state, ImageList& images, Surface& dest);

}  // namespace pabuko
