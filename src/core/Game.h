#pragma once
// The rules of the game as operations over one GameState.
#include <cstdint>
#include <string>

#include "core/GameHost.h"
#include "core/GameState.h"
#include "core/LevelSetSource.h"
#include "core/TopListStore.h"

namespace pabuko {

// The codes EndLevel takes for a level lost.
enum LevelEnd : uint8_t {
    LevelEndOverflow = 255,    // a tile rests in the top row
    LevelEndOutOfTiles = 254,  // the level's tile supply ran out
};

// The keys the steering reads on an input frame.
struct SteerKeys {
    bool Right = false;
    bool Left = false;
    bool Down = false;
};

class Game {
  public:
    Game(GameState& state, GameHost& host, Clock& clock, SeedSource& seeds,
         LevelSetSource& levelSets, TopListStore& topList);

    GameState& State() { return state_; }
    const GameState& State() const { return state_; }
    GameHost& Host() { return host_; }

    // --- frame step (the part after CanDraw and the playfield drawing) ---
    // Steering on input frames (readKeys is called only then; it stands for
    // DXInput.Update), then FallStep unless the steering stopped the frame timer.
    template <typename ReadKeys>
    void FrameStep(ReadKeys&& readKeys) {
        if (state_.InputFrame) {
            Steer(readKeys());
            state_.InputFrame = false;
        } else {
            state_.InputFrame = true;
        }
        if (host_.TimerEnabled()) FallStep();
    }
    void Steer(const SteerKeys& keys);

    // --- fall and landing ---
    void FallStep();
    void CheckLevelEnd();
    // Whether the target word stands in `row`, at the right wall.
    bool WordStandsInRow(int row) const;

    // --- spawning ---
    void SpawnTile();
    // Random(n) of the game's generator: advances the seed first.
    uint32_t Random(uint32_t n);

    // --- level flow ---
    void NewGame();              // LoadLevelSet(false), StartLevel(0), "&Pauza" enabled
    bool StartLevel(uint8_t n);  // false: refused, nothing changed
    void ClearWell();
    // code: 1-127 the level is won (the word stood in row code - 1), or a LevelEnd code.
    bool EndLevel(uint8_t code);  // false: refused, nothing changed

    // --- level sets ---
    void LoadLevelSet(bool report);  // the set named Levels.LevelSetName

    // --- end-of-level window logic ---
    // The level being played, or an all-zero record when Level points past the table.
    const TLevel& CurrentRecord() const { return LevelRecord(state_.Level); }
    void PayLevelWon();           // stack bonuses and extra lives (modes 0 and 5)
    void AddLevelScore();         // LevelScore of the current level
    bool AnswerQuiz(int answer);  // adds QuizScore when right; returns whether right

    // --- top list ---
    int32_t BestScore() const;
    void EndGame();
    void EnterTopList();

  private:
    uint8_t DrawCode();  // the spawn's nested random choices
    bool StackOpen(bool left) const;
    void PushIntoStack(bool left);
    void LandLetter();
    void LandSpecial();

    // Safe views of the state for values a damaged level file or a script can hold.
    uint8_t CellAt(int column, int row) const;
    void KeepTileInWell();
    const TLevel& LevelRecord(int n) const;
    int PlayWidth() const;  // WordLength kept within 1 … 12
    void AddScore(int64_t points);

    GameState& state_;
    GameHost& host_;
    Clock& clock_;
    SeedSource& seeds_;
    LevelSetSource& levelSets_;
    TopListStore& topList_;
};

}  // namespace pabuko
