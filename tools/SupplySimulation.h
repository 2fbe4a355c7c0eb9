#pragma once
// A careful player, played by the program through the game's own rules, shows how many
// tiles a level takes. A level's supply is then set so that bad luck alone rarely ends it.
#include <cstdint>
#include <vector>

#include "core/LevelTable.h"

namespace pabuko::sim {

struct PlayerOptions {
    // From a tile's appearance to the player's first key.
    int reactionMs = 250;
};

// One game of one level, played with an endless supply.
struct LevelRun {
    bool won = false;  // false: the well overflowed, or the game dragged on past all reason
    int tiles = 0;     // tiles spawned up to the end (with the one a level start replaces)
    int stacked = 0;   // of them, tiles the player pushed into a side stack
};

struct LevelStats {
    std::vector<LevelRun> runs;

    // The share of games lost with a supply of `supply` tiles: a game with that supply
    // plays exactly like its endless twin up to the supply's last tile.
    double LossRate(int supply) const;
    // The smallest supply whose loss rate is at most `rate`; 0 when none is.
    int SupplyFor(double rate) const;
    // Tiles taken by the won games at the given quantile (0.5: the median); 0 if none won.
    int TilesAt(double quantile) const;
    double OverflowRate() const;
    // The share of all tiles of all games that went into a side stack.
    double StackedShare() const;
};

// Whether a tile can still be pushed into a side stack at a level's speed: a new tile in an
// empty well, steered straight to the stack's mouth (rows 4 and 5) once the reaction time has
// passed. Reachable means reachable whichever of the two frames the keys are read on.
struct StackReach {
    bool left = false;
    bool right = false;
    // The longest reaction (ms, in steps of 10) with which the nearer stack is still
    // reachable; -1 when not even an instant reaction reaches it.
    int longestReactionMs = -1;
};
StackReach ReachStacks(const LevelTable& table, int level, int reactionMs);

// Plays `games` games of level `level` of `table`, each on its own seed derived from `seed`.
// A level after the first starts from a landing, so its first tile is replaced at once, as
// in the game.
LevelStats SimulateLevel(const LevelTable& table, int level, int games, uint32_t seed,
                         const PlayerOptions& options = {});

}  // namespace pabuko::sim
