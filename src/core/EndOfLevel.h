#pragma once
// The end-of-level window's part in the rules, apart from how it looks: what it shows in
// each mode, in which order the score grows and which wave sounds.
#include <cstdint>
#include <functional>
#include <string>

#include "core/LevelTable.h"

namespace pabuko {

class Game;

// The window RunEndOfLevel drives. Texts given as std::string are UTF-8; the level's
// own texts stay Windows-1250 bytes in the record.
class EndOfLevelWindow {
  public:
    virtual ~EndOfLevelWindow() = default;
    // A won level: the title, the level's Question, a button for each non-empty answer and
    // the points display with QuizScore. The window may close only after an answer.
    virtual void ShowQuiz(const std::string& title, const TLevel& level) = 0;
    // A lost life or game over: title, text and the close button; it may close at once.
    virtual void ShowNotice(const std::string& title, const std::string& text) = 0;
    // Shows the window modally and returns after it has closed. The first answer clicked
    // (1-4) goes to `answer`, which scores it and says whether it was right.
    virtual void Exec(const std::function<bool(int)>& answer) = 0;
};

// otevri(mode): prepares the window for an EndOfLevelMode (paying out a won level), shows
// it and, after game over, ends the game once it has closed. Unknown modes do nothing.
void RunEndOfLevel(Game& game, EndOfLevelWindow& window, uint8_t mode);

// A window that is never seen: the quiz gets `answer` at once.
class AnswerAtOnce : public EndOfLevelWindow {
  public:
    explicit AnswerAtOnce(int answer = 1) : answer(answer) {}
    int answer;
    void ShowQuiz(const std::string&, const TLevel&) override { quiz_ = true; }
    void ShowNotice(const std::string&, const std::string&) override { quiz_ = false; }
    void Exec(const std::function<bool(int)>& onAnswer) override {
        if (quiz_) onAnswer(answer);
    }

  private:
    bool quiz_ = false;
};

}  // namespace pabuko
