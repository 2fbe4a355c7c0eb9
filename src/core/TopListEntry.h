#pragma once
// The ten best scores, rank 1 first, and the rule by which a score enters them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace pabuko {

constexpr std::size_t kTopListNameMax = 20;

struct TopListEntry {
    std::string Name;  // Windows-1250 bytes, at most kTopListNameMax
    int32_t Points = 0;
};

using TopListEntries = std::array<TopListEntry, 10>;

// The index a score of `points` takes: the first entry it beats, strictly, so that an equal
// score ranks below the older entry. The whole list is scanned (an edited file need not be
// sorted). -1 when it beats none of the ten.
inline int TopListRank(const TopListEntries& entries, int32_t points) {
    for (std::size_t rank = 0; rank < entries.size(); ++rank) {
        if (points > entries[rank].Points) return static_cast<int>(rank);
    }
    return -1;
}

// Puts `entry` in at its rank, moving the entries below it down by one (the last drops
// out). Returns the rank, or -1 when it ranks below all ten and nothing changed.
inline int InsertTopListEntry(TopListEntries& entries, const TopListEntry& entry) {
    const int rank = TopListRank(entries, entry.Points);
    if (rank < 0) return -1;
    for (std::size_t r = entries.size() - 1; r > static_cast<std::size_t>(rank); --r)
        entries[r] = entries[r - 1];
    entries[static_cast<std::size_t>(rank)] = entry;
    return rank;
}

}  // namespace pabuko
