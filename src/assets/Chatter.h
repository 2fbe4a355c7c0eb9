#pragma once
// Chatter texts: the lines a skin's LED line shows one after another. A ".qvt" file holds
// text lines, every byte of a line combined by exclusive-or with 0x19; the line ends stay
// plain and a zero byte ends the text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pabuko {

constexpr unsigned char kChatterKey = 0x19;
// Larger files are read only this far; far more than 255 lines of LED text.
constexpr size_t kChatterFileLimit = 1 << 20;

extern const char* const kChatterFallbackLine;

// Lines ending at CR, LF or CR LF, up to the first zero byte; a last line end adds no line.
std::vector<std::string> SplitTextLines(std::string_view text);
// Combines every byte with the key (the same both ways).
std::string ScrambleChatter(std::string_view line);
// The unscrambled lines of a chatter file's bytes.
std::vector<std::string> ReadChatterLines(std::string_view fileBytes);
// True when the byte's scrambled form can be stored (is not 0, CR or LF).
bool ChatterByteStorable(unsigned char byte);
// A chatter file of the lines, each ended by CR LF. Throws std::invalid_argument when a
// byte cannot be stored.
std::string WriteChatterFile(const std::vector<std::string>& lines);

// The chatter of the current skin and the line now shown.
struct ChatterState {
    std::vector<std::string> ChatterLines;
    uint8_t ChatterCount = 0;
    uint8_t ChatterIndex = 0;

    // Reads data/skins/<skin>.qvt of the folder, else data/skins/new.qvt, else takes the
    // fallback line; starts at line 0. Counts at most 255 lines, never 0.
    void Load(const std::string& programFolder, const std::string& skinName);
    // The lines as read; empty gives the fallback line.
    void SetLines(std::vector<std::string> lines);
    const std::string& Current() const { return ChatterLines[ChatterIndex]; }
    // The next line, wrapping after the last counted one.
    const std::string& Advance();
};

}  // namespace pabuko
