#include "core/Game.h"
#include "core/TileTable.h"

namespace pabuko {

void Game::PayLevelWon() {
    GameState& s = state_;
    const TLevel& rules = CurrentRecord();
    // All slots are summed first and added in one step.
    int64_t points = 0;
    for (const auto* stack : {&s.LeftStack, &s.RightStack}) {
        for (const uint8_t code : *stack) {
            const SpecialTile* tile = FindSpecialTile(code);
            if (!tile) continue;
            if (tile->Stacked == InStack::Pays) points += rules.*tile->StackScore;
            if (tile->Stacked == InStack::ExtraLife && s.Lives < 5) s.Lives += 1;
        }
    }
    AddScore(points);
}

void Game::AddLevelScore() {
    AddScore(CurrentRecord().LevelScore);
}

bool Game::AnswerQuiz(int answer) {
    const TLevel& rules = CurrentRecord();
    // A right answer outside 1–4 in the level file makes every answer wrong.
    const bool right = answer >= 1 && answer <= 4 && rules.RightAnswer == answer;
    if (right) AddScore(rules.QuizScore);
    return right;
}

}  // namespace pabuko
