#pragma once
#include <string>

namespace pabuko {

// The folder of the running executable (symbolic links resolved), ending in '/'.
std::string ExecutableFolder();

// The folder that holds data/ and docs/: the executable's own folder when data/ is there
// (a build, or a game unpacked in one folder), else ../share/pabuko beside it (an installed
// game, whatever the prefix). When neither has data/, the executable's folder, so that the
// game reports the missing files there. Ends in '/'.
std::string FindProgramFolder(const std::string& executableFolder);

}  // namespace pabuko
