// pabuko-tool levels pack | scoring | dump | simulate: builds level sets from their
// sources, shows what the game's own loader makes of a set and how its supplies play.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "JsonDump.h"
#include "SupplySimulation.h"
#include "ToolCommands.h"
#include "core/Game.h"
#include "core/WindowlessHost.h"
#include "levels/LevelSetFile.h"
#include "levels/LevelSetFolders.h"
#include "levels/LevelSetLoader.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/TextEncoding.h"
#include "platform/UserFolders.h"

namespace pabuko::tool {
namespace {

using Json = nlohmann::ordered_json;

// A source the tool refuses; what() is "LINE: reason" without the file name.
struct SourceError {
    size_t line;
    std::string reason;
};

// Written beside the target and renamed over it, so that a failed write (a full disk) leaves
// an earlier file of that name as it was.
bool WriteWhole(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".part";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::error_code ec;
    if (out) std::filesystem::rename(temporary, path, ec);
    if (!out || ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

// The first character of a UTF-8 line that Windows-1250 cannot hold, for the message.
std::string BadCharacter(const std::string& utf8) {
    for (size_t i = 0; i < utf8.size();) {
        size_t len = 1;
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b >= 0xF0)
            len = 4;
        else if (b >= 0xE0)
            len = 3;
        else if (b >= 0xC0)
            len = 2;
        const std::string one = utf8.substr(i, len);
        if (!Utf8ToCp1250(one)) return one;
        i += len;
    }
    return {};
}

// Turns the UTF-8 source lines of a level set into restored Windows-1250 lines, checking
// everything the game would trip over.
std::vector<std::string> CheckLevelSource(std::string text) {
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    if (text.find('\0') != std::string::npos) {
        throw SourceError{1 + SplitLines(text.substr(0, text.find('\0'))).size(),
                          "a zero byte would end the level file there"};
    }
    std::vector<std::string> source = SplitLines(text);
    // Lines starting with '#' before the first level are the author's notes (where the
    // facts come from); no word line can start so. Line numbers still count them.
    size_t notes = 0;
    while (notes < source.size() && source[notes].starts_with('#')) ++notes;
    source.erase(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(notes));
    // Blank lines after the last level are the editor's, not a level's.
    while (!source.empty() && source.back().empty() && (source.size() + 1) % kLinesPerLevel != 0) {
        source.pop_back();
    }
    if (source.empty()) throw SourceError{notes + 1, "no level at all"};

    std::vector<std::string> lines;
    for (size_t i = 0; i < source.size(); ++i) {
        const size_t lineNo = notes + i + 1;
        const std::string& line = source[i];
        auto bytes = Utf8ToCp1250(line);
        if (!bytes) {
            const std::string bad = BadCharacter(line);
            throw SourceError{lineNo,
                              bad.empty() || (static_cast<unsigned char>(bad[0]) >= 0x80 &&
                                              static_cast<unsigned char>(bad[0]) < 0xC0)
                                  ? "the text is not valid UTF-8"
                                  : "Windows-1250 cannot hold the character \"" + bad + "\""};
        }
        for (unsigned char c : *bytes) {
            // Scrambled, these would turn into line breaks or the end of the text.
            if (c < 0x20 || c == 0x7F) throw SourceError{lineNo, "a control character"};
        }
        switch (i % kLinesPerLevel) {
            case 0:
                if (bytes->empty() || bytes->size() > 12 ||
                    bytes->find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ ") != std::string::npos) {
                    throw SourceError{lineNo, "the word \"" + line +
                                                  "\" is not 1-12 characters of A-Z and space"};
                }
                break;
            case 6:
                if (bytes->size() != 4 || !IsQuizLine(*bytes)) {
                    throw SourceError{lineNo,
                                      "line 7 of a level must be the right answer (a digit) and "
                                      "the quiz points (three digits), e.g. 2150"};
                }
                break;
            case 7:
                if (!ParseTileCount(*bytes)) {
                    throw SourceError{lineNo, "line 8 of a level must be the number of tiles"};
                }
                break;
            case 8:
                if (!bytes->empty()) {
                    throw SourceError{lineNo,
                                      "line 9 of a level separates it from the next and must be "
                                      "empty"};
                }
                break;
            default:
                break;
        }
        lines.push_back(std::move(*bytes));
    }
    if ((lines.size() + 1) % kLinesPerLevel != 0) {
        throw SourceError{notes + lines.size(),
                          "the last level is incomplete (a level has eight lines and "
                          "an empty separator line)"};
    }
    if ((lines.size() + 1) / kLinesPerLevel > kMaxLevels) {
        throw SourceError{notes + kMaxLevels * kLinesPerLevel + 1,
                          "a level set holds at most 100 levels"};
    }
    return lines;
}

// Without OUT a set goes into the player's own folder, named after its source, where the
// game lists it after the shipped sets.
std::optional<std::string> PlayersOutput(const std::string& src) {
    const std::string name = std::filesystem::path(src).stem().string();
    if (name.empty() || name.back() == '.') {
        std::cerr << src << ": the file name gives no level set name\n";
        return std::nullopt;
    }
    const std::string shipped = ShippedLevelsFolder(FindProgramFolder(ExecutableFolder()));
    std::error_code ec;
    if (name == "new" || std::filesystem::exists(shipped + name + ".qvl", ec)) {
        std::cerr << src << ": \"" << name
                  << "\" is the name of a set the game ships, which the game would load "
                     "instead; rename the file\n";
        return std::nullopt;
    }
    const std::string folder = UserLevelsFolder();
    if (folder.empty()) {
        std::cerr << src << ": no folder for the player's level sets (HOME is not set)\n";
        return std::nullopt;
    }
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::cerr << folder << ": cannot create the folder: " << ec.message() << '\n';
        return std::nullopt;
    }
    return folder + name + ".qvl";
}

int Pack(const std::string& src, std::string out) {
    auto text = ReadWholeFile(src);
    if (!text) {
        std::cerr << src << ": cannot read the file\n";
        return 1;
    }
    try {
        const auto lines = CheckLevelSource(*text);
        const bool players = out.empty();
        if (players) {
            auto chosen = PlayersOutput(src);
            if (!chosen) return 1;
            out = std::move(*chosen);
        }
        if (!WriteWhole(out, WriteLevelFile(lines))) {
            std::cerr << out << ": cannot write the file\n";
            return 1;
        }
        if (players) {
            std::cout << out << ": " << (lines.size() + 1) / kLinesPerLevel << " levels\n";
        }
    } catch (const SourceError& e) {
        std::cerr << src << ':' << e.line << ": " << e.reason << '\n';
        return 1;
    }
    return 0;
}

// Scoring rules from JSON: the TLevel field names, LevelBonus (v) and Reserved; a field
// left out keeps its standard value.
int PackScoring(const std::string& src, const std::string& out) {
    auto text = ReadWholeFile(src);
    if (!text) {
        std::cerr << src << ": cannot read the file\n";
        return 1;
    }
    ScoringRules rules;
    try {
        const auto doc = nlohmann::json::parse(*text);
        if (!doc.is_object()) throw std::runtime_error("expected one JSON object");
        for (const auto& item : doc.items()) {
            // Named copies: a lambda below refers to the key.
            const std::string key = item.key();
            const auto& value = item.value();
            if (!value.is_number_integer()) throw std::runtime_error(key + " must be an integer");
            const auto v = value.get<int64_t>();
            auto in = [&](int64_t lo, int64_t hi) {
                if (v < lo || v > hi) {
                    throw std::runtime_error(key + " must lie in " + std::to_string(lo) + ".." +
                                             std::to_string(hi));
                }
                return v;
            };
            if (key == "SpawnScore")
                rules.Spawn = static_cast<int8_t>(in(-128, 127));
            else if (key == "SameLetterScore")
                rules.SameLetter = static_cast<uint8_t>(in(0, 255));
            else if (key == "PrevLetterScore")
                rules.PrevLetter = static_cast<uint8_t>(in(0, 255));
            else if (key == "NextLetterScore")
                rules.NextLetter = static_cast<uint8_t>(in(0, 255));
            else if (key == "Remove1Score")
                rules.Remove1 = static_cast<uint8_t>(in(0, 255));
            else if (key == "Remove2Score")
                rules.Remove2 = static_cast<uint8_t>(in(0, 255));
            else if (key == "Remove3Score")
                rules.Remove3 = static_cast<uint8_t>(in(0, 255));
            else if (key == "ColumnScore")
                rules.Column = static_cast<int8_t>(in(-128, 127));
            else if (key == "LevelBonus")
                rules.LevelBonus = static_cast<int16_t>(in(-32768, 32767));
            else if (key == "Reserved")
                rules.Reserved = static_cast<int8_t>(in(-128, 127));
            else if (key == "Stacked36Score")
                rules.Stacked36 = static_cast<uint16_t>(in(0, 65535));
            else if (key == "Stacked35Score")
                rules.Stacked35 = static_cast<uint16_t>(in(0, 65535));
            else if (key == "Stacked37Score")
                rules.Stacked37 = static_cast<uint16_t>(in(0, 65535));
            else
                throw std::runtime_error("unknown field " + key);
        }
    } catch (const std::exception& e) {
        std::cerr << src << ": " << e.what() << '\n';
        return 1;
    }
    if (!WriteWhole(out, SerializeScoringRules(rules))) {
        std::cerr << out << ": cannot write the file\n";
        return 1;
    }
    return 0;
}

// Messages go to standard error; any message means the set did not load cleanly.
class PrintingHost : public WindowlessHost {
  public:
    PrintingHost() { canDraw = false; }
    void ShowMessage(const std::string& caption, MessageIcon icon,
                     const std::string& text) override {
        WindowlessHost::ShowMessage(caption, icon, text);
        std::string shown = text;
        for (char& c : shown) {
            if (c == '\r') c = '\n';
        }
        std::cerr << caption << ": " << shown << '\n';
    }
};

// A level set loaded the way the game loads it, for the commands that read one.
struct LoadedSet {
    GameState state;
    PrintingHost host;

