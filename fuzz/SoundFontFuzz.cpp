// The soundfont reduced to a track. The first two bytes choose the instrument asked for (the
// high bit of the first the drum kits), the rest is the soundfont. Any bytes are read in
// bounds; what is reduced is a soundfont the reduction reads again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/SoundFontSubset.h"

namespace {

std::optional<pabuko::SoundFontSubset> Reduce(const uint8_t* data, size_t size,
                                              const pabuko::TrackInstruments& track) {
    return pabuko::SoundFontSubset::Make(
        [data, size](uint64_t offset, void* out, size_t n) {
            if (offset > size || n > size - offset) return false;
            std::memcpy(out, data + offset, n);
            return true;
        },
        size, track);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int number = (data[0] & 0x80 ? 128 * 128 : 0) + (data[0] & 0x7f);
    std::bitset<128> keys;
    keys.set(data[1] & 0x7f);
    keys.set((data[1] + 40) & 0x7f);
    const pabuko::TrackInstruments track{{number, keys}};
    const auto subset = Reduce(data + 2, size - 2, track);
    if (!subset) return 0;
    std::vector<uint8_t> reduced(subset->Size());
    if (!subset->Read(0, reduced.data(), reduced.size())) std::abort();
    uint8_t byte;
    if (subset->Read(subset->Size(), &byte, 1)) std::abort();
    if (!Reduce(reduced.data(), reduced.size(), track)) std::abort();
    return 0;
}
