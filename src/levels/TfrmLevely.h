#pragma once
// TfrmLevely: the choice of the level set. OK makes the chosen set the current one and
// loads it with a report; during a game it asks first and ends that game.
#include <string>

#include "assets/ChoiceDialog.h"

namespace pabuko {

class Game;
struct GameState;

class TfrmLevely : public ChoiceDialog {
    Q_OBJECT
  public:
    // programFolder (ending in '/') holds the sets in data/levels.
    TfrmLevely(GameState& state, Game& game, std::string programFolder, QWidget* parent);

  protected:
    std::vector<std::string> Names() const override;
    void Choose(const std::string& name) override;

  private:
    GameState& state_;
    Game& game_;
    std::string programFolder_;
};

}  // namespace pabuko
