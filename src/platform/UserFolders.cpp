#include "platform/UserFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

namespace pabuko {

namespace {

// The XDG rule: a relative value is ignored, as if the variable were not set.
std::string BaseFolder(const char* variable, std::string_view homeRelative) {
    if (const char* v = std::getenv(variable); v != nullptr && v[0] == '/') {
        std::string s(v);
        if (s.back() != '/') s += '/';
        return s;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    std::string s(home);
    if (s.back() != '/') s += '/';
    s += homeRelative;
    return s;
}

std::string GameFolder(const char* variable, std::string_view homeRelative) {
    std::string base = BaseFolder(variable, homeRelative);
    return base.empty() ? base : base + "pabuko/";
}

// A whole copy of `from` as the new file `to`, on the disk before it counts.
bool CopyWhole(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::ifstream in(from, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) return false;
    const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool whole = done == bytes.size() && ::fsync(fd) == 0;
    return ::close(fd) == 0 && whole;
}

}  // namespace

std::string OldUserDataFolder() {
    std::string base = BaseFolder("XDG_DATA_HOME", ".local/share/");
    return base.empty() ? base : base + "Hurbo's Pabuko/";
}

bool MoveFileOnce(const std::string& fromFolder, const std::string& toFolder,
                  const std::string& name) {
    namespace fs = std::filesystem;
    if (fromFolder.empty() || toFolder.empty() || name.empty()) return false;
    std::error_code ec;
    const fs::path from = fs::path(fromFolder) / name;
    const fs::path to = fs::path(toFolder) / name;
    if (!fs::is_regular_file(fs::symlink_status(from, ec))) return false;
    if (fs::exists(fs::symlink_status(to, ec))) return false;
    fs::create_directories(toFolder, ec);
    if (ec) return false;
    // A hard link puts the same file into the new folder in one step, and fails rather
    // than replace a file that has just appeared there.
    bool moved = ::link(from.c_str(), to.c_str()) == 0;
    if (!moved && errno == EEXIST) return false;
    if (!moved) {
        // Another file system, or one without links: a whole copy, linked in the same way.
        const fs::path part = to.string() + ".moving";
        ::unlink(part.c_str());
        moved = CopyWhole(from, part) && ::link(part.c_str(), to.c_str()) == 0;
        ::unlink(part.c_str());
        if (!moved) return false;
    }
    ::unlink(from.c_str());
    fs::remove(fromFolder, ec);  // only when empty
    return true;
}

std::string UserDataFolder() {
    return GameFolder("XDG_DATA_HOME", ".local/share/");
}

std::string UserConfigFolder() {
    return GameFolder("XDG_CONFIG_HOME", ".config/");
}

std::string UserLevelsFolder() {
    std::string data = UserDataFolder();
    return data.empty() ? data : data + "levels/";
}

}  // namespace pabuko
