#include "assets/Chatter.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/Files.h"

namespace pabuko {

const char* const kChatterFallbackLine =
    "BUHVI PROC SE NEPODARILO NATAHNOUT SOUBOR S KECY - ANI TEN PATRICI KE SKINU A ANI TEN "
    "ZAKLADNI... ZKONTROLUJTE SI INSTALACI...";

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    const size_t end = std::min(text.find('\0'), text.size());
    size_t i = 0;
    while (i < end) {
        const size_t start = i;
        while (i < end && text[i] != '\r' && text[i] != '\n') ++i;
        lines.emplace_back(text.substr(start, i - start));
        if (i < end && text[i] == '\r') ++i;
        if (i < end && text[i] == '\n') ++i;
    }
    return lines;
}

std::string ScrambleChatter(std::string_view line) {
    std::string out(line);
    for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ kChatterKey);
    return out;
}

std::vector<std::string> ReadChatterLines(std::string_view fileBytes) {
    std::vector<std::string> lines = SplitTextLines(fileBytes);
    for (auto& line : lines) line = ScrambleChatter(line);
    return lines;
}

bool ChatterByteStorable(unsigned char byte) {
    const auto s = static_cast<unsigned char>(byte ^ kChatterKey);
    return s != 0 && s != '\r' && s != '\n';
}

std::string WriteChatterFile(const std::vector<std::string>& lines) {
    std::string out;
    for (size_t n = 0; n < lines.size(); ++n) {
        for (char c : lines[n])
            if (!ChatterByteStorable(static_cast<unsigned char>(c)))
                throw std::invalid_argument("line " + std::to_string(n + 1) +
                                            ": a character cannot be stored");
        out += ScrambleChatter(lines[n]);
        out += "\r\n";
    }
    return out;
}

namespace {

bool ReadChatterFile(const std::string& path, std::vector<std::string>& lines) {
    if (!FileExists(path)) return false;
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kChatterFileLimit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    lines = ReadChatterLines(bytes);
    return true;
}

}  // namespace

void ChatterState::Load(const std::string& programFolder, const std::string& skinName) {
    // A chatter file that exists but is empty is not replaced by the standard one.
    std::vector<std::string> lines;
    if (!ReadChatterFile(programFolder + "data/skins/" + skinName + ".qvt", lines))
        ReadChatterFile(programFolder + "data/skins/new.qvt", lines);
    SetLines(std::move(lines));
}

void ChatterState::SetLines(std::vector<std::string> lines) {
    ChatterLines = std::move(lines);
    if (ChatterLines.empty()) ChatterLines.emplace_back(kChatterFallbackLine);
    // The count is one byte: 256 lines or more show the first 255 in turn.
    ChatterCount = static_cast<uint8_t>(std::min<size_t>(ChatterLines.size(), 255));
    ChatterIndex = 0;
}

const std::string& ChatterState::Advance() {
    ++ChatterIndex;
    if (ChatterIndex >= ChatterCount) ChatterIndex = 0;
    return Current();
}

}  // namespace pabuko
