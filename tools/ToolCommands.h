#pragma once
// Subcommands of pabuko-tool register themselves at start-up:
//   static const pabuko::tool::Registrar reg([](CLI::App& app) { ... });
// Each adds its subcommand to the app and sets its callback. A callback reports its
// exit status through pabuko::tool::SetExitCode.
#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

namespace pabuko::tool {

using AddCommands = std::function<void(CLI::App&)>;

std::vector<AddCommands>& Registry();

struct Registrar {
    explicit Registrar(AddCommands add) { Registry().push_back(std::move(add)); }
};

void SetExitCode(int code);
int ExitCode();

}  // namespace pabuko::tool
