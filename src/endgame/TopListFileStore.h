#pragma once
// The top list in toplist.dat: in the game's folder, or in the player's own folder when the
// game's folder cannot be written (an installed game).
#include <filesystem>
#include <string>
#include <vector>

#include "core/TopListStore.h"

namespace pabuko {

class TopListFileStore : public TopListStore {
  public:
    // Both folders end in '/'. An empty userFolder keeps the list in gameFolder; otherwise
    // the list lives in userFolder, and the one in gameFolder is only its starting copy.
    explicit TopListFileStore(std::string gameFolder = {}, std::string userFolder = {});

    const std::string& GameFolder() const { return gameFolder_; }
    const std::string& UserFolder() const { return userFolder_; }
    std::filesystem::path Path() const;

    const TopListEntries& Entries() const override { return entries_; }
    void Read(GameHost& host) override;
    int Rank(int32_t points) const override;
    void Enter(const TopListEntry& entry) override;
    bool Save(GameHost& host) override;

    // The list in memory, as if it had been read (for the tool and tests); this run has
    // then entered nothing.
    void SetEntries(const TopListEntries& entries);

  private:
    std::string gameFolder_;
    std::string userFolder_;
    TopListEntries entries_;
    // A toplist.dat that could not be read, or a damaged one that could not be backed up,
    // is never overwritten.
    bool fileProtected_ = false;
    // The entries this run has put into the list: the closing save merges them into the
    // list on disk, which another copy of the game may have changed meanwhile.
    std::vector<TopListEntry> added_;
};

}  // namespace pabuko
