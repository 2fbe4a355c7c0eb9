#include <cstdlib>

#include "core/Game.h"
#include "core/TileTable.h"

namespace pabuko {

namespace {
constexpr int kFloorRow = kWellRows - 1;
// A word completed by the row deletion of the tile that just landed.
constexpr int kRowDeletionWordBonus = 5000;
}  // namespace

void Game::FallStep() {
    GameState& s = state_;
    FallingTile& f = s.Falling;
    // Strictly later: at exactly FallDelay the tile waits one more frame.
    if (clock_.NowMs() <= s.LastStepTime + s.FallDelay) return;

    KeepTileInWell();

    int surface = kWellRows;
    for (int r = 0; r < kWellRows; ++r) {
        if (s.Well[f.Column][r] != TileEmpty) {
            surface = r;
            break;
        }
    }

    if (f.Row == surface - 1 || f.Row == kFloorRow) {
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
    if (f.Row >= kFloorRow) return;

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
        for (int r = f.Row + 1; r <= f.Row + count && r <= kFloorRow; ++r) column[r] = TileEmpty;
    };
    // Deletes the landing row in columns first … last; what lies above drops one row.
    auto deleteRow = [&](int first, int last) {
        for (int r = f.Row; r >= 1; --r) {
            for (int c = first; c <= last; ++c) s.Well[c][r] = s.Well[c][r - 1];
        }
        for (int c = first; c <= last; ++c) s.Well[c][0] = TileEmpty;
    };

    // Codes past the table vanish like the tiles that count only when stacked.
    const SpecialTile* tile = FindSpecialTile(f.Code);
    if (!tile || tile->OnLanding == Landing::Vanish) return;
    host_.PlayWave(tile->LandingWave);
    switch (tile->OnLanding) {
        case Landing::Vanish:
            break;
        case Landing::RemoveBelow:
            removeBelow(tile->Removes);
            AddScore(rules.*tile->RemoveScore);
            break;
        case Landing::ClearColumn: {
            int cleared = 0;
            for (int r = kFloorRow; r >= 0 && column[r] != TileEmpty; --r) {
                column[r] = TileEmpty;
                ++cleared;
            }
            const int v = rules.ColumnScore;
            AddScore(v > 0 ? v : static_cast<int64_t>(std::abs(v)) * cleared);
            break;
        }
        case Landing::DeleteRowLeft:
            deleteRow(0, f.Column);
            break;
        case Landing::DeleteRowRight:
            deleteRow(f.Column, kWellColumns - 1);
            break;
    }
}

void Game::CheckLevelEnd() {
    GameState& s = state_;
    const int lastRow = s.Falling.Row < kWellRows ? s.Falling.Row : kWellRows - 1;
    for (int r = 0; r <= lastRow; ++r) {
        if (WordStandsInRow(r)) {
            if (DeletesRow(s.Falling.Code)) AddScore(kRowDeletionWordBonus);
            EndLevel(static_cast<uint8_t>(r + 1));
            return;
        }
    }
    for (int c = 0; c < kWellColumns; ++c) {
        if (s.Well[c][0] != TileEmpty) {
            EndLevel(LevelEndOverflow);
            return;
        }
    }
    if (s.TilesLeft == 0) EndLevel(LevelEndOutOfTiles);
}

bool Game::WordStandsInRow(int row) const {
    const GameState& s = state_;
    // A word that cannot stand in the 12 columns (or an empty one) is never found.
    if (row < 0 || row >= kWellRows || s.WordLength < 1 || s.WordLength > kWellColumns) {
        return false;
    }
    for (int i = 1; i <= s.WordLength; ++i) {
        const char ch = i <= static_cast<int>(s.TargetWord.size()) ? s.TargetWord[i - 1] : ' ';
        const uint8_t cell = s.Well[kWellColumns - 1 - s.WordLength + i][row];
        const int wanted = ch == ' ' ? TileEmpty : static_cast<unsigned char>(ch) - 'A' + 1;
        if (cell != wanted) return false;
    }
    return true;
}

}  // namespace pabuko
