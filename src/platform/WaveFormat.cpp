#include "platform/WaveFormat.h"

#include <cstddef>

namespace pabuko {

std::optional<WaveFormat> ParseWaveFormat(std::span<const uint8_t> block) {
    if (block.size() < 16) return std::nullopt;
    const auto u16 = [block](size_t at) {
        return static_cast<uint16_t>(block[at] | block[at + 1] << 8);
    };
    const auto u32 = [u16](size_t at) {
        return u16(at) | static_cast<uint32_t>(u16(at + 2)) << 16;
    };
    WaveFormat f;
    f.Tag = u16(0);
    f.Channels = u16(2);
    f.SamplesPerSec = u32(4);
    f.AvgBytesPerSec = u32(8);
    f.BlockAlign = u16(12);
    f.BitsPerSample = u16(14);
    return f;
}

}  // namespace pabuko
