#pragma once
// The rules without a main window, for the tool, tests, benchmarks and fuzzers.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/Game.h"
#include "core/GameHost.h"

namespace pabuko {

// What the end-of-level window does with the rules when the player clicks `answer` at
// once: a won level (modes 0 and 5) pays out, adds the level score and takes the answer;
// after mode 1 the game ends. The other modes change nothing.
inline void CloseEndOfLevelAtOnce(Game& game, uint8_t mode, int answer) {
    if (mode == 0 || mode == 5) {
        game.PayLevelWon();
        game.AddLevelScore();
        game.AnswerQuiz(answer);
    } else if (mode == 1) {
        game.EndGame();
    }
}

// Loads and checks data: messages are kept instead of shown; every other call does nothing.
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

// Time moves only when the caller sets `now`.
class ManualClock : public Clock {
  public:
    explicit ManualClock(int64_t start = 0) : now(start) {}
    int64_t now;
    int64_t NowMs() override { return now; }
};

// The same seed before every spawn; queued codes are taken by the next spawns instead of
// drawn ones.
class ScriptedSeeds : public SeedSource {
  public:
    explicit ScriptedSeeds(uint32_t first = 0) : seed(first) {}
    uint32_t seed;
    int asked = 0;
    std::deque<uint8_t> forced;
    uint32_t NextSeed() override {
        ++asked;
        return seed;
    }
    std::optional<uint8_t> ForcedCode() override {
        if (forced.empty()) return std::nullopt;
        const uint8_t code = forced.front();
        forced.pop_front();
        return code;
    }
};

}  // namespace pabuko
