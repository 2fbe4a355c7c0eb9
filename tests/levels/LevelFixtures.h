#pragma once
// Level files for tests, as restored lines (WriteLevelFile scrambles them).
#include <initializer_list>
#include <string>
#include <vector>

namespace pabuko::testing {

// A distinct word per level: "A", "B", … "Z", "AA", … (letters only).
inline std::string Word(int n) {
    std::string word;
    for (int v = n; v > 0; v = (v - 1) / 26) word.insert(word.begin(), char('A' + (v - 1) % 26));
    return word;
}

// count whole levels in the standard layout, the last separator left out (9k − 1 lines).
inline std::vector<std::string> LevelLines(int count) {
    std::vector<std::string> lines;
    for (int n = 1; n <= count; ++n) {
        const std::string num = std::to_string(n);
        for (const std::string& line : std::initializer_list<std::string>{
                 Word(n), "Ot\xE1zka " + num, "jedna", "dv\xEC", "t\xF8i", "\xE8ty\xF8i",
                 std::string("1") +
                     (n < 10    ? "00"
                      : n < 100 ? "0"
                                : "") +
                     num,
                 std::to_string(30 + n)}) {
            lines.push_back(line);
        }
        if (n < count) lines.push_back("");
    }
    return lines;
}

}  // namespace pabuko::testing
