#pragma once
// The special tiles, codes 27-38: what each does when it lands in the well, what it does while
// it lies in a side stack, how the skins picture it, and how often the spawn draws it. The
// rules and the art take a special tile's behaviour from this table alone.
#include <array>
#include <cstdint>

#include "core/GameHost.h"
#include "core/GameState.h"
#include "core/LevelTable.h"

namespace pabuko {

// What a special tile does when it lands in the well.
enum class Landing : uint8_t {
    Vanish,          // nothing: it counts only when stacked
    RemoveBelow,     // removes up to `Removes` tiles under it and pays the level's `RemoveScore`
    ClearColumn,     // empties its column's pile and pays the level's ColumnScore
    DeleteRowLeft,   // deletes its row from the left wall to itself; what lies above drops
    DeleteRowRight,  // the same from itself to the right wall
};

// What a special tile does while it lies in a side stack.
enum class InStack : uint8_t {
    Nothing,
    ExtraLife,     // a life more (up to five) when the level is won
    Pays,          // pays the level's `StackScore` when the level is won
    SlowsDown,     // each one makes the fall as slow as one level earlier
    EmptiesStack,  // empties the stack it is pushed into
};

// The symbol the skins paint on the tile's face.
enum class TileSymbol : uint8_t {
    Heart,
    DownArrows,  // one arrow for each tile it removes
    Bolt,
    Hourglass,
    RowArrow,  // points at the wall the row is deleted to
    SilverCoins,
    GoldCoins,
    CopperCoin,
    Whirl,
};

struct SpecialTile {
    TileCode Code = TileEmpty;
    Landing OnLanding = Landing::Vanish;
    int LandingWave = WaveLanding;  // the landing's sound; a tile that vanishes makes none
    uint8_t Removes = 0;
    uint8_t TLevel::*RemoveScore = nullptr;
    InStack Stacked = InStack::Nothing;
    uint16_t TLevel::*StackScore = nullptr;
    TileSymbol Symbol = TileSymbol::Heart;
    uint32_t Face = 0x606C9C;  // the face colour, 0xRRGGBB; slate for the bonus tiles
};

inline constexpr std::array<SpecialTile, 12> kSpecialTiles{{
    {.Code = TileExtraLife,
     .Stacked = InStack::ExtraLife,
     .Symbol = TileSymbol::Heart,
     .Face = 0xD63A68},
    {.Code = TileRemove1,
     .OnLanding = Landing::RemoveBelow,
     .LandingWave = WaveClear,
     .Removes = 1,
     .RemoveScore = &TLevel::Remove1Score,
     .Symbol = TileSymbol::DownArrows,
     .Face = 0xE87626},
    {.Code = TileRemove2,
     .OnLanding = Landing::RemoveBelow,
     .LandingWave = WaveRemove2,
     .Removes = 2,
     .RemoveScore = &TLevel::Remove2Score,
     .Symbol = TileSymbol::DownArrows,
     .Face = 0xE87626},
    {.Code = TileRemove3,
     .OnLanding = Landing::RemoveBelow,
     .LandingWave = WaveRemove3,
     .Removes = 3,
     .RemoveScore = &TLevel::Remove3Score,
     .Symbol = TileSymbol::DownArrows,
     .Face = 0xE87626},
    {.Code = TileClearColumn,
     .OnLanding = Landing::ClearColumn,
     .LandingWave = WaveClearColumn,
     .Symbol = TileSymbol::Bolt,
     .Face = 0x2E76DE},
    {.Code = TileSlowDown,
     .Stacked = InStack::SlowsDown,
     .Symbol = TileSymbol::Hourglass,
     .Face = 0x38A054},
    {.Code = TileDeleteRowLeft,
     .OnLanding = Landing::DeleteRowLeft,
     .LandingWave = WaveDeleteRow,
     .Symbol = TileSymbol::RowArrow,
     .Face = 0x8A4ED0},
    {.Code = TileDeleteRowRight,
     .OnLanding = Landing::DeleteRowRight,
     .LandingWave = WaveDeleteRow,
     .Symbol = TileSymbol::RowArrow,
     .Face = 0x8A4ED0},
    {.Code = TileSilverCoins,
     .Stacked = InStack::Pays,
     .StackScore = &TLevel::Stacked35Score,
     .Symbol = TileSymbol::SilverCoins},
    {.Code = TileGoldCoins,
     .Stacked = InStack::Pays,
     .StackScore = &TLevel::Stacked36Score,
     .Symbol = TileSymbol::GoldCoins},
    {.Code = TileCopperCoin,
     .Stacked = InStack::Pays,
     .StackScore = &TLevel::Stacked37Score,
     .Symbol = TileSymbol::CopperCoin},
    // Lands as a column clearer; pushed into a stack, it swallows the whole stack.
    {.Code = TileEmptyStack,
     .OnLanding = Landing::ClearColumn,
     .LandingWave = WaveClearColumn,
     .Stacked = InStack::EmptiesStack,
     .Symbol = TileSymbol::Whirl,
     .Face = 0x189C96},
}};

// The entry of special tile `code`; null for an empty cell, a letter or a code past 38.
constexpr const SpecialTile* FindSpecialTile(uint8_t code) {
    const unsigned index = static_cast<unsigned>(code) - TileExtraLife;
    return code >= TileExtraLife && index < kSpecialTiles.size() ? &kSpecialTiles[index] : nullptr;
}

constexpr bool IsStacked(uint8_t code, InStack what) {
    const SpecialTile* tile = FindSpecialTile(code);
    return tile && tile->Stacked == what;
}

constexpr bool DeletesRow(uint8_t code) {
    const SpecialTile* tile = FindSpecialTile(code);
    return tile && (tile->OnLanding == Landing::DeleteRowLeft ||
                    tile->OnLanding == Landing::DeleteRowRight);
}

// How the spawn picks a special tile, once it has drawn one (one tile in ten): Random(20)
// chooses the first line whose `UpTo` it does not exceed, and a line of several tiles draws
// one of them evenly. Each line's comment gives the chance of each of its tiles among all
// the tiles that fall.
struct SpecialDraw {
    uint8_t UpTo = 0;
    uint8_t Count = 0;
    std::array<TileCode, 5> Codes{};
};
inline constexpr uint32_t kSpecialDrawRange = 20;
inline constexpr SpecialDraw kSpecialDraws[] = {
    // 0.8 % each
    {7, 5, {TileExtraLife, TileSilverCoins, TileGoldCoins, TileCopperCoin, TileSlowDown}},
    {11, 2, {TileRemove1, TileDeleteRowLeft}},   // 1 % each
    {14, 1, {TileRemove3}},                      // 1.5 %
    {16, 1, {TileClearColumn}},                  // 1 %
    {18, 2, {TileRemove2, TileDeleteRowRight}},  // 0.5 % each
    {19, 1, {TileEmptyStack}},                   // 0.5 %
};

namespace detail {
// The tables' own rules: tiles in code order, each with its score, and draws covering
// Random(20). Checked by the spawning tests (GCC's undefined-behaviour sanitizer cannot
// compare member pointers in a constant expression, so this is no static_assert).
constexpr bool SpecialTablesHold() {
    for (unsigned i = 0; i < kSpecialTiles.size(); ++i)
        if (kSpecialTiles[i].Code != TileExtraLife + i) return false;
    for (const SpecialTile& tile : kSpecialTiles) {
        if ((tile.OnLanding == Landing::RemoveBelow) != (tile.RemoveScore != nullptr)) return false;
        if ((tile.Stacked == InStack::Pays) != (tile.StackScore != nullptr)) return false;
    }
    unsigned last = 0;
    for (const SpecialDraw& line : kSpecialDraws) {
        if (line.UpTo < last || line.Count < 1 || line.Count > line.Codes.size()) return false;
        for (unsigned i = 0; i < line.Count; ++i)
            if (!FindSpecialTile(line.Codes[i])) return false;
        last = line.UpTo;
    }
    return last == kSpecialDrawRange - 1;
}
}  // namespace detail

}  // namespace pabuko
