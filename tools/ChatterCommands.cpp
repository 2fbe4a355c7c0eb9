// pabuko-tool chatter pack SRC.txt OUT.qvt / chatter dump FILE: the skins' chatter texts.
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "ToolCommands.h"
#include "assets/Chatter.h"
#include "display/LedFont.h"
#include "display/VrMatrixCore.h"
#include "platform/TextEncoding.h"

namespace pabuko::tool {

namespace {

using Json = nlohmann::ordered_json;

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return true;
}

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte, so that
// the conversion reports it).
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

std::string ByteAsUtf8(unsigned char byte) {
    return Cp1250ToUtf8(std::string(1, static_cast<char>(byte)));
}

// What the LED font really draws for a Windows-1250 byte: "" when it draws it as it is,
// otherwise the letter it draws instead (its Latin-1 letter), or "nothing".
std::string LedMisreading(unsigned char byte) {
    if (byte == ' ') return "";
    const auto& glyph = kLedFont[byte];
    bool blank = true;
    for (uint8_t row : glyph) blank = blank && row == 0;
    if (blank) return "nothing";
    if (byte >= 0xA0 && Cp1250ToCodePoint(byte) != byte) {
        std::string shown;
        AppendUtf8(shown, byte);
        return "\"" + shown + "\"";
    }
    return "";
}

int Pack(const std::string& src, const std::string& out) {
    std::string text;
    if (!ReadFile(src, text)) {
        std::cerr << "chatter pack: cannot read " << src << '\n';
        return 1;
    }
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }

    std::vector<std::string> encoded;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        std::string bytes;
        for (size_t i = 0; i < line.size();) {
            const size_t len =
                std::min(SequenceLength(static_cast<unsigned char>(line[i])), line.size() - i);
            const std::string ch = line.substr(i, len);
            const auto converted = Utf8ToCp1250(ch);
            if (!converted || converted->size() != 1) {
                std::cerr << src << ": line " << n + 1 << ": \"" << ch
                          << "\" is not a Windows-1250 character\n";
                return 1;
            }
            const auto byte = static_cast<unsigned char>((*converted)[0]);
            if (!ChatterByteStorable(byte)) {
                std::cerr << src << ": line " << n + 1 << ": character 0x" << std::hex << int(byte)
                          << std::dec
                          << " cannot be stored (its scrambled byte would be 0, CR or LF)\n";
                return 1;
            }
            bytes += static_cast<char>(byte);
            i += len;
        }
        // The game shows the line upper-cased, without its colour codes.
        std::set<unsigned char> warned;
        for (char c : ParseMatrixText(bytes, TVrTextStyle::tsAsIs).Shown) {
            const auto letter = static_cast<unsigned char>(c);
            const std::string wrong = LedMisreading(Cp1250Upper(letter));
            if (wrong.empty() || !warned.insert(letter).second) continue;
            std::cerr << src << ": line " << n + 1 << ": warning: the LED line shows \""
                      << ByteAsUtf8(letter) << "\" as " << wrong << '\n';
        }
        encoded.push_back(std::move(bytes));
    }

    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    const std::string data = WriteChatterFile(encoded);
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!file.flush()) {
        std::cerr << "chatter pack: cannot write " << out << '\n';
        return 1;
    }
    return 0;
}

int Dump(const std::string& path) {
    std::string bytes;
    if (!ReadFile(path, bytes)) {
        std::cerr << "chatter dump: cannot read " << path << '\n';
        return 1;
    }
    if (bytes.size() > kChatterFileLimit) bytes.resize(kChatterFileLimit);
    ChatterState chatter;
    chatter.SetLines(ReadChatterLines(bytes));
    Json lines = Json::array();
    for (const auto& line : chatter.ChatterLines) lines.push_back(Cp1250ToUtf8(line));
    std::cout << Json{{"ChatterCount", chatter.ChatterCount}, {"Lines", lines}}.dump(2) << '\n';
    return 0;
}

const Registrar reg([](CLI::App& app) {
    auto* chatter = app.add_subcommand("chatter", "Chatter texts of the skins (skins/*.qvt)");
    chatter->require_subcommand(1);

    auto* pack = chatter->add_subcommand("pack", "Build a chatter file from UTF-8 lines");
    static std::string src, out;
    pack->add_option("SRC", src, "UTF-8 text, one chatter line a line")->required();
    pack->add_option("OUT", out, "chatter file to write")->required();
    pack->callback([] { SetExitCode(Pack(src, out)); });

    auto* dump = chatter->add_subcommand("dump", "Print a chatter file as the game reads it");
    static std::string file;
    dump->add_option("FILE", file, "chatter file")->required();
    dump->callback([] { SetExitCode(Dump(file)); });
});

}  // namespace

}  // namespace pabuko::tool
