#pragma once
// Runs pabuko-tool as the build runs it and hands back its exit status and standard output.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace pabuko::art_test {

struct ToolRun {
    int status;
    std::string out;
};

inline ToolRun Tool(const std::string& args) {
    const std::string command =
        "QT_QPA_PLATFORM=offscreen " + std::string(PABUKO_TOOL) + " " + args + " 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return {-1, {}};
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

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
