#include <algorithm>

#include "core/Game.h"
#include "core/TileTable.h"

namespace pabuko {

namespace {

constexpr uint8_t Letter(char c) {
    return static_cast<uint8_t>(c - 'A' + 1);
}

constexpr uint8_t kVowels[] = {Letter('A'), Letter('E'), Letter('I'),
                               Letter('O'), Letter('U'), Letter('Y')};
constexpr uint8_t kCommonConsonants[] = {Letter('T'), Letter('K'), Letter('L'),
                                         Letter('V'), Letter('N'), Letter('M')};
constexpr uint8_t kUsualConsonants[] = {Letter('R'), Letter('S'), Letter('D'), Letter('P'),
                                        Letter('J'), Letter('C'), Letter('B'), Letter('Z')};
constexpr uint8_t kRareConsonants[] = {Letter('Q'), Letter('W'), Letter('F'),
                                       Letter('G'), Letter('H'), Letter('X')};

}  // namespace

// The chance of each tile among all the tiles that fall:
//   vowels              3/10                 = 30 %, 5 % each
//   common consonants   6/10 * 5/10          = 30 %, 5 % each
//   usual consonants    6/10 * 3/10          = 18 %, 2.25 % each
//   rare consonants     6/10 * 2/10          = 12 %, 2 % each
//   special tiles       1/10                 = 10 %, each as kSpecialDraws says
uint8_t Game::DrawCode() {
    const uint32_t group = Random(10);
    if (group <= 2) {
        return kVowels[Random(6)];
    } else if (group <= 8) {
        const uint32_t kind = Random(10);
        if (kind <= 4) {
            return kCommonConsonants[Random(6)];
        } else if (kind <= 7) {
            return kUsualConsonants[Random(8)];
        } else {
            return kRareConsonants[Random(6)];
        }
    } else {
        const uint32_t kind = Random(kSpecialDrawRange);
        for (const SpecialDraw& line : kSpecialDraws) {
            if (kind > line.UpTo) continue;
            return line.Count == 1 ? line.Codes[0] : line.Codes[Random(line.Count)];
        }
        return TileEmpty;  // not reached: the last line takes every kind left
    }
}

void Game::SpawnTile() {
    GameState& s = state_;

    // Stacked slow-down tiles make the fall as slow as that many levels earlier.
    auto slowsDown = [](uint8_t code) { return IsStacked(code, InStack::SlowsDown); };
    const auto slowDowns = std::count_if(s.LeftStack.begin(), s.LeftStack.end(), slowsDown) +
                           std::count_if(s.RightStack.begin(), s.RightStack.end(), slowsDown);
    if (slowDowns < 4 && s.Level > 3) {
        s.BaseDelay = LevelRecord(s.Level - static_cast<int>(slowDowns)).RowDelay;
    }

    s.RandSeed = seeds_.NextSeed();
    if (s.TilesLeft == 0) return;

    const auto forced = seeds_.ForcedCode();
    const uint8_t code = forced ? *forced : DrawCode();

    const int width = PlayWidth();
    s.Falling.Code = code;
    s.Falling.Column = static_cast<int8_t>(kWellColumns - width + width / 2);
    s.Falling.Row = 0;
    s.TilesLeft -= 1;
    AddScore(CurrentRecord().SpawnScore);
}

}  // namespace pabuko
