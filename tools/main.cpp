#include <CLI/CLI.hpp>
#include <iostream>

#include "ToolCommands.h"

namespace pabuko::tool {

std::vector<AddCommands>& Registry() {
    static std::vector<AddCommands> registry;
    return registry;
}

namespace {
int exitCode = 0;
}

void SetExitCode(int code) {
    exitCode = code;
}
int ExitCode() {
    return exitCode;
}

}  // namespace pabuko::tool

int main(int argc, char** argv) {
    CLI::App app{"pabuko-tool: builds the game's data files, inspects them and runs scenarios"};
    app.require_subcommand(1);
    for (auto& add : pabuko::tool::Registry()) add(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "pabuko-tool: " << e.what() << '\n';
        return 1;
    }
    return pabuko::tool::ExitCode();
}
