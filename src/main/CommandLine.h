#pragma once
// What the game answers on the terminal before it opens a window: --help and --version work
// also where there is no display.
#include <optional>
#include <string>
#include <vector>

namespace pabuko {

struct TerminalAnswer {
    std::string text;  // for standard output, ending in a newline
    int status = 0;
};

// The answer to -h/--help or -v/--version among `arguments` (without the program's name),
// whichever comes first; nothing when neither is asked for (the game starts). "--" ends the
// options.
std::optional<TerminalAnswer> AnswerWithoutWindow(const std::vector<std::string>& arguments);

std::string HelpText();
std::string VersionText();

}  // namespace pabuko
