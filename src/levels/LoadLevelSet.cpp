// Game::LoadLevelSet: reads the current level set and its scoring rules into the level
// table, with the player's messages.
#include <filesystem>

#include "core/Game.h"
#include "levels/LevelSetFile.h"
#include "platform/Files.h"

namespace pabuko {
namespace {

namespace fs = std::filesystem;

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace

void Game::LoadLevelSet(bool report) {
    LevelTable& table = state_.Levels;
    const std::string& name = table.LevelSetName;
    const std::string base = state_.ProgramFolder + "data/levels/" + name;
    const fs::path levelPath = base + ".qvl";
    const fs::path scoringPath = base + ".qvlb";

    std::error_code ec;
    std::optional<std::string> bytes;
    if (fs::is_regular_file(levelPath, ec)) bytes = ReadWholeFile(levelPath.string());
    if (!bytes) {
        host_.ShowMessage("Chyba", MessageIcon::Error,
                          "Nebyl nalezen požadovaný soubor s levely, zkuste vybrat jiný\r"
                          "Pokud se tato chyba vyskytla při spouštění, zkontrolujte instalaci.");
        return;
    }

    ScoringRules rules;
    if (Exists(scoringPath)) {
        // A damaged rules file must not quietly turn into the standard rules.
        auto stored = ReadWholeFile(scoringPath.string(), ScoringRulesSize);
        auto parsed = stored ? ParseScoringRules(*stored) : std::nullopt;
        if (!parsed) {
            host_.ShowMessage("Chyba", MessageIcon::Error,
                              "Soubor s pravidly bodování \"" + name +
                                  ".qvlb\" je poškozený nebo nečitelný.\r"
                                  "Levely zůstaly beze změny.");
            return;
        }
        rules = *parsed;
    }

    ParsedLevelSet set = ParseLevelFile(*bytes, rules);
    if (set.Damaged || set.FormatWarning) {
        host_.ShowMessage("Chyba", MessageIcon::Warning,
                          "Soubor s levely má nesprávný formát. Uvidíme, jestli půjde hrát...");
    }
    if (set.Damaged) return;

    table.LevelCount = set.LevelCount;
    for (int n = 1; n <= set.LevelCount; ++n) table[n] = std::move(set.Levels[n - 1]);

    if (report) {
        std::string text = "Ze souboru \"" + name + ".qvl\" bylo v pořádku načteno " +
                           std::to_string(table.LevelCount) + " úrovní.\r";
        if (Exists(scoringPath)) {
            text += "Dále byla ze souboru \"" + name + ".qvlb\" načtena pravidla bodování.";
        } else {
            text += "Pravidla bodování zůstávají standardní.";
        }
        host_.ShowMessage("Informace", MessageIcon::Information, text);
    }
}

}  // namespace pabuko
