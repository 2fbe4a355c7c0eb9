// pabuko-tool scenario FILE [--root DIR]: runs the real rules from a script.
#include <fstream>
#include <iostream>

#include "ScenarioRunner.h"
#include "ToolCommands.h"

namespace {

const pabuko::tool::Registrar reg([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "scenario", "Run the game's rules from a script and print the dumps it asks for");
    auto file = std::make_shared<std::string>();
    auto root = std::make_shared<std::string>(".");
    cmd->add_option("FILE", *file, "Scenario script")->required();
    cmd->add_option("--root", *root, "Program folder (data/, toplist.dat)");
    cmd->callback([file, root] {
        std::ifstream script(*file, std::ios::binary);
        if (!script) {
            std::cerr << *file << ": cannot be read\n";
            pabuko::tool::SetExitCode(pabuko::scenario::kRunScriptError);
            return;
        }
        pabuko::tool::SetExitCode(
            pabuko::scenario::RunScenario(script, *file, *root, std::cout, std::cerr));
    });
});

}  // namespace
