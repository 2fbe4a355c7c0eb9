#pragma once
// The level sets in the program folder's data/levels: a set's .qvl file and its optional
// .qvlb scoring rules, read into the level table with the player's messages.
#include <string>

#include "core/LevelSetSource.h"

namespace pabuko {

class LevelSetLoader : public LevelSetSource {
  public:
    // programFolder ends in '/'.
    explicit LevelSetLoader(std::string programFolder = {});

    const std::string& ProgramFolder() const { return programFolder_; }
    void Load(LevelTable& table, GameHost& host, bool report) override;

  private:
    std::string programFolder_;
};

}  // namespace pabuko
