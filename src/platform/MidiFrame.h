#pragma once
// The frame of a Standard MIDI File, checked before the synthesizer is given the bytes.
#include <cstdint>
#include <span>

namespace pabuko {

// True when the bytes hold a Standard MIDI File's frame: an "MThd" chunk of at least six
// bytes and every track chunk it announces, in full. FluidSynth would take anything else
// silently as an empty song.
bool LooksLikeMidiFile(std::span<const uint8_t> bytes);

}  // namespace pabuko
