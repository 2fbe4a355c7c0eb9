#include "endgame/TopListFile.h"

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

bool WriteTopListFile(const fs::path& path, const TopListEntries& entries) {
    fs::path temp = path;
    temp += ".tmp";
    const std::string bytes = EncodeTopList(entries);
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    std::error_code ec;
    if (!out.fail()) {
        fs::rename(temp, path, ec);
        if (!ec) return true;
    }
    fs::remove(temp, ec);
    return false;
}

}  // namespace pabuko
