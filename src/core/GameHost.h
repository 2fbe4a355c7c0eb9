#pragma once
// Everything the rules need from the windows and the platform. The main window
// implements it; tests and the scenario runner fake it.
#include <cstdint>
#include <optional>
#include <string>

namespace pabuko {

enum class MessageIcon { Error, Warning, Information, Question };

// The sound effects: indexes into the wave list.
enum WaveNumber : int {
    WaveLanding = 0,      // a tile lands or is pushed into a side stack
    WaveClear = 1,        // two letters clear, or tile 28 removes one below it
    WaveRemove2 = 2,      // tile 29 removes two below it
    WaveRemove3 = 3,      // tile 30 removes three
    WaveClearColumn = 4,  // a column or a whole side stack is emptied
    WaveDeleteRow = 5,    // part of a row is deleted
    WaveStackFull = 6,    // a side stack's last slot is filled
    WaveLifeLost = 7,
    WaveGameOver = 8,
    WaveLevelWon = 9,
    WaveLastLevelWon = 10,
};

// What the end-of-level window is opened for.
enum EndOfLevelMode : uint8_t {
    ModeLevelWon = 0,        // a quiz, then the next level
    ModeGameOver = 1,        // no life left, or the program closes during a game
    ModeWellOverflowed = 2,  // a life lost: a tile rests in the top row
    ModeOutOfTiles = 3,      // a life lost: the level's tile supply ran out
    ModeLastLevelWon = 5,    // the last quiz, then the game ends
};

class GameHost {
  public:
    virtual ~GameHost() = default;

    // Plays wave i without waiting, if the wave list is loaded and "Hrát zvuky" is checked.
    virtual void PlayWave(int index) = 0;
    // The end-of-level window (otevri) for an EndOfLevelMode: modal, returns after it
    // has closed. Implementations run RunEndOfLevel (core/EndOfLevel.h), which
    // pays out, plays the mode's wave and ends the game after game over.
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
