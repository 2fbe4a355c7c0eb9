#include "endgame/TopListFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <system_error>

namespace pabuko {

namespace fs = std::filesystem;

TopListEntries StandardTopList() {
    TopListEntries entries;
    for (auto& e : entries) {
        e.Name = "anonym";
        e.Points = 0;
    }
    return entries;
}

std::string EncodeTopList(const TopListEntries& entries) {
    std::string bytes(TopListFileSize, '\0');
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char* entry = bytes.data() + i * TopListEntrySize;
        const std::size_t length = std::min(entries[i].Name.size(), TopListNameMax);
        entry[0] = static_cast<char>(length);
        entries[i].Name.copy(entry + 1, length);
        const auto points = static_cast<uint32_t>(entries[i].Points);
        for (int b = 0; b < 4; ++b) entry[24 + b] = static_cast<char>((points >> (8 * b)) & 0xFF);
    }
    return bytes;
}

TopListEntries DecodeTopList(std::string_view bytes) {
    if (bytes.size() < TopListFileSize) return StandardTopList();
    TopListEntries entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto* entry =
            reinterpret_cast<const unsigned char*>(bytes.data()) + i * TopListEntrySize;
        const std::size_t length = std::min<std::size_t>(entry[0], TopListNameMax);
        entries[i].Name.assign(reinterpret_cast<const char*>(entry + 1), length);
        uint32_t points = 0;
        for (int b = 0; b < 4; ++b) points |= static_cast<uint32_t>(entry[24 + b]) << (8 * b);
        entries[i].Points = static_cast<int32_t>(points);
    }
    return entries;
}

TopListLoad LoadTopListFile(const fs::path& path) {
    TopListLoad load;
    load.Entries = StandardTopList();
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        load.State = TopListFileState::Missing;
        return load;
    }
    load.State = TopListFileState::Damaged;
    if (ec || status.type() == fs::file_type::directory) return load;

    std::ifstream in(path, std::ios::binary);
    if (!in) return load;
    std::string bytes(TopListFileSize, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::size_t>(in.gcount()) < TopListFileSize) return load;

    load.State = TopListFileState::Read;
    load.Entries = DecodeTopList(bytes);
    return load;
}

bool KeepDamagedTopList(const fs::path& path) {
    std::error_code ec;
    fs::path backup = path;
    backup += ".bak";
    fs::rename(path, backup, ec);
    if (!ec) return true;
    // Renaming can fail where copying does not (a backup name already taken by a file we
    // may not replace by renaming, another file system).
    ec.clear();
    return fs::copy_file(path, backup, fs::copy_options::overwrite_existing, ec) && !ec;
}

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; some file systems cannot sync a folder, which loses
// nothing that was not already at risk.
void SyncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool WriteTopListFile(const fs::path& path, const TopListEntries& entries) {
    fs::path temp = path;
    temp += ".tmp";
    const std::string bytes = EncodeTopList(entries);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    // The new list is on the disk before its name replaces the old one's, so a crash or a
    // power cut leaves one complete list or the other.
    bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    std::error_code ec;
    if (written) {
        fs::rename(temp, path, ec);
        if (!ec) {
            SyncFolder(path.parent_path());
            return true;
        }
    }
    fs::remove(temp, ec);
    return false;
}

}  // namespace pabuko
