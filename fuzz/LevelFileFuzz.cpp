// Level and scoring files are untrusted: any bytes must parse without a crash or an
// out-of-bounds read, and whatever is kept must be a table the game can index.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "levels/LevelSetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto rules = pabuko::ParseScoringRules(bytes).value_or(pabuko::ScoringRules{});
    const auto set = pabuko::ParseLevelFile(bytes, rules);
    if (set.LevelCount > pabuko::kMaxLevels) std::abort();
    if (!set.Damaged && set.Levels.size() != set.LevelCount) std::abort();
    if (set.Damaged && !set.Levels.empty()) std::abort();
    return 0;
}
