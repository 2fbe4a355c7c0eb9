#include "platform/Files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace pabuko {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::optional<std::string> ReadWholeFile(const std::string& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    if (limit == std::string::npos) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        bytes.resize(limit);
        in.read(bytes.data(), static_cast<std::streamsize>(limit));
        bytes.resize(static_cast<size_t>(in.gcount()));
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::vector<std::string> FilesWithExtension(const std::string& folder, std::string_view extension) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() >= extension.size() &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0)
            names.push_back(name);
    }
    return names;
}

std::string StripExtension(const std::string& name) {
    return name.size() <= 4 ? std::string() : name.substr(0, name.size() - 4);
}

}  // namespace pabuko
