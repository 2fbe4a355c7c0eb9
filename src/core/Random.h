#pragma once
// The game's random generator: a linear congruential step of a 32-bit seed, the number
// drawn taken from the seed's high bits. The level's tiles and the music's next track both
// draw from it, so a recorded seed replays the same game.
#include <cstdint>

namespace pabuko {

// Steps `seed` and draws a number in [0, n) from it.
inline uint32_t DrawRandom(uint32_t& seed, uint32_t n) {
    seed = seed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(seed) * n) >> 32);
}

}  // namespace pabuko
