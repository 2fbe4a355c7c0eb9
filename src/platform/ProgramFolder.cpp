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

}  // namespace pabuko
