#pragma once
// The level set file (.qvl) and the scoring rules file (.qvlb): reading, checking and
// writing. LevelSetLoader builds on these; pabuko-tool writes the files with them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/LevelTable.h"

namespace pabuko {

// Every byte of a stored line is combined with this by exclusive-or.
constexpr unsigned char kLevelScrambleKey = 0x19;
constexpr int kLinesPerLevel = 9;
constexpr size_t kScoringRulesSize = 18;

// Lines ended by CR LF, a lone CR or a lone LF; a last line without an end counts; a
// zero byte ends the text. No line break in the text means no line.
std::vector<std::string> SplitLines(std::string_view text);

// Exclusive-or with the key, byte by byte; its own inverse.
std::string ScrambleLine(std::string_view line);

// The 18-byte record of a .qvlb file.
struct ScoringRules {
    int8_t Spawn = 1;
    uint8_t SameLetter = 10;
    uint8_t PrevLetter = 20;
    uint8_t NextLetter = 30;
    uint8_t Remove1 = 10;
    uint8_t Remove2 = 20;
    uint8_t Remove3 = 30;
    int8_t Column = -10;
    int16_t LevelBonus = -50;  // v >= 0: flat; v < 0: |v| × level number
    int8_t Reserved = -10;     // stored, read by no rule
    uint16_t Stacked36 = 200;
    uint16_t Stacked35 = 100;
    uint16_t Stacked37 = 50;

    bool operator==(const ScoringRules&) const = default;
};

// nullopt when fewer than 18 bytes are given; bytes after the 18th are ignored.
std::optional<ScoringRules> ParseScoringRules(std::string_view bytes);
std::string SerializeScoringRules(const ScoringRules& rules);

// Level n's fall delay in a set of `count` levels: 500 ms less an equal step per level.
uint16_t LevelRowDelay(int n, int count);

// Fills the scoring fields of level n from the rules.
void ApplyScoringRules(TLevel& level, const ScoringRules& rules, int n);

// What a level file holds, before anything is committed to the level table.
struct ParsedLevelSet {
    // The file cannot be used at all (empty, or in a kept level a bad line 7 or 8 or a
    // word the well cannot hold): the caller warns and changes nothing.
    bool Damaged = false;
    // The first level found damaged (1-based); 0 when the file is empty.
    int DamagedLevel = 0;
    // The line count is not 9k − 1, or the file holds more than 100 levels.
    bool FormatWarning = false;
    // The new LevelCount (at most 100); levels[0] is level 1.
    uint8_t LevelCount = 0;
    std::vector<TLevel> Levels;
};

// Restores and reads the stored bytes of a .qvl file. RowDelay and the scoring fields
// are filled in as the loader commits them.
ParsedLevelSet ParseLevelFile(std::string_view bytes, const ScoringRules& rules);

// A target word the well can hold: at most 12 characters, each A-Z or a space (the well has
// 12 columns and the tiles carry only those letters).
bool IsTargetWord(std::string_view line);
// Line 7 check: at least four characters, the first four digits.
bool IsQuizLine(std::string_view line);
// Line 8: an optional sign followed by digits; the value kept to its low 16 bits.
std::optional<uint16_t> ParseTileCount(std::string_view line);

// The stored bytes of a level file made of these restored lines (CR LF after each).
std::string WriteLevelFile(const std::vector<std::string>& lines);

}  // namespace pabuko
