#include <cstdlib>

#include "core/Game.h"

namespace pabuko {

namespace {
constexpr int FloorRow = WellRows - 1;
}

void Game::FallStep() {
    GameState& s = state_;
    FallingTile& f = s.Falling;
    // Strictly later: at exactly FallDelay the tile waits one more frame.
    if (clock_.NowMs() <= s.LastStepTime + s.FallDelay) return;

    KeepTileInWell();

    int surface = WellRows;
    for (int r = 0; r < WellRows; ++r) {
        if (s.Well[f.Column][r] != TileEmpty) {
            surface = r;
            break;
        }
    }

    if (f.Row == surface - 1 || f.Row == FloorRow) {
        if (f.Code >= TileA && f.Code <= TileZ) {
            LandLetter();
        } else {
            LandSpecial();
        }
        CheckLevelEnd();
        // A level started from here has spawned already; this spawn replaces that tile.
        if (s.Level != 0) SpawnTile();
    } else {
        f.Row += 1;
    }
    // Read again: after a landing any end-of-level window has been closed by now.
    s.LastStepTime = clock_.NowMs();
}

void Game::LandLetter() {
    GameState& s = state_;
    const FallingTile& f = s.Falling;
    const TLevel& rules = CurrentRecord();
    auto& column = s.Well[f.Column];

    host_.PlayWave(WaveLanding);
    column[f.Row] = f.Code;
    if (f.Row >= FloorRow) return;

    // Each test sees the cells as the one before left them; an empty cell never matches.
    const int landed = column[f.Row];
    const int below = column[f.Row + 1];
    int points = -1;
    if (below == TileEmpty) {
        // Nothing to clear with.
    } else if (landed == below) {
        points = rules.SameLetterScore;
    } else if (landed == below + 1) {
        points = rules.NextLetterScore;
    } else if (landed == below - 1) {
        points = rules.PrevLetterScore;
    }
    if (points >= 0) {
        host_.PlayWave(WaveClear);
        column[f.Row] = TileEmpty;
        column[f.Row + 1] = TileEmpty;
        AddScore(points);
    }
}

void Game::LandSpecial() {
    GameState& s = state_;
    const FallingTile& f = s.Falling;
    const TLevel& rules = CurrentRecord();
    auto& column = s.Well[f.Column];

    // Removes up to `count` tiles under the landing row.
    auto removeBelow = [&](int count) {
        for (int r = f.Row + 1; r <= f.Row + count && r <= FloorRow; ++r) column[r] = TileEmpty;
    };
    // Deletes the landing row in columns first … last; what lies above drops one row.
    auto deleteRow = [&](int first, int last) {
        for (int r = f.Row; r >= 1; --r) {
            for (int c = first; c <= last; ++c) s.Well[c][r] = s.Well[c][r - 1];
        }
        for (int c = first; c <= last; ++c) s.Well[c][0] = TileEmpty;
    };

    switch (f.Code) {
        case TileRemove1:
            host_.PlayWave(WaveClear);
            removeBelow(1);
            AddScore(rules.Remove1Score);
            break;
        case TileRemove2:
            host_.PlayWave(WaveRemove2);
            removeBelow(2);
            AddScore(rules.Remove2Score);
            break;
        case TileRemove3:
            host_.PlayWave(WaveRemove3);
            removeBelow(3);
            AddScore(rules.Remove3Score);
            break;
        case TileClearColumn:
        case TileEmptyStack: {
            host_.PlayWave(WaveClearColumn);
            int cleared = 0;
            for (int r = FloorRow; r >= 0 && column[r] != TileEmpty; --r) {
                column[r] = TileEmpty;
                ++cleared;
            }
            const int v = rules.ColumnScore;
            AddScore(v > 0 ? v : static_cast<int64_t>(std::abs(v)) * cleared);
            break;
        }
        case TileDeleteRowLeft:
            host_.PlayWave(WaveDeleteRow);
            deleteRow(0, f.Column);
            break;
        case TileDeleteRowRight:
            host_.PlayWave(WaveDeleteRow);
            deleteRow(f.Column, WellColumns - 1);
            break;
        default:
            // 27, 32, 35, 36 and 37 count only when stacked; they vanish here.
            break;
    }
}

void Game::CheckLevelEnd() {
    GameState& s = state_;
    const int lastRow = s.Falling.Row < WellRows ? s.Falling.Row : WellRows - 1;
    for (int r = 0; r <= lastRow; ++r) {
        if (WordInRow(r)) {
            EndLevel(static_cast<uint8_t>(r + 1));
            return;
        }
    }
    for (int c = 0; c < WellColumns; ++c) {
        if (s.Well[c][0] != TileEmpty) {
            EndLevel(LevelEndOverflow);
            return;
        }
    }
    if (s.TilesLeft == 0) EndLevel(LevelEndOutOfTiles);
}

bool Game::WordInRow(int row) {
    GameState& s = state_;
    // A word that cannot stand in the 12 columns (or an empty one) is never found.
    if (row < 0 || row >= WellRows || s.WordLength < 1 || s.WordLength > WellColumns) {
        return false;
    }
    for (int i = 1; i <= s.WordLength; ++i) {
        const char ch = i <= static_cast<int>(s.TargetWord.size()) ? s.TargetWord[i - 1] : ' ';
        const uint8_t cell = s.Well[WellColumns - 1 - s.WordLength + i][row];
        const int wanted = ch == ' ' ? TileEmpty : static_cast<unsigned char>(ch) - 'A' + 1;
        if (cell != wanted) return false;
    }
    if (s.Falling.Code == TileDeleteRowLeft || s.Falling.Code == TileDeleteRowRight) {
        AddScore(5000);
    }
    return true;
}

}  // namespace pabuko
