#include <filesystem>

#include "core/Game.h"
#include "endgame/TopListFile.h"
#include "platform/Files.h"

namespace pabuko {

namespace {
std::filesystem::path TopListPath(const GameState& s) {
    return std::filesystem::path((s.TopListFolder.empty() ? s.ProgramFolder : s.TopListFolder) +
                                 "toplist.dat");
}
}  // namespace

void Game::ReadTopList() {
    const auto path = TopListPath(state_);
    // The list moved to the user's folder: the one beside the program is its start, copied
    // and never changed.
    if (!state_.TopListFolder.empty()) {
        const std::string old = state_.ProgramFolder + "toplist.dat";
        std::error_code ec;
        if (!PathExists(path.string()) && FileExists(old))
            std::filesystem::copy_file(old, path, std::filesystem::copy_options::none, ec);
    }
    TopListLoad load = LoadTopListFile(path);
    state_.TopList = load.Entries;
    state_.TopListAdded.clear();
    if (load.State == TopListFileState::Unreadable) {
        state_.TopListFileProtected = true;
        host_.ShowMessage("Upozornění", MessageIcon::Warning,
                          "Soubor toplist.dat nelze přečíst. Hraje se se základním TOP-Listem a "
                          "soubor zůstane beze změny.");
        return;
    }
    if (load.State != TopListFileState::Damaged) return;
    // The damaged file is moved aside before the closing save could overwrite it;
    // the message must not claim a backup that could not be made.
    const auto backup = KeepDamagedTopList(path);
    if (!backup.empty()) {
        host_.ShowMessage("Upozornění", MessageIcon::Warning,
                          "Soubor toplist.dat je poškozený. Byl uložen jako " +
                              backup.filename().string() + " a TOP-List začíná znovu.");
    } else {
        state_.TopListFileProtected = true;
        host_.ShowMessage("Upozornění", MessageIcon::Warning,
                          "Soubor toplist.dat je poškozený. TOP-List začíná znovu.");
    }
}

int32_t Game::BestScore() const {
    return state_.TopList[0].Points;
}

void Game::EndGame() {
    host_.OnEndGame();
    host_.SetTimerEnabled(false);
    host_.SetPauseEnabled(false);
    if (!host_.CanDraw()) return;
    host_.BlankPlayfield();
    state_.Level = 0;
    EnterTopList();
}

void Game::EnterTopList() {
    GameState& s = state_;
    if (s.Levels.LevelSetName != "new") return;

    const int rank = InsertTopListEntry(s.TopList, {std::string(), s.Score});
    if (rank < 0) return;
    std::string name = host_.AskName();
    if (name.size() > TopListNameMax) name.resize(TopListNameMax);
    s.TopList[rank].Name = name;
    s.TopListAdded.push_back(s.TopList[rank]);
    host_.ShowTopList();
}

bool Game::SaveTopList() {
    const auto path = TopListPath(state_);
    bool ok = !state_.TopListFileProtected;
    if (ok) {
        // Another copy of the game may have saved since this one started: its entries stay,
        // and ours go in among them by the usual rule.
        TopListLoad disk = LoadTopListFile(path);
        if (disk.State == TopListFileState::Read) {
            for (const TopListEntry& e : state_.TopListAdded) InsertTopListEntry(disk.Entries, e);
            state_.TopList = disk.Entries;
        } else if (disk.State == TopListFileState::Damaged) {
            ok = !KeepDamagedTopList(path).empty();
        } else if (disk.State == TopListFileState::Unreadable) {
            ok = false;
        }
    }
    if (ok && WriteTopListFile(path, state_.TopList)) {
        state_.TopListAdded.clear();
        return true;
    }
    host_.ShowMessage("Chyba", MessageIcon::Error,
                      "TOP-List se nepodařilo uložit do souboru toplist.dat.");
    return false;
}

}  // namespace pabuko
