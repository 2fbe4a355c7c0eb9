#pragma once
// toplist.dat: ten entries of 28 bytes, rank 1 first, little-endian.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/TopListEntry.h"

namespace pabuko {

constexpr std::size_t TopListFileSize = 280;
constexpr std::size_t TopListEntrySize = 28;

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
// leaves a broken list behind. False when it failed.
bool WriteTopListFile(const std::filesystem::path& path, const TopListEntries& entries);

}  // namespace pabuko
