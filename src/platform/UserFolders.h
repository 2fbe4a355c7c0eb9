#pragma once
// The player's own folders, as the XDG base directories name them: the top list and the
// player's level sets under the data home, the settings under the config home.
#include <string>

namespace pabuko {

// $XDG_DATA_HOME/pabuko/ (an absolute XDG_DATA_HOME only), else ~/.local/share/pabuko/.
// Ends in '/'; empty when neither the variable nor HOME gives an absolute folder.
std::string UserDataFolder();

// $XDG_CONFIG_HOME/pabuko/, else ~/.config/pabuko/; same rules.
std::string UserConfigFolder();

// The player's own level sets: UserDataFolder() + "levels/" (empty when that is empty).
std::string UserLevelsFolder();

}  // namespace pabuko
