#include "levels/TfrmLevely.h"

#include <QMessageBox>

#include "core/Game.h"
#include "core/GameState.h"
#include "levels/LevelSetFolders.h"

namespace pabuko {

TfrmLevely::TfrmLevely(GameState& state, Game& game, std::string programFolder, QWidget* parent)
    : ChoiceDialog(QStringLiteral("Vyberte levely"), parent),
      state_(state),
      game_(game),
      programFolder_(std::move(programFolder)) {}

std::vector<std::string> TfrmLevely::Names() const {
    // "*.qvl" alone would also catch the scoring files (".qvlb") on some systems; the
    // exact extension keeps them out. A name ending in a full stop is no set.
    std::vector<std::string> names;
    for (std::string& name : ListDataFiles(ShippedLevelsFolder(programFolder_), ".qvl"))
        if (!name.empty() && name.back() != '.') names.push_back(std::move(name));
    // The player's own sets follow; one named like a shipped set would never be loaded.
    for (std::string& name : UserLevelSetNames(names)) names.push_back(std::move(name));
    return names;
}

void TfrmLevely::Choose(const std::string& name) {
    const bool running = state_.Level != 0;
    if (running) {
        const auto answer = QMessageBox::question(
            this, QStringLiteral("Opravdu?"),
            QStringLiteral("Pokud vyberete jiné levely, současná hra bude zrušena. "
                           "Chcete pokračovat?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) return;
    }
    state_.Levels.LevelSetName = name;
    // The ended game is judged for the top list by the new set's name.
    if (running) game_.EndGame();
    game_.LoadLevelSet(true);
}

}  // namespace pabuko
