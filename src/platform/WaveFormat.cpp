#include "platform/WaveFormat.h"

#include <cstddef>

#include "platform/LittleEndian.h"

namespace pabuko {

std::optional<WaveFormat> ParseWaveFormat(std::span<const uint8_t> block) {
    if (block.size() < 16) return std::nullopt;
    WaveFormat f;
    f.Tag = LoadU16(block, 0);
    f.Channels = LoadU16(block, 2);
    f.SamplesPerSec = LoadU32(block, 4);
    f.AvgBytesPerSec = LoadU32(block, 8);
    f.BlockAlign = LoadU16(block, 12);
    f.BitsPerSample = LoadU16(block, 14);
    return f;
}

}  // namespace pabuko
