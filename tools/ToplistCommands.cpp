// pabuko-tool toplist dump FILE: the ten entries of a toplist.dat, as the game reads them.
#include <iostream>
#include <nlohmann/json.hpp>

#include "ToolCommands.h"
#include "endgame/TopListFile.h"
#include "platform/TextEncoding.h"

namespace {

using Json = nlohmann::ordered_json;

const pabuko::tool::Registrar reg([](CLI::App& app) {
    auto* toplist = app.add_subcommand("toplist", "The top list file");
    toplist->require_subcommand(1);
    auto* dump = toplist->add_subcommand("dump", "Print the ten entries of a toplist.dat as JSON");
    auto file = std::make_shared<std::string>();
    dump->add_option("FILE", *file, "toplist.dat")->required();
    dump->callback([file] {
        auto load = pabuko::LoadTopListFile(*file);
        // The game would quietly start a fresh list here; the tool must not pass that off
        // as the file's content.
        if (load.State == pabuko::TopListFileState::Missing) {
            std::cerr << *file << ": no such file\n";
            pabuko::tool::SetExitCode(1);
            return;
        }
        if (load.State != pabuko::TopListFileState::Read) {
            std::cerr << *file
                      << (load.State == pabuko::TopListFileState::Damaged
                              ? ": damaged (shorter than 280 bytes)\n"
                              : ": cannot be read\n");
            pabuko::tool::SetExitCode(1);
            return;
        }
        Json entries = Json::array();
        for (const auto& e : load.Entries)
            entries.push_back(Json{{"Name", pabuko::Cp1250ToUtf8(e.Name)}, {"Points", e.Points}});
        std::cout << entries.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    });
});

}  // namespace
