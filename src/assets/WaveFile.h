#pragma once
// TWave: a wave format block and its samples, and the RIFF WAVE image that a wave list
// file stores for it in the "Wave.WAVE" entry.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/WaveFormat.h"

namespace pabuko {

struct Wave {
    // The platform's wave format record, kept byte for byte whatever its length.
    std::vector<uint8_t> Format;
    std::vector<uint8_t> Data;

    bool Empty() const { return Format.empty() && Data.empty(); }
    bool operator==(const Wave&) const = default;
};

// A 16-byte PCM record.
std::vector<uint8_t> MakePcmFormat(uint16_t channels, uint32_t samplesPerSec,
                                   uint16_t bitsPerSample);

// Reads a "Wave.WAVE" payload. Chunks follow each other with no pad byte; reading stops at
// a header of zero bytes or at the end. Throws StreamError: "Stream read error" for a
// payload shorter than 12 bytes or one that ends inside a chunk it needs, "Wave is invalid"
// when the first 12 bytes are not "RIFF", size, "WAVE".
Wave ReadWavePayload(std::span<const uint8_t> payload);

// The payload for a wave: the RIFF header, then a "fmt " and a "data" chunk, unpadded. An
// empty wave gets the bare 12-byte header so that it loads again.
std::vector<uint8_t> WriteWavePayload(const Wave& wave);

}  // namespace pabuko
