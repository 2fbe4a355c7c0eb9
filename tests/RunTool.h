#pragma once
// Runs pabuko-tool as the build runs it and hands back its exit status and what it printed.
// The test's CMake target names the program in PABUKO_TOOL.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace pabuko::testing {

struct ToolRun {
    int status;  // -1 when it could not run or did not exit
    std::string out;
};

// What becomes of the tool's standard error: dropped, or read with its output.
enum class ToolErrors { Dropped, Read };

inline ToolRun Tool(const std::string& args, ToolErrors errors = ToolErrors::Dropped) {
    const std::string command = "QT_QPA_PLATFORM=offscreen " + std::string(PABUKO_TOOL) + " " +
                                args + (errors == ToolErrors::Read ? " 2>&1" : " 2>/dev/null");
    FILE* p = popen(command.c_str(), "r");
    if (!p) return {-1, {}};
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

}  // namespace pabuko::testing
