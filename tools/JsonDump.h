#pragma once
// JSON views of game data shared by the tool's dumps; scenario tests compare this output
// byte for byte, so field order and types are fixed here once.
#include <nlohmann/json.hpp>

#include "core/LevelTable.h"

namespace pabuko::tool {

// One level record, texts as UTF-8, fields in the order of the level file.
nlohmann::ordered_json LevelRecordJson(const TLevel& level);

}  // namespace pabuko::tool
