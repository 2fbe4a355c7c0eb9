#pragma once
// The LED scroller's font: 256 glyphs of 5 × 7 dots in the Windows Latin-1 layout, indexed
// by the byte of the shown text. Each glyph is 7 row bytes, top row first; bit 4 is the
// leftmost column, bit 0 the rightmost.
#include <array>
#include <cstdint>

namespace pabuko {

using LedGlyph = std::array<uint8_t, 7>;

extern const std::array<LedGlyph, 256> kLedFont;

}  // namespace pabuko
