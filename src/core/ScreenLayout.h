#pragma once
// Where everything stands on the screen: the well, the side stacks, the counters, the target
// word and the LED line. The playfield drawing, the main window and the skins' art all place
// their parts from here, so a counter moves by editing one line.
#include "core/GameState.h"

namespace pabuko::layout {

struct Point {
    int x = 0;
    int y = 0;
};

// The playfield picture: one skin's background fills it.
constexpr int kScreenWidth = 400;
constexpr int kScreenHeight = 300;

// --- the well ---
constexpr int kCellSize = 15;
constexpr int kWellLeft = 42;
constexpr int kWellRight = kWellLeft + kCellSize * kWellColumns - 1;  // last pixel of column 11
constexpr int kWellBottom = kCellSize * kWellRows - 1;
constexpr int WellX(int column) {
    return kWellLeft + kCellSize * column;
}
constexpr int WellY(int row) {
    return kCellSize * row;
}
// x of the first playable column: the word fills the columns up to the right wall.
constexpr int PlayableX(int wordLength) {
    return kWellRight + 1 - kCellSize * wordLength;
}

// --- the side stacks ---
// A stack stands in a pillar beside the well: a wall, the stack's glass tube a cell wide and
// an outer frame. The mouth of the tube opens into the well at rows 4 and 5.
constexpr int kPillarWidth = 32;
constexpr int kPillarWall = 11;
constexpr int kMouthTop = WellY(4);
constexpr int kMouthBottom = WellY(6) - 1;
// The left stack's pillar ends at the first playable column, the right one starts at the wall.
constexpr int LeftStackX(int wordLength) {
    return PlayableX(wordLength) - kPillarWall - kCellSize;
}
constexpr int kRightStackX = kWellRight + 1 + kPillarWall;
constexpr int kSlotBottom = 240;  // last pixel of slot 0, the bottom one
constexpr int StackY(int slot) {
    return kSlotBottom + 1 - kCellSize * (slot + 1);
}
// The barrier that closes a full stack's mouth, in the wall between the well and the tube.
constexpr int LeftBarrierX(int wordLength) {
    return PlayableX(wordLength) - 10;
}
constexpr int kRightBarrierX = kWellRight;
constexpr int kBarrierY = kMouthTop;

// --- under the well and beside it ---
constexpr int kWordY = kWellBottom + 6;  // the target word's row of cells
// The picture left of the playable columns, drawn at PlayableX - its width; its right edge
// carries the left stack's pillar.
constexpr int kLeftPictureWidth = 160;
constexpr int LeftPictureX(int wordLength) {
    return PlayableX(wordLength) - kLeftPictureWidth;
}
// The counter panel right of the right pillar.
constexpr int kPanelLeft = kWellRight + 1 + kPillarWidth;

// --- the counters: where each number's text starts ---
constexpr Point kScoreAt{277, 124};
constexpr Point kTilesLeftAt{277, 164};
constexpr Point kLivesAt{275, 200};  // the first life; the next ones follow to the right
constexpr int kLifeStep = 22;
constexpr Point kLevelAt{326, 220};
constexpr Point kTopScoreAt{277, 261};

// --- the window: the playfield, and the LED line in a band under it ---
// The playfield grows with the window's scale; the LED line keeps its size and stays under
// the middle of the playfield.
constexpr int kLedBand = 30;
constexpr Point kLedLineAt{9, kScreenHeight + 4};
constexpr int ClientWidth(int scale) {
    return kScreenWidth * scale;
}
constexpr int ClientHeight(int scale) {
    return kScreenHeight * scale + kLedBand;
}
constexpr Point LedLineAt(int scale) {
    return {kLedLineAt.x + kScreenWidth / 2 * (scale - 1),
            kLedLineAt.y + kScreenHeight * (scale - 1)};
}

}  // namespace pabuko::layout
