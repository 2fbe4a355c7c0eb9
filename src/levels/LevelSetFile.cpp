#include "levels/LevelSetFile.h"

#include <algorithm>

#include "platform/LittleEndian.h"

namespace pabuko {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

uint16_t ReadU16(std::string_view b, size_t at) {
    return LoadU16({reinterpret_cast<const uint8_t*>(b.data()), b.size()}, at);
}

void WriteU16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
    if (auto zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string ScrambleLine(std::string_view line) {
    std::string out(line);
    for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ kLevelScrambleKey);
    return out;
}

std::optional<ScoringRules> ParseScoringRules(std::string_view b) {
    if (b.size() < kScoringRulesSize) return std::nullopt;
    auto u8 = [&](size_t at) { return static_cast<uint8_t>(b[at]); };
    ScoringRules r;
    r.Spawn = static_cast<int8_t>(u8(0));
    r.SameLetter = u8(1);
    r.PrevLetter = u8(2);
    r.NextLetter = u8(3);
    r.Remove1 = u8(4);
    r.Remove2 = u8(5);
    r.Remove3 = u8(6);
    r.Column = static_cast<int8_t>(u8(7));
    r.LevelBonus = static_cast<int16_t>(ReadU16(b, 8));
    r.Reserved = static_cast<int8_t>(u8(10));
    r.Stacked36 = ReadU16(b, 12);
    r.Stacked35 = ReadU16(b, 14);
    r.Stacked37 = ReadU16(b, 16);
    return r;
}

std::string SerializeScoringRules(const ScoringRules& r) {
    std::string out;
    for (auto v : {static_cast<uint8_t>(r.Spawn), r.SameLetter, r.PrevLetter, r.NextLetter,
                   r.Remove1, r.Remove2, r.Remove3, static_cast<uint8_t>(r.Column)}) {
        out += static_cast<char>(v);
    }
    WriteU16(out, static_cast<uint16_t>(r.LevelBonus));
    out += static_cast<char>(r.Reserved);
    out += '\0';
    WriteU16(out, r.Stacked36);
    WriteU16(out, r.Stacked35);
    WriteU16(out, r.Stacked37);
    return out;
}

void ApplyScoringRules(TLevel& level, const ScoringRules& r, int n) {
    const int v = r.LevelBonus;
    level.LevelScore = static_cast<uint16_t>(v >= 0 ? v : -v * n);
    level.SpawnScore = r.Spawn;
    level.SameLetterScore = r.SameLetter;
    level.PrevLetterScore = r.PrevLetter;
    level.NextLetterScore = r.NextLetter;
    level.Remove1Score = r.Remove1;
    level.Remove2Score = r.Remove2;
    level.Remove3Score = r.Remove3;
    level.ColumnScore = r.Column;
    level.Stacked36Score = r.Stacked36;
    level.Stacked35Score = r.Stacked35;
    level.Stacked37Score = r.Stacked37;
}

bool IsTargetWord(std::string_view line) {
    return line.size() <= 12 && std::all_of(line.begin(), line.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || c == ' ';
           });
}

bool IsQuizLine(std::string_view line) {
    return line.size() >= 4 && std::all_of(line.begin(), line.begin() + 4, IsDigit);
}

std::optional<uint16_t> ParseTileCount(std::string_view line) {
    bool negative = false;
    if (!line.empty() && (line[0] == '+' || line[0] == '-')) {
        negative = line[0] == '-';
        line.remove_prefix(1);
    }
    if (line.empty() || !std::all_of(line.begin(), line.end(), IsDigit)) return std::nullopt;
    // Only the low 16 bits are kept, so the value is taken modulo 65536 as it is read;
    // a long run of digits cannot overflow.
    uint32_t value = 0;
    for (char c : line) value = (value * 10 + static_cast<uint32_t>(c - '0')) & 0xFFFF;
    return static_cast<uint16_t>(negative ? (0x10000 - value) & 0xFFFF : value);
}

uint16_t LevelRowDelay(int n, int count) {
    return static_cast<uint16_t>(500 - (450 / count) * n);
}

ParsedLevelSet ParseLevelFile(std::string_view bytes, const ScoringRules& rules) {
    ParsedLevelSet result;
    std::vector<std::string> lines = SplitLines(bytes);
    if (lines.empty()) {
        result.Damaged = true;
        return result;
    }
    for (auto& line : lines) line = ScrambleLine(line);

    const size_t whole = (lines.size() + 1) / kLinesPerLevel;
    result.FormatWarning = (lines.size() + 1) % kLinesPerLevel != 0 || whole > kMaxLevels;
    const int count = static_cast<int>(std::min<size_t>(whole, kMaxLevels));
    result.LevelCount = static_cast<uint8_t>(count);
    result.Levels.reserve(count);

    for (int n = 1; n <= count; ++n) {
        const size_t first = static_cast<size_t>(n - 1) * kLinesPerLevel;
        const std::string& quiz = lines[first + 6];
        const auto tiles = ParseTileCount(lines[first + 7]);
        if (!IsTargetWord(lines[first]) || !IsQuizLine(quiz) || !tiles) {
            result.Damaged = true;
            result.DamagedLevel = n;
            result.Levels.clear();
            return result;
        }
        TLevel level;
        level.Word = std::move(lines[first]);
        level.Question = std::move(lines[first + 1]);
        level.Answer1 = std::move(lines[first + 2]);
        level.Answer2 = std::move(lines[first + 3]);
        level.Answer3 = std::move(lines[first + 4]);
        level.Answer4 = std::move(lines[first + 5]);
        level.RightAnswer = static_cast<uint8_t>(quiz[0] - '0');
        level.QuizScore =
            static_cast<uint16_t>((quiz[1] - '0') * 100 + (quiz[2] - '0') * 10 + (quiz[3] - '0'));
        level.TileCount = *tiles;
        level.RowDelay = LevelRowDelay(n, count);
        ApplyScoringRules(level, rules, n);
        result.Levels.push_back(std::move(level));
    }
    return result;
}

std::string WriteLevelFile(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += ScrambleLine(line);
        out += "\r\n";
    }
    return out;
}

}  // namespace pabuko
