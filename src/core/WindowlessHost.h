#pragma once
// The rules without a main window, for the tool, tests, benchmarks and fuzzers.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/EndOfLevel.h"
#include "core/Game.h"
#include "core/GameHost.h"
#include "core/LevelSetSource.h"
#include "core/TopListStore.h"

namespace pabuko {

// In place of the main window for the tool, tests, benchmarks and fuzzers: records every
// call, keeps messages instead of showing them, and closes the end-of-level window at once.
class WindowlessHost : public GameHost {
  public:
    struct Message {
        std::string caption;
        MessageIcon icon;
        std::string text;
    };
    std::vector<Message> messages;
    // Host calls in order: "wave N", "otevri N", "EndGame", "blank", "name prompt",
    // "top list", "message CAPTION|ICON|TEXT".
    std::vector<std::string> calls;
    bool recordCalls = true;
    bool timer = false;
    bool pauseEnabled = false;
    bool canDraw = true;
    std::string name = "anonym";
    // When set, the end-of-level window runs as the player would use it, clicking
    // `answer` at once; otherwise it is only recorded.
    Game* game = nullptr;
    int answer = 1;

    void PlayWave(int index) override { Record("wave " + std::to_string(index)); }
    void OpenEndOfLevel(uint8_t mode) override {
        Record("otevri " + std::to_string(mode));
        if (!game) return;
        AnswerAtOnce window(answer);
        RunEndOfLevel(*game, window, mode);
    }
    void ShowMessage(const std::string& caption, MessageIcon icon,
                     const std::string& text) override {
        static const char* const icons[] = {"error", "warning", "information", "question"};
        Record("message " + caption + "|" + icons[static_cast<int>(icon)] + "|" + text);
        messages.push_back({caption, icon, text});
    }
    std::string AskName() override {
        Record("name prompt");
        return name;
    }
    void ShowTopList() override { Record("top list"); }
    void SetTimerEnabled(bool enabled) override { timer = enabled; }
    bool TimerEnabled() const override { return timer; }
    bool CanDraw() override { return canDraw; }
    void BlankPlayfield() override { Record("blank"); }
    void SetPauseEnabled(bool enabled) override { pauseEnabled = enabled; }
    void OnEndGame() override { Record("EndGame"); }

  private:
    void Record(std::string call) {
        if (recordCalls) calls.push_back(std::move(call));
    }
};

// For games whose caller fills the level table itself: loading leaves it as it is.
class LevelTableAsIs : public LevelSetSource {
  public:
    void Load(LevelTable&, GameHost&, bool) override {}
};

// A top list that lives in memory only: it starts empty (ten entries of 0 points) and is
// never read or written.
class TopListInMemory : public TopListStore {
  public:
    TopListEntries entries;
    const TopListEntries& Entries() const override { return entries; }
    void Read(GameHost&) override {}
    int Rank(int32_t points) const override { return TopListRank(entries, points); }
    void Enter(const TopListEntry& entry) override { InsertTopListEntry(entries, entry); }
    bool Save(GameHost&) override { return true; }
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
