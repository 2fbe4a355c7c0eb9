// Scoring rules files are untrusted: any bytes give rules or none, the rules fill every
// level's scores, and what is read writes back to bytes that read the same (the record's
// padding byte is written as zero).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "levels/LevelSetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto rules = pabuko::ParseScoringRules(bytes);
    if (rules.has_value() != (size >= pabuko::kScoringRulesSize)) std::abort();
    if (!rules) return 0;
    if (pabuko::ParseScoringRules(pabuko::SerializeScoringRules(*rules)) != rules) std::abort();
    for (int n = 1; n <= pabuko::kMaxLevels; ++n) {
        pabuko::TLevel level;
        pabuko::ApplyScoringRules(level, *rules, n);
    }
    return 0;
}
