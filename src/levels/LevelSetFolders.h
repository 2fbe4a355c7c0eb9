#pragma once
// Where a level set lives: the sets shipped in data/levels, then the player's own sets in
// UserLevelsFolder(). A shipped name always means the shipped set.
#include <string>
#include <vector>

namespace pabuko {

// The folder of the shipped sets under the program folder, ending in '/'.
std::string ShippedLevelsFolder(const std::string& programFolder);

// The path of set `name` without its extension: the shipped folder's when it holds
// name.qvl or when `name` is "new" (the top list counts only the shipped standard set),
// else the player's folder's when that holds name.qvl, else the shipped folder's, so that
// a missing set is reported as before.
std::string LevelSetBase(const std::string& programFolder, const std::string& name);

// The player's own sets (names without ".qvl"), less every name in `shipped`, in the order
// the file system gives them. Empty when the folder is missing.
std::vector<std::string> UserLevelSetNames(const std::vector<std::string>& shipped);

}  // namespace pabuko
