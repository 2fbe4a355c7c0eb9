#include "platform/UserFolders.h"

#include <cstdlib>
#include <string_view>

namespace pabuko {

namespace {

// The spec says a relative value is to be ignored, as if it were not set.
std::string BaseFolder(const char* variable, std::string_view homeRelative) {
    if (const char* v = std::getenv(variable); v != nullptr && v[0] == '/') {
        std::string s(v);
        if (s.back() != '/') s += '/';
        return s;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return {};
    std::string s(home);
    if (s.back() != '/') s += '/';
    s += homeRelative;
    return s;
}

std::string GameFolder(const char* variable, std::string_view homeRelative) {
    std::string base = BaseFolder(variable, homeRelative);
    return base.empty() ? base : base + "pabuko/";
}

}  // namespace

std::string UserDataFolder() {
    return GameFolder("XDG_DATA_HOME", ".local/share/");
}

std::string UserConfigFolder() {
    return GameFolder("XDG_CONFIG_HOME", ".config/");
}

std::string UserLevelsFolder() {
    std::string data = UserDataFolder();
    return data.empty() ? data : data + "levels/";
}

}  // namespace pabuko
