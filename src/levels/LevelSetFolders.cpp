#include "levels/LevelSetFolders.h"

#include <algorithm>

#include "platform/Files.h"
#include "platform/UserFolders.h"

namespace pabuko {
namespace {

bool HoldsSet(const std::string& folder, const std::string& name) {
    return !folder.empty() && FileExists(folder + name + ".qvl");
}

}  // namespace

std::string ShippedLevelsFolder(const std::string& programFolder) {
    return programFolder + "data/levels/";
}

std::string LevelSetBase(const std::string& programFolder, const std::string& name) {
    const std::string shipped = ShippedLevelsFolder(programFolder);
    if (name == "new" || HoldsSet(shipped, name)) return shipped + name;
    const std::string own = UserLevelsFolder();
    if (HoldsSet(own, name)) return own + name;
    return shipped + name;
}

std::vector<std::string> UserLevelSetNames(const std::vector<std::string>& shipped) {
    std::vector<std::string> names;
    const std::string folder = UserLevelsFolder();
    if (folder.empty()) return names;
    for (std::string& file : FilesWithExtension(folder, ".qvl")) {
        std::string name = StripExtension(file);
        // A name ending in a full stop is no set, as among the shipped ones.
        if (name.empty() || name.back() == '.' || name == "new") continue;
        if (std::find(shipped.begin(), shipped.end(), name) != shipped.end()) continue;
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace pabuko
