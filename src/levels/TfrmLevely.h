#pragma once
// TfrmLevely: the choice of the level set. OK makes the chosen set the current one and
// loads it with a report; during a game it asks first and ends that game.
#include "assets/ChoiceDialog.h"

namespace pabuko {

class Game;
struct GameState;

class TfrmLevely : public ChoiceDialog {
    Q_OBJECT
  public:
    TfrmLevely(GameState& state, Game& game, QWidget* parent);

  protected:
    std::vector<std::string> Names() const override;
    void Choose(const std::string& name) override;

  private:
    GameState& state_;
    Game& game_;
};

}  // namespace pabuko
