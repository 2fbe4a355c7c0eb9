#pragma once
// Reading scenario scripts: one command a line, checked whole before it runs, so that a
// line either means exactly one thing or stops the run. No Qt, no JSON: the engine tests
// cover it.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pabuko::scenario {

// A line the runner cannot read; what() is the reason, without the FILE:LINE prefix.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class Op {
    LevelSet,
    Load,
    NewGame,
    Start,
    EndLevel,
    Seed,
    Spawns,
    Cell,
    Stack,
    Falling,
    Set,
    Hold,
    Frames,
    Advance,
    Answer,
    Name,
    SaveTopList,
    Dump,
    DumpLevels,
    Expect,
    Show,
    Echo,
};

// The fields `set` may write, with the range of their type.
enum class Field {
    Score,
    Lives,
    TilesLeft,
    Level,
    BaseDelay,
    FallDelay,
    LeftStackFull,
    RightStackFull,
    InputFrame,
};

struct Command {
    Op op = Op::Dump;
    // Numeric arguments in the order the command names them (start N, cell C R CODE, …).
    std::vector<int64_t> numbers;
    // levelset: the name; name: the Windows-1250 bytes; expect: the path; echo: the text.
    std::string text;
    // expect: the expected value, already joined with single spaces.
    std::string value;
    bool flag = false;  // load report; stack left; name given
    Field field = Field::Score;
    bool holdLeft = false, holdRight = false, holdDown = false;
};

// The words of a line: everything from '#' on is dropped, the rest split on white space.
std::vector<std::string> SplitWords(std::string_view line);

// A decimal integer within [lo, hi]; throws ScriptError naming the word otherwise.
int64_t ParseNumber(const std::string& word, int64_t lo, int64_t hi, std::string_view what);

// nullopt for a line without words (blank or comment only).
std::optional<Command> ParseLine(std::string_view line);

}  // namespace pabuko::scenario
