#pragma once
// Where the rules get a level set from. The level files' loader implements it; tests and
// fuzzers that fill the table themselves use LevelTableAsIs (core/WindowlessHost.h).
#include "core/LevelTable.h"

namespace pabuko {

class GameHost;

class LevelSetSource {
  public:
    virtual ~LevelSetSource() = default;
    // Loads the set named table.LevelSetName into the table. What goes wrong is told to the
    // player through host and leaves the table as it was; with `report`, so is a success.
    virtual void Load(LevelTable& table, GameHost& host, bool report) = 0;
};

}  // namespace pabuko
