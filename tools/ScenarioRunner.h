#pragma once
// Runs the real rules from a scenario script with a scripted host, clock and seeds.
#include <iosfwd>
#include <string>

namespace pabuko::scenario {

// Exit statuses of a run.
constexpr int kRunOk = 0;
constexpr int kRunExpectFailed = 1;
constexpr int kRunScriptError = 2;

// Runs the script read from `script` (named `fileName` in messages) with `root` as the
// program folder. Dumps go to `out`, one JSON line each; a line that cannot be read or an
// expectation that fails is reported on `err` as "FILE:LINE: reason" and ends the run.
int RunScenario(std::istream& script, const std::string& fileName, const std::string& root,
                std::ostream& out, std::ostream& err);

}  // namespace pabuko::scenario
