#include "core/Game.h"

namespace pabuko {

namespace {
// The levels the table can hold, whatever the count claims.
int PlayableLevels(const GameState& s) {
    return s.Levels.LevelCount < kMaxLevels ? s.Levels.LevelCount : kMaxLevels;
}
}  // namespace

void Game::LoadLevelSet(bool report) {
    levelSets_.Load(state_.Levels, host_, report);
}

void Game::NewGame() {
    LoadLevelSet(false);
    StartLevel(0);
    host_.SetPauseEnabled(true);
}

bool Game::StartLevel(uint8_t n) {
    GameState& s = state_;
    const int count = PlayableLevels(s);
    if (n == 0 ? count < 1 : n > count) return false;

    if (n == 0) {
        s.Score = 0;
        s.TopScore = BestScore();
        s.Lives = 3;
        n = 1;
    }
    s.Level = n;
    ClearWell();
    const TLevel& level = s.Levels[n];
    s.TilesLeft = level.TileCount;
    s.TargetWord = level.Word;
    s.WordLength = static_cast<uint8_t>(s.TargetWord.size());
    s.FallDelay = level.RowDelay;
    s.BaseDelay = level.RowDelay;
    s.LastStepTime = clock_.NowMs();
    host_.SetTimerEnabled(true);
    SpawnTile();
    return true;
}

void Game::ClearWell() {
    GameState& s = state_;
    for (auto& column : s.Well) column.fill(TileEmpty);
    s.LeftStack.fill(TileEmpty);
    s.RightStack.fill(TileEmpty);
    s.LeftStackFull = false;
    s.RightStackFull = false;
}

bool Game::EndLevel(uint8_t code) {
    GameState& s = state_;
    if (s.Level < 1 || s.Level > PlayableLevels(s)) return false;

    host_.SetTimerEnabled(false);
    const int signedCode = static_cast<int8_t>(code);
    if (signedCode >= 1) {
        if (s.Level < PlayableLevels(s)) {
            host_.OpenEndOfLevel(ModeLevelWon);
            s.Level += 1;
            StartLevel(s.Level);
        } else {
            host_.OpenEndOfLevel(ModeLastLevelWon);
            EndGame();
        }
    } else if (code == LevelEndOverflow || code == LevelEndOutOfTiles) {
        if (s.Lives == 0) {
            if (code == LevelEndOutOfTiles) host_.SetTimerEnabled(false);
            // The window calls EndGame once it has closed.
            host_.OpenEndOfLevel(ModeGameOver);
        } else {
            s.Lives -= 1;
            host_.OpenEndOfLevel(code == LevelEndOverflow ? ModeWellOverflowed : ModeOutOfTiles);
            StartLevel(s.Level);
        }
    }
    return true;
}

}  // namespace pabuko
