#pragma once
#include <string>

namespace pabuko {

// The folder of the running executable, ending in '/'.
std::string ExecutableFolder();

}  // namespace pabuko
