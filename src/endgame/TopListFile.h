#pragma once
// toplist.dat: ten entries of 28 bytes, rank 1 first, little-endian.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/TopListEntry.h"

namespace pabuko {

constexpr std::size_t kTopListFileSize = 280;
constexpr std::size_t kTopListEntrySize = 28;

// Ten times "anonym" with 0 points.
TopListEntries StandardTopList();

// The 280 bytes of the file; names longer than 20 bytes are cut, unused bytes are zero.
std::string EncodeTopList(const TopListEntries& entries);
// Reads the first 280 bytes; a name length above 20 is read as 20. Shorter input
// gives the standard list.
TopListEntries DecodeTopList(std::string_view bytes);

enum class TopListFileState {
    Read,        // the file's entries
    Missing,     // no such file: the standard list
    Damaged,     // shorter than 280 bytes: the standard list
    Unreadable,  // there, but it cannot be read (permissions, I/O error, a folder)
};

struct TopListLoad {
    TopListFileState State = TopListFileState::Missing;
    TopListEntries Entries;
};

// Reads a top list file without touching it.
TopListLoad LoadTopListFile(const std::filesystem::path& path);
// Moves a damaged file aside to the first free name of path + ".bak", ".bak.1", ".bak.2", …
// and returns that name; empty when no backup could be made. An existing backup is
// never replaced.
std::filesystem::path KeepDamagedTopList(const std::filesystem::path& path);

// Writes through a temporary file of its own (two running copies never share one), flushed
// to disk before it replaces the old file, so a crash, a power cut or a full disk never
// leaves a broken list behind. A list that is a symbolic link is written where the link
// leads; a write-protected list is left as it is. False when it failed.
bool WriteTopListFile(const std::filesystem::path& path, const TopListEntries& entries);

// The file a save replaces: the list itself, or where its symbolic links lead (also when
// the target does not exist yet). Empty when the links go round in a circle.
std::filesystem::path TopListTarget(const std::filesystem::path& path);
// The list exists and its write permission is taken away: the player wants it kept.
bool TopListWriteProtected(const std::filesystem::path& path);
// Removes the temporary files of saves that were killed before they could finish
// (path + ".XXXXXXXX.tmp"). Only with the lock held: no other save is then under way.
void RemoveStaleTopListTemps(const std::filesystem::path& path);

// An exclusive lock on path + ".lock", held from reading the list on disk until the merged
// list has replaced it, so that two copies of the game saving at once keep both their
// entries. A second copy waits for it at most `waitMs`.
class TopListLock {
  public:
    explicit TopListLock(const std::filesystem::path& path, int waitMs = 5000);
    ~TopListLock();
    TopListLock(const TopListLock&) = delete;
    TopListLock& operator=(const TopListLock&) = delete;
    bool Held() const { return fd_ >= 0; }
    // Not held because another copy held it all the time (not because the lock file
    // could not be made).
    bool Busy() const { return busy_; }

  private:
    int fd_ = -1;
    bool busy_ = false;
};

}  // namespace pabuko
