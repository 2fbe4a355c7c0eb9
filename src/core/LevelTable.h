#pragma once
// The level table: up to 100 levels of the loaded set.
#include <array>
#include <cstdint>
#include <string>

namespace pabuko {

// One level. Texts are Windows-1250 bytes, exactly as stored in the level file.
struct TLevel {
    uint16_t TileCount = 0;
    uint16_t RowDelay = 0;
    std::string Word;
    std::string Question;
    std::string Answer1, Answer2, Answer3, Answer4;
    uint8_t RightAnswer = 0;
    uint16_t QuizScore = 0;
    uint16_t LevelScore = 0;
    int8_t SpawnScore = 0;
    uint8_t SameLetterScore = 0;
    uint8_t PrevLetterScore = 0;
    uint8_t NextLetterScore = 0;
    uint8_t Remove1Score = 0;
    uint8_t Remove2Score = 0;
    uint8_t Remove3Score = 0;
    int8_t ColumnScore = 0;
    uint16_t Stacked36Score = 0;
    uint16_t Stacked35Score = 0;
    uint16_t Stacked37Score = 0;
};

constexpr int kMaxLevels = 100;

// Levels[1] … Levels[100]; index 0 is unused so that level n is Levels[n].
struct LevelTable {
    std::array<TLevel, kMaxLevels + 1> Levels{};
    uint8_t LevelCount = 0;
    // The set's file name without extension, as the file system spells it (UTF-8 here).
    std::string LevelSetName;

    const TLevel& operator[](int n) const { return Levels.at(n); }
    TLevel& operator[](int n) { return Levels.at(n); }
};

}  // namespace pabuko
