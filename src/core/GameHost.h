#pragma once
// Everything the rules need from the windows and the platform. The main window
// implements it; tests and the scenario runner fake it.
#include <cstdint>
#include <optional>
#include <string>

namespace pabuko {

enum class MessageIcon { Error, Warning, Information, Question };

class GameHost {
public:
    virtual ~GameHost() = default;

    // Plays wave i without waiting, if the wave list is loaded and "Hrát zvuky" is checked.
    virtual void PlayWave(int index) = 0;
    // The end-of-level window (otevri): modal, returns after it has closed. In mode 1
    // the window itself calls Game::EndGame after closing. In modes 0 and 5 the score
    // grows in this order: Game::PayLevelWon (stack bonuses, extra lives), then
    // Game::AddLevelScore, then Game::AnswerQuiz(k) for the first answer clicked only.
    // The mode's wave: mode 0 plays it between the payout and AddLevelScore, mode 5
    // plays it last, after AddLevelScore; modes 1-3 play it before showing the window.
    virtual void OpenEndOfLevel(uint8_t mode) = 0;
    // A modal message box with OK. Text is UTF-8; a line break is a single '\r'.
    virtual void ShowMessage(const std::string& caption, MessageIcon icon,
                             const std::string& text) = 0;
    // The name prompt "Zápis do TopListu"; returns Windows-1250 bytes, "anonym" on Cancel.
    virtual std::string AskName() = 0;
    // The top list window, modal.
    virtual void ShowTopList() = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;
    virtual bool TimerEnabled() const = 0;
    // Whether the drawing surface can draw.
    virtual bool CanDraw() = 0;
    // Fill the back buffer with black and present it.
    virtual void BlankPlayfield() = 0;
    // Enables or disables the menu item "&Pauza".
    virtual void SetPauseEnabled(bool enabled) = 0;
    // Game::EndGame calls this first thing, before it touches anything; the scenario
    // runner records it so that a script sees where a game ended.
    virtual void OnEndGame() {}
};

// Monotonic milliseconds, for the fall.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t NowMs() = 0;
};

// The value the random generator is re-seeded with before every spawn.
class SeedSource {
public:
    virtual ~SeedSource() = default;
    virtual uint32_t NextSeed() = 0;
    // A spawn that makes a tile asks this first (after the TilesLeft test) and takes the
    // code instead of drawing one; the rest of SpawnTile runs as usual. Scripts use it
    // to dictate tiles.
    virtual std::optional<uint8_t> ForcedCode() { return std::nullopt; }
};

}  // namespace pabuko
