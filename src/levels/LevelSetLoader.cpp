#include "levels/LevelSetLoader.h"

#include "core/GameHost.h"
#include "levels/LevelSetFile.h"
#include "levels/LevelSetFolders.h"
#include "platform/Files.h"

namespace pabuko {
namespace {

std::string Bytes(size_t n) {
    const char* unit = n == 1 ? "bajt" : (n >= 2 && n <= 4) ? "bajty" : "bajtů";
    return std::to_string(n) + ' ' + unit;
}

// What the player is left with when a load changes nothing.
std::string Unchanged(const LevelTable& table) {
    return table.LevelCount > 0 ? "Levely zůstaly beze změny."
                                : "Žádné levely nejsou načtené, a tak hru nelze začít.";
}

// The scoring rules of the set: the file's, or the standard ones when there is none. A
// file that cannot be used leaves the standard rules too, and `problem` says why.
ScoringRules ReadScoringRules(const std::string& path, const std::string& relative,
                              std::string& problem) {
    const FileKind kind = ProbeFile(path);
    if (kind == FileKind::Missing) return {};
    std::string why;
    if (kind != FileKind::Regular) {
        why = FileKindProblem(kind);
    } else if (auto stored = ReadWholeFile(path, kScoringRulesSize); !stored) {
        why = "soubor nelze přečíst";
    } else if (auto parsed = ParseScoringRules(*stored)) {
        return *parsed;
    } else {
        why = stored->empty()
                  ? std::string("je prázdný")
                  : "má jen " + Bytes(stored->size()) + " z " + std::to_string(kScoringRulesSize);
    }
    problem = "Soubor s pravidly bodování „" + relative + "“ je poškozený nebo nečitelný (" + why +
              "), a proto platí standardní pravidla bodování.";
    return {};
}

}  // namespace

LevelSetLoader::LevelSetLoader(std::string programFolder)
    : programFolder_(std::move(programFolder)) {}

void LevelSetLoader::Load(LevelTable& table, GameHost& host, bool report) {
    const std::string& name = table.LevelSetName;
    const std::string base = LevelSetBase(programFolder_, name);
    // Named as the player finds it: in the game's folder, or in the player's own.
    const std::string relative = base.compare(0, programFolder_.size(), programFolder_) == 0
                                     ? base.substr(programFolder_.size())
                                     : base;
    const std::string levelPath = base + ".qvl";

    const FileKind kind = ProbeFile(levelPath);
    std::optional<std::string> bytes;
    if (kind == FileKind::Regular) bytes = ReadWholeFile(levelPath);
    if (kind == FileKind::Missing) {
        host.ShowMessage("Chyba", MessageIcon::Error,
                         "Nebyl nalezen požadovaný soubor s levely „" + relative +
                             ".qvl“, zkuste vybrat jiný\r"
                             "Pokud se tato chyba vyskytla při spouštění, zkontrolujte instalaci.");
        return;
    }
    if (!bytes) {
        host.ShowMessage("Chyba", MessageIcon::Error,
                         "Soubor s levely „" + relative + ".qvl“ nelze přečíst: " +
                             (kind == FileKind::Regular ? std::string("chyba při čtení")
                                                        : FileKindProblem(kind)) +
                             ".\r" + Unchanged(table));
        return;
    }

    std::string scoringProblem;
    const ScoringRules rules = ReadScoringRules(base + ".qvlb", relative + ".qvlb", scoringProblem);

    ParsedLevelSet set = ParseLevelFile(*bytes, rules);
    const std::string format = "Soubor s levely „" + relative + ".qvl“ má nesprávný formát";
    if (set.Damaged) {
        host.ShowMessage("Chyba", MessageIcon::Warning,
                         format +
                             (set.DamagedLevel > 0 ? ": level " + std::to_string(set.DamagedLevel) +
                                                         " je poškozený.\r"
                                                   : std::string(": neobsahuje žádný level.\r")) +
                             Unchanged(table));
        return;
    }
    if (set.FormatWarning)
        host.ShowMessage("Chyba", MessageIcon::Warning, format + ". Uvidíme, jestli půjde hrát...");
    // Without a report of its own, the damaged scoring file gets a box of its own.
    if (!scoringProblem.empty() && !report)
        host.ShowMessage("Upozornění", MessageIcon::Warning, scoringProblem);

    table.LevelCount = set.LevelCount;
    for (int n = 1; n <= set.LevelCount; ++n) table[n] = std::move(set.Levels[n - 1]);

    if (report) {
        std::string text = "Ze souboru \"" + name + ".qvl\" bylo v pořádku načteno " +
                           std::to_string(table.LevelCount) + " úrovní.\r";
        if (!scoringProblem.empty()) {
            text += scoringProblem;
        } else if (ProbeFile(base + ".qvlb") == FileKind::Regular) {
            text += "Dále byla ze souboru \"" + name + ".qvlb\" načtena pravidla bodování.";
        } else {
            text += "Pravidla bodování zůstávají standardní.";
        }
        host.ShowMessage("Informace", MessageIcon::Information, text);
    }
}

}  // namespace pabuko
