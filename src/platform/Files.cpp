#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

FileKind ProbeFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileKind::Missing;
        return errno == ELOOP ? FileKind::Loop : FileKind::Unreadable;
    }
    if (S_ISDIR(st.st_mode)) return FileKind::Folder;
    // A pipe would block the reader and a device has no end.
    if (!S_ISREG(st.st_mode) || ::access(path.c_str(), R_OK) != 0) return FileKind::Unreadable;
    return FileKind::Regular;
}

std::string FileKindProblem(FileKind kind) {
    switch (kind) {
        case FileKind::Regular:
            return {};
        case FileKind::Missing:
            return "soubor neexistuje";
        case FileKind::Folder:
            return "na jeho místě je složka";
        case FileKind::Loop:
            return "je to smyčka symbolických odkazů";
        case FileKind::Unreadable:
            return "chybí právo ke čtení, nebo to není obyčejný soubor";
    }
    return {};
}

std::string StripExtension(const std::string& name) {
    return name.size() <= 4 ? std::string() : name.substr(0, name.size() - 4);
}

}  // namespace pabuko
