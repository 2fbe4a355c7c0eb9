#pragma once
// The art tests' helpers: the tool, a scratch folder and the build folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "RunTool.h"

namespace pabuko::art_test {

using testing::Tool;
using testing::ToolRun;

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
  public:
    explicit TempDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::filesystem::path BuildDir() {
    const char* dir = std::getenv("PABUKO_BUILD_DIR");
    return dir ? dir : PABUKO_BUILD_FOLDER;
}

}  // namespace pabuko::art_test