    // Without a root, the sets the game beside the tool ships (in a build, the build folder;
    // installed, ../share/pabuko), so that the commands work from any folder.
    LoadedSet(std::string root, const std::string& name) {
        if (root.empty()) root = FindProgramFolder(ExecutableFolder());
        if (root.back() != '/') root += '/';
        state.Levels.LevelSetName = name;
        LevelSetLoader(std::move(root)).Load(state.Levels, host, false);
    }
};

int Dump(const std::string& root, const std::string& name) {
    LoadedSet set(root, name);
    const GameState& state = set.state;

    Json levels = Json::array();
    for (int n = 1; n <= state.Levels.LevelCount; ++n) {
        levels.push_back(LevelRecordJson(state.Levels[n]));
    }
    const Json doc{{"LevelSetName", name},
                   {"LevelCount", state.Levels.LevelCount},
                   {"Levels", std::move(levels)}};
    std::cout << doc.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    return set.host.messages.empty() ? 0 : 1;
}

// Plays every level of a set many times and prints, per level, how often a careful player
// loses with the set's supply, and the supply that would keep that under --rate.
int Simulate(const std::string& root, const std::string& name, int games, uint32_t seed,
             double rate, int reactionMs, int onlyLevel) {
    LoadedSet set(root, name);
    if (!set.host.messages.empty()) return 1;
    const GameState& state = set.state;

    const LevelTable& table = state.Levels;
    sim::PlayerOptions options;
    options.reactionMs = reactionMs;
    // stack%: the tiles the player put into a side stack; stacks: which stack a new tile can
    // still reach with the reaction time (L, R, LR or -); react: the longest reaction that
    // still reaches one.
    std::printf("%-5s %-12s %5s %6s %6s %6s %6s %6s %6s %6s %6s %6s %5s\n", "level", "word",
                "delay", "supply", "won%", "lost%", "overf%", "median", "p90", "needed", "stack%",
                "stacks", "react");
    bool allUnder = true;
    for (int n = 1; n <= table.LevelCount; ++n) {
        if (onlyLevel != 0 && n != onlyLevel) continue;
        const auto stats = sim::SimulateLevel(table, n, games, seed, options);
        const int supply = table[n].TileCount;
        const double lost = stats.LossRate(supply);
        allUnder = allUnder && lost <= rate;
        const auto reach = sim::ReachStacks(table, n, reactionMs);
        const char* stacks = reach.left && reach.right ? "LR"
                             : reach.left              ? "L"
                             : reach.right             ? "R"
                                                       : "-";
        std::printf("%-5d %-12s %5d %6d %6.1f %6.1f %6.1f %6d %6d %6d %6.1f %6s %5d\n", n,
                    table[n].Word.c_str(), table[n].RowDelay, supply, 100.0 * (1.0 - lost),
                    100.0 * lost, 100.0 * stats.OverflowRate(), stats.TilesAt(0.5),
                    stats.TilesAt(0.9), stats.SupplyFor(rate), 100.0 * stats.StackedShare(), stacks,
                    reach.longestReactionMs);
        std::fflush(stdout);
    }
    return allUnder ? 0 : 2;
}

const Registrar reg([](CLI::App& app) {
    auto* levels = app.add_subcommand("levels", "Level sets: build them and inspect them");
    levels->require_subcommand(1);

    static std::string packSrc, packOut;
    auto* pack = levels->add_subcommand(
        "pack", "Turn a UTF-8 level source (nine lines a level) into a scrambled .qvl file");
    pack->add_option("SRC", packSrc, "level source (.txt)")->required();
    pack->add_option("OUT", packOut,
                     "level file to write (.qvl); without it the set goes to the player's own "
                     "folder (" +
                         UserLevelsFolder() + "), named after SRC");
    pack->callback([] { SetExitCode(Pack(packSrc, packOut)); });

    static std::string scoringSrc, scoringOut;
    auto* scoring = levels->add_subcommand(
        "scoring", "Turn scoring rules in JSON (TLevel field names, LevelBonus) into a .qvlb file");
    scoring->add_option("SRC", scoringSrc, "scoring rules (.json)")->required();
    scoring->add_option("OUT", scoringOut, "scoring file to write (.qvlb)")->required();
    scoring->callback([] { SetExitCode(PackScoring(scoringSrc, scoringOut)); });

    static std::string dumpRoot, dumpName;
    auto* dump = levels->add_subcommand(
        "dump",
        "Load set NAME (a shipped set, else one of the player's own) with the game's loader and "
        "print it as JSON");
    dump->add_option("--root", dumpRoot,
                     "program folder (holds data/levels); the game's beside the tool unless given");
    dump->add_option("NAME", dumpName, "level set name, without extension")->required();
    dump->callback([] { SetExitCode(Dump(dumpRoot, dumpName)); });

    static std::string simRoot, simName;
    static int simGames = 400, simReaction = 250, simLevel = 0;
    static uint32_t simSeed = 1;
    static double simRate = 0.02;
    auto* simulate = levels->add_subcommand(
        "simulate",
        "Play set NAME's levels with a careful simulated player and print how often each is "
        "lost with its supply (exit status 2 if any level loses more often than --rate)");
    simulate->add_option("--root", simRoot,
                         "program folder (holds data/levels); the game's beside the tool unless "
                         "given");
    simulate->add_option("NAME", simName, "level set name, without extension")->required();
    simulate->add_option("--games", simGames, "games per level")->check(CLI::Range(1, 100000));
    simulate->add_option("--seed", simSeed, "seed of the whole run");
    simulate->add_option("--rate", simRate, "loss rate a supply should stay under")
        ->check(CLI::Range(0.0, 1.0));
    simulate->add_option("--reaction", simReaction, "the player's reaction time in ms")
        ->check(CLI::Range(0, 5000));
    simulate->add_option("--level", simLevel, "only this level");
    simulate->callback([] {
        SetExitCode(Simulate(simRoot, simName, simGames, simSeed, simRate, simReaction, simLevel));
    });
});

}  // namespace
}  // namespace pabuko::tool
