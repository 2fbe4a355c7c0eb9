#pragma once
// Reading whole files and listing a folder, for the loaders, the windows and the tool.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pabuko {

// Whether `path` names a regular file (a link to one counts); false on any error.
bool FileExists(const std::string& path);

// Whether anything at all stands at `path`; false on any error.
bool PathExists(const std::string& path);

// The file's bytes, at most `limit` of them; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t limit = std::string::npos);

// The names (without the folder) of the entries in `folder` that end in `extension`, in the
// order the folder gives them; none when the folder cannot be read.
std::vector<std::string> FilesWithExtension(const std::string& folder, std::string_view extension);

// What stands at a path, as far as reading it as a file goes.
enum class FileKind {
    Regular,     // a file (or a link to one)
    Missing,     // nothing, or a link to nothing
    Folder,      // a folder where a file should be
    Loop,        // symbolic links that lead round in a circle
    Unreadable,  // no permission, or something that is no file (a pipe, a device)
};
FileKind ProbeFile(const std::string& path);
// Why a file of this kind cannot be read, in Czech, for a message ("je to složka").
std::string FileKindProblem(FileKind kind);

// A file name less its last four characters (".qvl", ".qvs").
std::string StripExtension(const std::string& name);

}  // namespace pabuko
