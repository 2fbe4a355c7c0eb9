#include "core/EndOfLevel.h"

#include "core/Game.h"

namespace pabuko {

void RunEndOfLevel(Game& game, EndOfLevelWindow& window, uint8_t mode) {
    GameHost& host = game.Host();
    switch (mode) {
        case ModeLevelWon:
        case ModeLastLevelWon: {
            // The score grows in this order: stack bonuses, the level score, then the quiz.
            game.PayLevelWon();
            const bool last = mode == ModeLastLevelWon;
            if (!last) host.PlayWave(WaveLevelWon);
            window.ShowQuiz(
                last ? "Gratuluji! A teď poslední otázka..." : "Gratuluji! A teď otázka...",
                game.CurrentRecord());
            game.AddLevelScore();
            if (last) host.PlayWave(WaveLastLevelWon);
            window.Exec([&game](int k) { return game.AnswerQuiz(k); });
            return;
        }
        case ModeGameOver:
            host.PlayWave(WaveGameOver);
            window.ShowNotice("Game Over", "Skončili jsme jasná zpráva...");
            break;
        case ModeWellOverflowed:
            host.PlayWave(WaveLifeLost);
            window.ShowNotice("Ztratili jste život", "Móóóc kostek...");
            break;
        case ModeOutOfTiles:
            host.PlayWave(WaveLifeLost);
            window.ShowNotice("Ztratili jste život", "Málo kostek...");
            break;
        default:
            return;
    }
    window.Exec([](int) { return false; });
    if (mode == ModeGameOver) game.EndGame();
}

}  // namespace pabuko
