#include "core/GameState.h"

namespace pabuko {

std::string StripExtension(const std::string& name) {
    return name.size() <= 4 ? std::string() : name.substr(0, name.size() - 4);
}

}  // namespace pabuko
