#pragma once
// Numbers in byte buffers, lowest byte first, as every file format of the game stores them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pabuko {

// The number stored at `at`; the caller has checked that its bytes are there.
inline uint16_t LoadU16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
inline uint32_t LoadU32(std::span<const uint8_t> b, size_t at) {
    return LoadU16(b, at) | static_cast<uint32_t>(LoadU16(b, at + 2)) << 16;
}

// Appends the bytes of v, lowest first.
inline void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace pabuko
