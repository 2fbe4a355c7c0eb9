#include "main/CommandLine.h"

namespace pabuko {

std::string HelpText() {
    return "Použití: pabuko [VOLBA]\n"
           "Hurbo's Pabuko: padající kostičky s písmeny, ze kterých skládáte slova.\n"
           "\n"
           "  --check-installation  spustí hru bez okna O hře, vypíše každý datový soubor,\n"
           "                        který nejde načíst, a skončí (s kódem 1, byl-li takový)\n"
           "  -h, --help            vypíše tuto nápovědu\n"
           "  -v, --version         vypíše verzi hry\n"
           "\n"
           "Hra přijímá i běžné volby Qt, například -platform wayland nebo -platform xcb.\n"
           "Celá obrazovka: F11. Podrobnosti: man pabuko, ve hře nápověda (F1).\n";
}

std::string VersionText() {
    return "Pabuko " PABUKO_VERSION
           "\n"
           "Program: GNU GPL verze 3 nebo novější; data hry: CC BY-SA 4.0.\n";
}

std::optional<TerminalAnswer> AnswerWithoutWindow(const std::vector<std::string>& arguments) {
    for (const std::string& a : arguments) {
        if (a == "--") break;
        if (a == "-h" || a == "--help") return TerminalAnswer{HelpText(), 0};
        if (a == "-v" || a == "--version") return TerminalAnswer{VersionText(), 0};
    }
    return std::nullopt;
}

}  // namespace pabuko
