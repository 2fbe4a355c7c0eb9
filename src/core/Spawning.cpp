#include <algorithm>

#include "core/Game.h"

namespace pabuko {

namespace {

constexpr uint8_t Letter(char c) {
    return static_cast<uint8_t>(c - 'A' + 1);
}

constexpr uint8_t Vowels[] = {Letter('A'), Letter('E'), Letter('I'),
                              Letter('O'), Letter('U'), Letter('Y')};
constexpr uint8_t CommonConsonants[] = {Letter('T'), Letter('K'), Letter('L'),
                                        Letter('V'), Letter('N'), Letter('M')};
constexpr uint8_t UsualConsonants[] = {Letter('R'), Letter('S'), Letter('D'), Letter('P'),
                                       Letter('J'), Letter('C'), Letter('B'), Letter('Z')};
constexpr uint8_t RareConsonants[] = {Letter('Q'), Letter('W'), Letter('F'),
                                      Letter('G'), Letter('H'), Letter('X')};
constexpr uint8_t Bonuses[] = {TileExtraLife, TileSilverCoins, TileGoldCoins, TileCopperCoin,
                               TileSlowDown};

}  // namespace

uint8_t Game::DrawCode() {
    const uint32_t group = Random(10);
    if (group <= 2) {
        return Vowels[Random(6)];
    } else if (group <= 8) {
        const uint32_t kind = Random(10);
        if (kind <= 4) {
            return CommonConsonants[Random(6)];
        } else if (kind <= 7) {
            return UsualConsonants[Random(8)];
        } else {
            return RareConsonants[Random(6)];
        }
    } else {
        const uint32_t kind = Random(20);
        if (kind <= 7) {
            return Bonuses[Random(5)];
        } else if (kind <= 11) {
            return Random(2) == 0 ? TileRemove1 : TileDeleteRowLeft;
        } else if (kind <= 14) {
            return TileRemove3;
        } else if (kind <= 16) {
            return TileClearColumn;
        } else if (kind <= 18) {
            return Random(2) == 0 ? TileRemove2 : TileDeleteRowRight;
        } else {
            return TileEmptyStack;
        }
    }
}

void Game::SpawnTile() {
    GameState& s = state_;

    // Stacked slow-down tiles make the fall as slow as that many levels earlier.
    const auto slowDowns = std::count(s.LeftStack.begin(), s.LeftStack.end(), TileSlowDown) +
                           std::count(s.RightStack.begin(), s.RightStack.end(), TileSlowDown);
    if (slowDowns < 4 && s.Level > 3) {
        s.BaseDelay = LevelRecord(s.Level - static_cast<int>(slowDowns)).RowDelay;
    }

    s.RandSeed = seeds_.NextSeed();
    if (s.TilesLeft == 0) return;

    const auto forced = seeds_.ForcedCode();
    const uint8_t code = forced ? *forced : DrawCode();

    const int width = PlayWidth();
    s.Falling.Code = code;
    s.Falling.Column = static_cast<int8_t>(WellColumns - width + width / 2);
    s.Falling.Row = 0;
    s.TilesLeft -= 1;
    AddScore(CurrentRecord().SpawnScore);
}

}  // namespace pabuko
