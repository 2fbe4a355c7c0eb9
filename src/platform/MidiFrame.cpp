#include "platform/MidiFrame.h"

namespace pabuko {

bool LooksLikeMidiFile(std::span<const uint8_t> b) {
    if (b.size() < 14 || b[0] != 'M' || b[1] != 'T' || b[2] != 'h' || b[3] != 'd') return false;
    const uint32_t length =
        uint32_t(b[4]) << 24 | uint32_t(b[5]) << 16 | uint32_t(b[6]) << 8 | b[7];
    const unsigned format = b[8] << 8 | b[9];
    const unsigned tracks = b[10] << 8 | b[11];
    const unsigned division = b[12] << 8 | b[13];
    if (length < 6 || format > 2 || tracks < 1 || division == 0) return false;
    // Every track chunk the header announces must be there in full.
    size_t pos = 8 + size_t(length);
    unsigned found = 0;
    while (found < tracks && pos <= b.size() && b.size() - pos >= 8) {
        const uint32_t size = uint32_t(b[pos + 4]) << 24 | uint32_t(b[pos + 5]) << 16 |
                              uint32_t(b[pos + 6]) << 8 | b[pos + 7];
        if (size > b.size() - pos - 8) return false;
        if (b[pos] == 'M' && b[pos + 1] == 'T' && b[pos + 2] == 'r' && b[pos + 3] == 'k') ++found;
        pos += 8 + size_t(size);
    }
    return found == tracks;
}

}  // namespace pabuko
