#include <algorithm>

#include "core/Game.h"
#include "core/TileTable.h"

namespace pabuko {

uint8_t Game::CellAt(int column, int row) const {
    // Everything beside or below the well reads as empty.
    if (column < 0 || column >= kWellColumns || row < 0 || row >= kWellRows) return TileEmpty;
    return state_.Well[column][row];
}

void Game::KeepTileInWell() {
    // Only a script or a damaged state can put the tile outside; the rules never do.
    FallingTile& f = state_.Falling;
    if (f.Column < 0) f.Column = 0;
    if (f.Column > kWellColumns - 1) f.Column = kWellColumns - 1;
    if (f.Row > kWellRows - 1) f.Row = kWellRows - 1;
}

void Game::Steer(const SteerKeys& keys) {
    GameState& s = state_;
    FallingTile& f = s.Falling;
    KeepTileInWell();
    // The column test comes first, so no cell beyond the right wall is read.
    if (keys.Right && (f.Column == kWellColumns - 1 || CellAt(f.Column + 1, f.Row) == TileEmpty)) {
        f.Column = static_cast<int8_t>(f.Column + 1);
    }
    if (keys.Left && (f.Column == 0 || CellAt(f.Column - 1, f.Row) == TileEmpty)) {
        f.Column = static_cast<int8_t>(f.Column - 1);
    }
    s.FallDelay = keys.Down ? 20 : s.BaseDelay;

    // Rows 4 and 5 are the mouths of the side stacks.
    const bool atMouth = f.Row == 4 || f.Row == 5;
    const int leftEdge = kWellColumns - PlayWidth();
    if (f.Column < leftEdge) {
        if (atMouth && StackOpen(true)) {
            PushIntoStack(true);
        } else {
            f.Column = static_cast<int8_t>(leftEdge);
        }
    }
    if (f.Column > kWellColumns - 1) {
        if (atMouth && StackOpen(false)) {
            PushIntoStack(false);
        } else {
            f.Column = kWellColumns - 1;
        }
    }
}

bool Game::StackOpen(bool left) const {
    const auto& stack = left ? state_.LeftStack : state_.RightStack;
    const bool full = left ? state_.LeftStackFull : state_.RightStackFull;
    // A stack whose every slot is taken is closed even if its flag was never set.
    return !full && std::find(stack.begin(), stack.end(), TileEmpty) != stack.end();
}

void Game::PushIntoStack(bool left) {
    GameState& s = state_;
    auto& stack = left ? s.LeftStack : s.RightStack;
    const auto slot = std::find(stack.begin(), stack.end(), TileEmpty);
    if (slot == stack.end()) return;  // StackOpen keeps this from happening

    host_.PlayWave(WaveLanding);
    *slot = s.Falling.Code;
    if (IsStacked(s.Falling.Code, InStack::EmptiesStack)) {
        host_.PlayWave(WaveClearColumn);
        stack.fill(TileEmpty);
    }
    if (stack[kStackSlots - 1] != TileEmpty) {
        host_.PlayWave(WaveStackFull);
        (left ? s.LeftStackFull : s.RightStackFull) = true;
    }

    // The level's last tile went into the stack: no new tile comes, so the pushed
    // one returns to the well's edge and the level ends as out of tiles.
    const bool lastTile = s.TilesLeft == 0;
    SpawnTile();
    if (lastTile) {
        s.Falling.Column =
            static_cast<int8_t>(left ? kWellColumns - PlayWidth() : kWellColumns - 1);
        EndLevel(LevelEndOutOfTiles);
    }
}

}  // namespace pabuko
