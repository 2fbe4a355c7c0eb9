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

// Where earlier versions kept the top list: the data home + "Hurbo's Pabuko/" (the game's
// display name). Same rules as UserDataFolder().
std::string OldUserDataFolder();

// Moves the file `name` from `fromFolder` into `toFolder` (made when missing), once: a file
// already in `toFolder` is never replaced (both then stay as they are), and the old file goes
// only when the new one is whole. The old folder goes too when that leaves it empty. Only a
// plain file moves. True when it was moved.
bool MoveFileOnce(const std::string& fromFolder, const std::string& toFolder,
                  const std::string& name);

}  // namespace pabuko
