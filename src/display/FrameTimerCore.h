#pragma once
// The arithmetic of the frame timer, apart from any event loop: when a tick is due,
// its LagCount and the measured frame rate. Times are 32-bit milliseconds that wrap.
#include <cstdint>
#include <optional>

namespace pabuko {

class FrameTimerCore {
  public:
    void SetInterval(int32_t interval);
    int32_t Interval() const { return interval_; }
    int32_t FrameRate() const { return frameRate_; }

    // A start or resume: the first tick comes one interval later and a new
    // measuring period begins; the tick count and FrameRate stay.
    void Restart(uint32_t now);
    // The tick test: nullopt while less than the interval has passed since the
    // previous tick, otherwise the tick's LagCount (at least 1).
    std::optional<int32_t> Tick(uint32_t now);
    // Milliseconds until the next tick may come (0 when it is due already).
    uint32_t MsUntilDue(uint32_t now) const;

  private:
    int32_t interval_ = 1000;
    uint32_t compareInterval_ = 1000;  // max(Interval, 0)
    uint32_t divisorInterval_ = 1000;  // max(Interval, 1)
    int32_t frameRate_ = 0;
    int32_t tickCount_ = 0;
    uint32_t previousTick_ = 0;
    uint32_t periodStart_ = 0;
};

}  // namespace pabuko
