#pragma once
// The one set of variables that describes a running game.
#include <array>
#include <cstdint>
#include <string>

#include "core/LevelTable.h"

namespace pabuko {

constexpr int kWellColumns = 12;
constexpr int kWellRows = 18;
constexpr int kStackSlots = 9;

// Tile codes: 0 empty, 1–26 the letters A–Z, 27–38 special tiles (core/TileTable.h says
// what each of them does).
enum TileCode : uint8_t {
    TileEmpty = 0,
    TileA = 1,  // the letters run A = 1 … Z = 26
    TileZ = 26,
    TileExtraLife = 27,
    TileRemove1 = 28,
    TileRemove2 = 29,
    TileRemove3 = 30,
    TileClearColumn = 31,
    TileSlowDown = 32,
    TileDeleteRowLeft = 33,
    TileDeleteRowRight = 34,
    TileSilverCoins = 35,
    TileGoldCoins = 36,
    TileCopperCoin = 37,
    TileEmptyStack = 38,
};

struct FallingTile {
    uint8_t Code = 0;
    int8_t Column = 0;  // may lie outside the playable columns for one frame step
    uint8_t Row = 0;
    bool operator==(const FallingTile&) const = default;
};

struct GameState {
    // Well[column][row]; column 0 leftmost, row 0 the top.
    std::array<std::array<uint8_t, kWellRows>, kWellColumns> Well{};
    std::array<uint8_t, kStackSlots> LeftStack{};  // slot 0 is the bottom
    std::array<uint8_t, kStackSlots> RightStack{};
    bool LeftStackFull = false;
    bool RightStackFull = false;

    std::string TargetWord;
    uint8_t WordLength = 0;
    int32_t Score = 0;
    int32_t TopScore = 0;
    uint16_t TilesLeft = 0;
    uint8_t Level = 0;  // 0 = no game
    uint8_t Lives = 0;
    uint16_t BaseDelay = 0;
    uint16_t FallDelay = 0;
    int64_t LastStepTime = 0;  // monotonic milliseconds
    FallingTile Falling;
    bool InputFrame = false;

    LevelTable Levels;

    uint32_t RandSeed = 0;
};

}  // namespace pabuko
