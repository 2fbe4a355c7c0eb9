#pragma once
// The rules without a main window: for loading and checking data from the tool, tests and
// benchmarks. Messages are kept instead of shown; every other host call does nothing.
#include <string>
#include <vector>

#include "core/GameHost.h"

namespace pabuko {

class WindowlessHost : public GameHost {
  public:
    struct Message {
        std::string caption;
        MessageIcon icon;
        std::string text;
    };
    std::vector<Message> messages;
    bool canDraw = true;

    void PlayWave(int) override {}
    void OpenEndOfLevel(uint8_t) override {}
    void ShowMessage(const std::string& caption, MessageIcon icon,
                     const std::string& text) override {
        messages.push_back({caption, icon, text});
    }
    std::string AskName() override { return "anonym"; }
    void ShowTopList() override {}
    void SetTimerEnabled(bool) override {}
    bool TimerEnabled() const override { return false; }
    bool CanDraw() override { return canDraw; }
    void BlankPlayfield() override {}
    void SetPauseEnabled(bool) override {}
};

// Time that does not pass.
class StillClock : public Clock {
  public:
    int64_t now = 0;
    int64_t NowMs() override { return now; }
};

// The same seed before every spawn.
class FixedSeeds : public SeedSource {
  public:
    uint32_t seed = 0;
    uint32_t NextSeed() override { return seed; }
};

}  // namespace pabuko
