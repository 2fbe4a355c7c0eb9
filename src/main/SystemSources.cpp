#include "main/SystemSources.h"

#include <chrono>

namespace pabuko {

int64_t SteadyClock::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

uint32_t CounterSeedSource::NextSeed() {
    return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace pabuko
