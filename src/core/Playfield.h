#pragma once
// Drawing the playfield of one frame onto the back buffer from the game state.
#include <array>
#include <cstdint>
#include <string>

#include "core/GameState.h"

namespace pabuko {

class DrawingSurface;
class ImageList;
class Surface;
class TextCanvas;

// Everything of the game state that the playfield picture shows: equal views draw the
// same pixels with the same pictures.
struct PlayfieldView {
    std::array<std::array<uint8_t, kWellRows>, kWellColumns> Well{};
    std::array<uint8_t, kStackSlots> LeftStack{};
    std::array<uint8_t, kStackSlots> RightStack{};
    bool LeftStackFull = false;
    bool RightStackFull = false;
    std::string TargetWord;
    uint8_t WordLength = 0;
    int32_t Score = 0;
    int32_t TopScore = 0;
    uint16_t TilesLeft = 0;
    uint8_t Level = 0;
    uint8_t Lives = 0;

    static PlayfieldView Of(const GameState& s);
    bool operator==(const PlayfieldView&) const = default;
};

// Background, picture left of the well, stack barriers, counters (on the canvas, which
// is released afterwards), lives, the target word, the well and the side stacks.
// `text` may be null: the counters are then left out.
void DrawPlayfield(const PlayfieldView& view, ImageList& images, Surface& dest, TextCanvas* text);
void DrawPlayfield(const GameState& state, ImageList& images, Surface& dest, TextCanvas* text);
// The falling tile at its cell; the last drawing of a frame before Flip.
void DrawFallingTile(const GameState& state, ImageList& images, Surface& dest);

// The drawing of the frame step. A frame shows the playfield as it was before the step's
// steering and fall, and the falling tile as it is after them. Most ticks change neither
// (the tile falls a row every few hundred milliseconds): those draw and present nothing.
class FrameDrawer {
  public:
    // Before the step: remembers the playfield the frame will show.
    void Begin(const GameState& state) { before_ = PlayfieldView::Of(state); }
    // After the step: draws, flips and returns true unless the screen already shows this
    // frame. Nothing while no game runs (a game that ended in the step has blanked it).
    bool Finish(const GameState& state, ImageList& images, DrawingSurface& surface);
    // The screen no longer shows the last frame drawn (new pictures, a blanked playfield).
    void Invalidate() { shown_ = false; }

  private:
    PlayfieldView before_;
    PlayfieldView shownView_;
    FallingTile shownTile_;
    bool shown_ = false;
};

}  // namespace pabuko
