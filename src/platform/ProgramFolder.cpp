#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace pabuko {

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    auto folder = ec ? std::filesystem::current_path(ec) : exe.parent_path();
    std::string s = folder.string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

std::string FindProgramFolder(const std::string& executableFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path own(executableFolder);
    if (fs::is_directory(own / "data", ec)) return executableFolder;
    const fs::path shared = (own / ".." / "share" / "pabuko").lexically_normal();
    if (fs::is_directory(shared / "data", ec)) {
        std::string s = shared.string();
        if (s.back() != '/') s += '/';
        return s;
    }
    return executableFolder;
}

}  // namespace pabuko
