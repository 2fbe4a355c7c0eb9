#pragma once
// The real clock and seed source of the game.
#include "core/GameHost.h"

namespace pabuko {

// Monotonic milliseconds: a change of the wall clock must not freeze or rush the fall.
class SteadyClock : public Clock {
  public:
    int64_t NowMs() override;
};

// The low bits of a high-resolution counter, as the game's seeds always were.
class CounterSeedSource : public SeedSource {
  public:
    uint32_t NextSeed() override;
};

}  // namespace pabuko
