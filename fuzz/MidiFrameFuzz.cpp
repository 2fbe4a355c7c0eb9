// The check a music file passes before the synthesizer is given it, and the walk through its
// events for the instruments it plays. Any bytes are read in bounds, and the verdict depends
// only on the header and the chunks it announces: bytes after the last announced track never
// turn a good file bad, and a file cut inside a chunk it needs is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/MidiFrame.h"
#include "platform/SoundFontSubset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const bool good = pabuko::LooksLikeMidiFile(bytes);
    // What a track plays is read of a good frame only.
    if (pabuko::InstrumentsOfTrack(bytes) && !good) std::abort();
    if (!good) return 0;

    // Where the announced tracks end, walked the plain way.
    const auto be32 = [&](size_t p) {
        return uint32_t(data[p]) << 24 | uint32_t(data[p + 1]) << 16 | uint32_t(data[p + 2]) << 8 |
               data[p + 3];
    };
    const unsigned tracks = data[10] << 8 | data[11];
    size_t end = 8 + size_t(be32(4));
    for (unsigned found = 0; found < tracks;) {
        if (end + 8 > size) std::abort();
        if (data[end] == 'M' && data[end + 1] == 'T' && data[end + 2] == 'r' &&
            data[end + 3] == 'k')
            ++found;
        end += 8 + size_t(be32(end + 4));
        if (end > size) std::abort();
    }

    std::vector<uint8_t> copy(data, data + end);
    if (!pabuko::LooksLikeMidiFile(copy)) std::abort();
    copy.push_back(0);
    copy.insert(copy.end(), data, data + size);
    if (!pabuko::LooksLikeMidiFile(copy)) std::abort();
    copy.resize(end - 1);
    if (pabuko::LooksLikeMidiFile(copy)) std::abort();
    return 0;
}
