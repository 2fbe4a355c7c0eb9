#pragma once
// The platform's wave format record, as the sound device reads it from a wave's format block.
#include <cstdint>
#include <optional>
#include <span>

namespace pabuko {

// The fixed part of a wave format record (the first 16 bytes).
struct WaveFormat {
    uint16_t Tag = 0;
    uint16_t Channels = 0;
    uint32_t SamplesPerSec = 0;
    uint32_t AvgBytesPerSec = 0;
    uint16_t BlockAlign = 0;
    uint16_t BitsPerSample = 0;
};

inline constexpr uint16_t kWaveFormatPcm = 1;

// nullopt when the block is shorter than 16 bytes.
std::optional<WaveFormat> ParseWaveFormat(std::span<const uint8_t> block);

}  // namespace pabuko
