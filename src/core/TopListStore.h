#pragma once
// The top list as the rules see it: read once at start-up, ranked and entered at the end of a
// game, saved when the program closes. The toplist.dat store implements it; TopListInMemory
// (core/WindowlessHost.h) keeps a list that never touches a file.
#include <cstdint>

#include "core/TopListEntry.h"

namespace pabuko {

class GameHost;

class TopListStore {
  public:
    virtual ~TopListStore() = default;
    // The list as it stands, rank 1 first.
    virtual const TopListEntries& Entries() const = 0;
    // At start-up: the stored list, or the standard one; problems are told through host.
    virtual void Read(GameHost& host) = 0;
    // The index a score of `points` would take (TopListRank); -1 when it would not enter.
    virtual int Rank(int32_t points) const = 0;
    // Puts the entry in at its rank.
    virtual void Enter(const TopListEntry& entry) = 0;
    // Stores the list; false, after an error message through host, when it could not be.
    virtual bool Save(GameHost& host) = 0;
};

}  // namespace pabuko
