#pragma once
// The ten best scores, rank 1 first.
#include <array>
#include <cstdint>
#include <string>

namespace pabuko {

struct TopListEntry {
    std::string Name;  // Windows-1250 bytes, at most 20
    int32_t Points = 0;
};

using TopListEntries = std::array<TopListEntry, 10>;

}  // namespace pabuko
