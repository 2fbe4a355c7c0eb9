#include "core/Game.h"

#include "core/Random.h"

namespace pabuko {

Game::Game(GameState& state, GameHost& host, Clock& clock, SeedSource& seeds,
           LevelSetSource& levelSets, TopListStore& topList)
    : state_(state),
      host_(host),
      clock_(clock),
      seeds_(seeds),
      levelSets_(levelSets),
      topList_(topList) {}

uint32_t Game::Random(uint32_t n) {
    return DrawRandom(state_.RandSeed, n);
}

const TLevel& Game::LevelRecord(int n) const {
    // Only a bad level file or a scripted state can point past the table; such a
    // level plays with an all-zero record instead of reading outside it.
    static const TLevel none{};
    return n >= 0 && n <= kMaxLevels ? state_.Levels[n] : none;
}

int Game::PlayWidth() const {
    // The well is 12 columns wide; a word of another length cannot widen it.
    const int width = state_.WordLength;
    return width < 1 ? 1 : (width > kWellColumns ? kWellColumns : width);
}

void Game::AddScore(int64_t points) {
    // The score wraps like the 32-bit counter it is rather than overflowing.
    state_.Score = static_cast<int32_t>(static_cast<uint32_t>(state_.Score) +
                                        static_cast<uint32_t>(static_cast<int32_t>(points)));
}

}  // namespace pabuko
