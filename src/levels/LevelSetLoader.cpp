#include "levels/LevelSetLoader.h"

#include "core/GameHost.h"
#include "levels/LevelSetFile.h"
#include "levels/LevelSetFolders.h"
#include "platform/Files.h"

namespace pabuko {

LevelSetLoader::LevelSetLoader(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

void LevelSetLoader::Load(LevelTable& table, GameHost& host, bool report) {
    const std::string& name = table.LevelSetName;
    const std::string base = LevelSetBase(programFolder_, name);
    const std::string levelPath = base + ".qvl";
    const std::string scoringPath = base + ".qvlb";

    std::optional<std::string> bytes;
    if (FileExists(levelPath)) bytes = ReadWholeFile(levelPath);
    if (!bytes) {
        host.ShowMessage("Chyba", MessageIcon::Error,
                         "Nebyl nalezen požadovaný soubor s levely, zkuste vybrat jiný\r"
                         "Pokud se tato chyba vyskytla při spouštění, zkontrolujte instalaci.");
        return;
    }

    ScoringRules rules;
    if (PathExists(scoringPath)) {
        // A damaged rules file must not quietly turn into the standard rules.
        auto stored = ReadWholeFile(scoringPath, ScoringRulesSize);
        auto parsed = stored ? ParseScoringRules(*stored) : std::nullopt;
        if (!parsed) {
            host.ShowMessage("Chyba", MessageIcon::Error,
                             "Soubor s pravidly bodování \"" + name +
                                 ".qvlb\" je poškozený nebo nečitelný.\r"
                                 "Levely zůstaly beze změny.");
            return;
        }
        rules = *parsed;
    }

    ParsedLevelSet set = ParseLevelFile(*bytes, rules);
    if (set.Damaged || set.FormatWarning) {
        host.ShowMessage("Chyba", MessageIcon::Warning,
                         "Soubor s levely má nesprávný formát. Uvidíme, jestli půjde hrát...");
    }
    if (set.Damaged) return;

    table.LevelCount = set.LevelCount;
    for (int n = 1; n <= set.LevelCount; ++n) table[n] = std::move(set.Levels[n - 1]);

    if (report) {
        std::string text = "Ze souboru \"" + name + ".qvl\" bylo v pořádku načteno " +
                           std::to_string(table.LevelCount) + " úrovní.\r";
        if (PathExists(scoringPath)) {
            text += "Dále byla ze souboru \"" + name + ".qvlb\" načtena pravidla bodování.";
        } else {
            text += "Pravidla bodování zůstávají standardní.";
        }
        host.ShowMessage("Informace", MessageIcon::Information, text);
    }
}

}  // namespace pabuko
