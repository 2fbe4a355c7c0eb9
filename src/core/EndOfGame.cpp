#include "core/Game.h"

namespace pabuko {

int32_t Game::BestScore() const {
    return topList_.Entries()[0].Points;
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
    const GameState& s = state_;
    if (s.Levels.LevelSetName != "new") return;
    if (topList_.Rank(s.Score) < 0) return;
    std::string name = host_.AskName();
    if (name.size() > kTopListNameMax) name.resize(kTopListNameMax);
    topList_.Enter({std::move(name), s.Score});
    host_.ShowTopList();
}

}  // namespace pabuko
