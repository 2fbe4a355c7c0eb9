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

// The "render" command, under which the display controls put their drawings; made by the
// first one to ask, whichever registers first.
inline CLI::App* RenderCommand(CLI::App& app) {
    const auto found = app.get_subcommands([](CLI::App* a) { return a->get_name() == "render"; });
    if (!found.empty()) return found.front();
    CLI::App* render = app.add_subcommand("render", "Draw display controls into PNG files");
    render->require_subcommand(1);
    return render;
}

void SetExitCode(int code);
int ExitCode();

}  // namespace pabuko::tool
