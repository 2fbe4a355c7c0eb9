#include <filesystem>

#include "core/Game.h"
#include "endgame/TopListFile.h"

namespace pabuko {

namespace {
std::filesystem::path TopListPath(const GameState& s) {
    return std::filesystem::path((s.TopListFolder.empty() ? s.ProgramFolder : s.TopListFolder) +
                                 "toplist.dat");
}
}  // namespace

void Game::ReadTopList() {
    const auto path = TopListPath(state_);
    TopListLoad load = LoadTopListFile(path);
    state_.TopList = load.Entries;
    if (load.State != TopListFileState::Damaged) return;
    // The damaged file is moved aside before the closing save could overwrite it;
    // the message must not claim a backup that could not be made.
    if (KeepDamagedTopList(path)) {
        host_.ShowMessage("Upozornění", MessageIcon::Warning,
                          "Soubor toplist.dat je poškozený. Byl uložen jako toplist.dat.bak a "
                          "TOP-List začíná znovu.");
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

    // Strictly greater: an equal score ranks below the older entry.
    std::size_t rank = 0;
    while (rank < s.TopList.size() && !(s.Score > s.TopList[rank].Points)) ++rank;
    if (rank == s.TopList.size()) return;

    for (std::size_t r = s.TopList.size() - 1; r > rank; --r) s.TopList[r] = s.TopList[r - 1];
    s.TopList[rank].Points = s.Score;
    std::string name = host_.AskName();
    if (name.size() > TopListNameMax) name.resize(TopListNameMax);
    s.TopList[rank].Name = name;
    host_.ShowTopList();
}

bool Game::SaveTopList() {
    // The damaged file could not be kept aside: writing over it would lose it for good.
    if (!state_.TopListFileProtected && WriteTopListFile(TopListPath(state_), state_.TopList))
        return true;
    host_.ShowMessage("Chyba", MessageIcon::Error,
                      "TOP-List se nepodařilo uložit do souboru toplist.dat.");
    return false;
}

}  // namespace pabuko
