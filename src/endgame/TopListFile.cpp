#include "endgame/TopListFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <thread>

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
    std::string bytes(kTopListFileSize, '\0');
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char* entry = bytes.data() + i * kTopListEntrySize;
        const std::size_t length = std::min(entries[i].Name.size(), kTopListNameMax);
        entry[0] = static_cast<char>(length);
        entries[i].Name.copy(entry + 1, length);
        const auto points = static_cast<uint32_t>(entries[i].Points);
        for (int b = 0; b < 4; ++b) entry[24 + b] = static_cast<char>((points >> (8 * b)) & 0xFF);
    }
    return bytes;
}

TopListEntries DecodeTopList(std::string_view bytes) {
    if (bytes.size() < kTopListFileSize) return StandardTopList();
    TopListEntries entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto* entry =
            reinterpret_cast<const unsigned char*>(bytes.data()) + i * kTopListEntrySize;
        const std::size_t length = std::min<std::size_t>(entry[0], kTopListNameMax);
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
    // Whatever keeps us from the bytes says nothing about the list inside: such a file is
    // left alone rather than taken for damaged.
    load.State = TopListFileState::Unreadable;
    if (ec || status.type() == fs::file_type::directory) return load;

    std::ifstream in(path, std::ios::binary);
    if (!in) return load;
    std::string bytes(kTopListFileSize, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) return load;
    if (got < kTopListFileSize) {
        load.State = TopListFileState::Damaged;
        return load;
    }
    load.State = TopListFileState::Read;
    load.Entries = DecodeTopList(bytes);
    return load;
}

fs::path KeepDamagedTopList(const fs::path& path) {
    for (int n = 0; n < 1000; ++n) {
        fs::path backup = path;
        backup += n == 0 ? std::string(".bak") : ".bak." + std::to_string(n);
        // link() refuses an existing name, so a backup made meanwhile by another copy of
        // the game is never replaced.
        if (::link(path.c_str(), backup.c_str()) == 0) {
            ::unlink(path.c_str());
            return backup;
        }
        if (errno == EEXIST) continue;
        // No hard links here (some file systems): copy, again without replacing anything.
        std::error_code ec;
        if (fs::exists(backup, ec) || ec) continue;
        if (fs::copy_file(path, backup, fs::copy_options::none, ec) && !ec) {
            fs::remove(path, ec);
            return backup;
        }
        return {};
    }
    return {};
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

bool WriteTopListFile(const fs::path& listPath, const TopListEntries& entries) {
    const fs::path path = TopListTarget(listPath);
    if (path.empty() || TopListWriteProtected(path)) return false;
    const std::string bytes = EncodeTopList(entries);
    std::random_device random;
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        temp = path;
        temp += suffix;
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    std::error_code ec;
    if (written && closed) {
        fs::rename(temp, path, ec);
        if (!ec) {
            SyncFolder(path.parent_path());
            return true;
        }
    }
    fs::remove(temp, ec);
    return false;
}

fs::path TopListTarget(const fs::path& path) {
    fs::path target = path;
    // As many links as the system itself follows.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(target, ec)) return target;
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) return {};
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return {};
}

bool TopListWriteProtected(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    // The mode bits also for root, whom access() would let write anything.
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

void RemoveStaleTopListTemps(const fs::path& path) {
    const std::string prefix = path.filename().string() + '.';
    std::error_code ec;
    for (fs::directory_iterator it(path.parent_path().empty() ? "." : path.parent_path(), ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // Exactly the names WriteTopListFile makes: eight hex digits, then ".tmp".
        if (name.size() != prefix.size() + 12 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string digits = name.substr(prefix.size(), 8);
        if (digits.find_first_not_of("0123456789abcdef") != std::string::npos) continue;
        std::error_code removed;
        if (it->is_regular_file(removed) && !it->is_symlink(removed))
            fs::remove(it->path(), removed);
    }
}

TopListLock::TopListLock(const fs::path& path, int waitMs) {
    fs::path lock = path;
    lock += ".lock";
    fd_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0) return;
    // Polled, so that a copy of the game that hangs with the lock cannot hang this one.
    for (int waited = 0;; waited += 20) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (waited >= waitMs) {
            busy_ = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::close(fd_);
    fd_ = -1;
}

TopListLock::~TopListLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace pabuko
