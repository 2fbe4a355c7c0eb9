#include "assets/WaveFile.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "assets/ObjectStream.h"

namespace pabuko {

namespace {

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint8_t* Set32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
    return p + 4;
}
uint8_t* SetId(uint8_t* p, const char* id) {
    std::memcpy(p, id, 4);
    return p + 4;
}
uint8_t* SetChunk(uint8_t* p, const char* id, const std::vector<uint8_t>& body) {
    p = Set32(SetId(p, id), static_cast<uint32_t>(body.size()));
    if (!body.empty()) std::memcpy(p, body.data(), body.size());
    return p + body.size();
}

}  // namespace

std::vector<uint8_t> MakePcmFormat(uint16_t channels, uint32_t samplesPerSec,
                                   uint16_t bitsPerSample) {
    const auto blockAlign = static_cast<uint16_t>(channels * (bitsPerSample / 8));
    std::vector<uint8_t> out;
    PutU16(out, kWaveFormatPcm);
    PutU16(out, channels);
    PutU32(out, samplesPerSec);
    PutU32(out, samplesPerSec * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, bitsPerSample);
    return out;
}

Wave ReadWavePayload(std::span<const uint8_t> payload) {
    if (payload.size() < 12) throw StreamError("Stream read error");
    if (std::memcmp(payload.data(), "RIFF", 4) != 0 ||
        std::memcmp(payload.data() + 8, "WAVE", 4) != 0)
        throw StreamError("Wave is invalid");

    // Sizes are unsigned and the position only grows, so every damaged chunk list ends.
    const uint64_t size = payload.size();
    uint64_t pos = 12;
    Wave wave;
    bool haveData = false;
    uint64_t dataPos = 0;
    uint64_t dataSize = 0;
    for (;;) {
        // A header cut short by the end reads as zeros there, like a short read would.
        std::array<uint8_t, 8> header{};
        const uint64_t got = pos < size ? std::min<uint64_t>(8, size - pos) : 0;
        if (got > 0) std::memcpy(header.data(), payload.data() + pos, got);
        pos += got;
        if (std::all_of(header.begin(), header.end(), [](uint8_t b) { return b == 0; })) break;
        const uint64_t chunkSize = Get32(header.data() + 4);
        if (std::memcmp(header.data(), "fmt ", 4) == 0) {
            if (pos > size || size - pos < chunkSize) throw StreamError("Stream read error");
            wave.Format.assign(payload.begin() + static_cast<std::ptrdiff_t>(pos),
                               payload.begin() + static_cast<std::ptrdiff_t>(pos + chunkSize));
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            haveData = true;
            dataPos = pos;
            dataSize = chunkSize;
        }
        pos += chunkSize;
    }
    if (haveData) {
        if (dataPos > size || size - dataPos < dataSize) throw StreamError("Stream read error");
        wave.Data.assign(payload.begin() + static_cast<std::ptrdiff_t>(dataPos),
                         payload.begin() + static_cast<std::ptrdiff_t>(dataPos + dataSize));
    }
    return wave;
}

std::vector<uint8_t> WriteWavePayload(const Wave& wave) {
    const uint64_t chunks = wave.Empty() ? 0 : 16 + uint64_t{wave.Format.size()} + wave.Data.size();
    if (chunks + 4 > UINT32_MAX) throw StreamError("Stream write error");
    std::vector<uint8_t> out(12 + chunks);
    uint8_t* p = SetId(out.data(), "RIFF");
    p = SetId(Set32(p, static_cast<uint32_t>(chunks + 4)), "WAVE");
    if (!wave.Empty()) SetChunk(SetChunk(p, "fmt ", wave.Format), "data", wave.Data);
    return out;
}

}  // namespace pabuko
