#include "display/FrameTimerCore.h"

#include <algorithm>
#include <cmath>

namespace pabuko {

void FrameTimerCore::SetInterval(int32_t interval) {
    interval_ = interval;
    compareInterval_ = static_cast<uint32_t>(std::max(interval, 0));
    divisorInterval_ = static_cast<uint32_t>(std::max(interval, 1));
}

void FrameTimerCore::Restart(uint32_t now) {
    previousTick_ = now;
    periodStart_ = now;
}

std::optional<int32_t> FrameTimerCore::Tick(uint32_t now) {
    const uint32_t elapsed = now - previousTick_;  // unsigned: right across the wrap
    if (elapsed < compareInterval_) return std::nullopt;
    previousTick_ = now;
    const int32_t lag = static_cast<int32_t>(std::max<uint32_t>(elapsed / divisorInterval_, 1));
    ++tickCount_;
    const int32_t period = std::max(static_cast<int32_t>(now - periodStart_), 1);
    if (period >= 1000) {
        // nearbyint rounds half to even in the default rounding mode
        frameRate_ = static_cast<int32_t>(std::nearbyint(double(tickCount_) * 1000.0 / period));
        tickCount_ = 0;
        periodStart_ = now;
    }
    return lag;
}

uint32_t FrameTimerCore::MsUntilDue(uint32_t now) const {
    const uint32_t elapsed = now - previousTick_;
    return elapsed >= compareInterval_ ? 0 : compareInterval_ - elapsed;
}

}  // namespace pabuko
