#include "ScenarioRunner.h"

#include <algorithm>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "JsonDump.h"
#include "ScenarioScript.h"
#include "core/Game.h"
#include "core/WindowlessHost.h"
#include "endgame/TopListFileStore.h"
#include "levels/LevelSetLoader.h"
#include "platform/TextEncoding.h"

namespace pabuko::scenario {

namespace {

using Json = nlohmann::ordered_json;

Json Codes(const auto& cells) {
    Json codes = Json::array();
    for (uint8_t c : cells) codes.push_back(c);
    return codes;
}

// The folder the data/ and toplist.dat of a run are in, ending in '/'.
std::string Folder(std::string root) {
    if (root.empty()) root = ".";
    if (root.back() != '/') root += '/';
    return root;
}

class Runner {
  public:
    Runner(const std::string& root)
        : levelSets_(Folder(root)),
          topList_(Folder(root)),
          game_(state_, host_, clock_, seeds_, levelSets_, topList_) {
        host_.game = &game_;
        state_.Levels.LevelSetName = "new";
        topList_.Read(host_);
    }

    // Throws ScriptError for a line it cannot run; returns false when an expectation failed
    // (the reason in `failure`).
    bool Run(const Command& cmd, std::ostream& out) {
        switch (cmd.op) {
            case Op::LevelSet:
                state_.Levels.LevelSetName = cmd.text;
                break;
            case Op::Load:
                game_.LoadLevelSet(cmd.flag);
                break;
            case Op::NewGame:
                game_.NewGame();
                break;
            case Op::Start:
                game_.StartLevel(static_cast<uint8_t>(cmd.numbers[0]));
                break;
            case Op::EndLevel:
                game_.EndLevel(static_cast<uint8_t>(cmd.numbers[0]));
                break;
            case Op::Seed:
                seeds_.seed = static_cast<uint32_t>(cmd.numbers[0]);
                break;
            case Op::Spawns:
                for (auto code : cmd.numbers) seeds_.forced.push_back(static_cast<uint8_t>(code));
                break;
            case Op::Cell:
                state_.Well[cmd.numbers[0]][cmd.numbers[1]] = static_cast<uint8_t>(cmd.numbers[2]);
                break;
            case Op::Stack:
                (cmd.flag ? state_.LeftStack : state_.RightStack)[cmd.numbers[0]] =
                    static_cast<uint8_t>(cmd.numbers[1]);
                break;
            case Op::Falling:
                state_.Falling.Code = static_cast<uint8_t>(cmd.numbers[0]);
                state_.Falling.Column = static_cast<int8_t>(cmd.numbers[1]);
                state_.Falling.Row = static_cast<uint8_t>(cmd.numbers[2]);
                break;
            case Op::Set:
                Set(cmd.field, cmd.numbers[0]);
                break;
            case Op::Hold:
                keys_ = {cmd.holdRight, cmd.holdLeft, cmd.holdDown};
                break;
            case Op::Frames:
                for (int64_t i = 0; i < cmd.numbers[0]; ++i) {
                    clock_.now += 40;
                    if (host_.TimerEnabled() && host_.CanDraw())
                        game_.FrameStep([this] { return keys_; });
                }
                break;
            case Op::Advance:
                clock_.now += cmd.numbers[0];
                break;
            case Op::Answer:
                host_.answer = static_cast<int>(cmd.numbers[0]);
                break;
            case Op::Name:
                host_.name = cmd.text;
                break;
            case Op::SaveTopList:
                topList_.Save(host_);
                break;
            case Op::Dump:
                out << Dump().dump(-1, ' ', false, Json::error_handler_t::replace) << '\n'
                    << std::flush;
                host_.calls.clear();
                break;
            case Op::DumpLevels:
                out << DumpLevels(static_cast<int>(cmd.numbers[0]))
                           .dump(-1, ' ', false, Json::error_handler_t::replace)
                    << '\n'
                    << std::flush;
                break;
            case Op::Expect:
                return Expect(cmd.text, cmd.value);
            case Op::Show:
                out << Picture() << std::flush;
                break;
            case Op::Echo:
                out << cmd.text << '\n' << std::flush;
                break;
        }
        return true;
    }

    std::string failure;

  private:
    void Set(Field field, int64_t v) {
        switch (field) {
            case Field::Score:
                state_.Score = static_cast<int32_t>(v);
                break;
            case Field::Lives:
                state_.Lives = static_cast<uint8_t>(v);
                break;
            case Field::TilesLeft:
                state_.TilesLeft = static_cast<uint16_t>(v);
                break;
            case Field::Level:
                state_.Level = static_cast<uint8_t>(v);
                break;
            case Field::BaseDelay:
                state_.BaseDelay = static_cast<uint16_t>(v);
                break;
            case Field::FallDelay:
                state_.FallDelay = static_cast<uint16_t>(v);
                break;
            case Field::LeftStackFull:
                state_.LeftStackFull = v != 0;
                break;
            case Field::RightStackFull:
                state_.RightStackFull = v != 0;
                break;
            case Field::InputFrame:
                state_.InputFrame = v != 0;
                break;
        }
    }

    Json Dump() const {
        Json well = Json::array();
        for (const auto& column : state_.Well) well.push_back(Codes(column));
        Json top = Json::array();
        for (const auto& e : topList_.Entries())
            top.push_back(Json{{"Name", Cp1250ToUtf8(e.Name)}, {"Points", e.Points}});
        return Json{{"Level", state_.Level},
                    {"Lives", state_.Lives},
                    {"Score", state_.Score},
                    {"TopScore", state_.TopScore},
                    {"TilesLeft", state_.TilesLeft},
                    {"TargetWord", Cp1250ToUtf8(state_.TargetWord)},
                    {"WordLength", state_.WordLength},
                    {"BaseDelay", state_.BaseDelay},
                    {"FallDelay", state_.FallDelay},
                    {"Falling",
                     {{"Code", state_.Falling.Code},
                      {"Column", static_cast<int>(state_.Falling.Column)},
                      {"Row", state_.Falling.Row}}},
                    {"Well", well},
                    {"LeftStack", Codes(state_.LeftStack)},
                    {"RightStack", Codes(state_.RightStack)},
                    {"LeftStackFull", state_.LeftStackFull},
                    {"RightStackFull", state_.RightStackFull},
                    {"TimerEnabled", host_.TimerEnabled()},
                    {"TopList", top},
                    {"events", host_.calls}};
    }

    // A text picture of the playfield for people: the well with the falling tile in
    // brackets, the side stacks beside it (slot 0 at the bottom, their mouths in rows 4
    // and 5 marked "==", or "XX" when full), and the word under its columns. Special
    // tiles show their codes.
    std::string Picture() const {
        const GameState& s = state_;
        const int width = std::clamp<int>(s.WordLength, 0, kWellColumns);
        auto tile = [](uint8_t code) {
            if (code >= TileA && code <= TileZ)
                return std::string(1, static_cast<char>('A' + code - 1));
            return std::to_string(code);
        };
        auto cell = [&](uint8_t code, bool playable) -> std::string {
            if (code == 0) return playable ? "  · " : "    ";
            auto t = tile(code);
            return t.size() == 1 ? "  " + t + " " : " " + t + " ";
        };
        auto slot = [&](const std::array<uint8_t, kStackSlots>& stack, int row, bool full) {
            if (row == 4 || row == 5) return std::string(full ? " XX " : " == ");
            if (row < kWellRows - kStackSlots) return std::string("    ");
            uint8_t code = stack[kWellRows - 1 - row];
            return code == 0 ? std::string("  _ ") : cell(code, true);
        };
        std::string text =
            "Level " + std::to_string(s.Level) + "/" + std::to_string(s.Levels.LevelCount) + " \"" +
            Cp1250ToUtf8(s.TargetWord) + "\"   score " + std::to_string(s.Score) + "   best " +
            std::to_string(s.TopScore) + "   lives " + std::to_string(s.Lives) + "   tiles left " +
            std::to_string(s.TilesLeft) + "\n";
        const std::string border = "    +" + std::string(4 * kWellColumns, '-') + "+\n";
        text += border;
        for (int row = 0; row < kWellRows; ++row) {
            text += slot(s.LeftStack, row, s.LeftStackFull) + "|";
            for (int column = 0; column < kWellColumns; ++column) {
                const bool playable = column >= kWellColumns - width;
                const bool falling = s.Level != 0 && s.Falling.Column == column &&
                                     s.Falling.Row == row && s.Falling.Code != 0;
                text += falling
                            ? (tile(s.Falling.Code).size() == 1 ? " [" + tile(s.Falling.Code) + "]"
                                                                : "[" + tile(s.Falling.Code) + "]")
                            : cell(s.Well[column][row], playable);
            }
            text += '|';
            text += slot(s.RightStack, row, s.RightStackFull);
            text += '\n';
        }
        text += border + "     ";
        for (int column = 0; column < kWellColumns; ++column) {
            const int i = column - (kWellColumns - width);
            const bool under = i >= 0 && i < static_cast<int>(s.TargetWord.size());
            text += under ? "  " + std::string(1, s.TargetWord[i]) + " " : "    ";
        }
        return text + "\n";
    }

    Json DumpLevels(int count) const {
        Json levels = Json::array();
        for (int n = 1; n <= count; ++n) levels.push_back(tool::LevelRecordJson(state_.Levels[n]));
        return Json{{"LevelSetName", state_.Levels.LevelSetName},
                    {"LevelCount", state_.Levels.LevelCount},
                    {"Levels", levels}};
    }

    // `expect PATH VALUE`: PATH names a member of the dump (dots between the steps, numbers
    // index arrays), or LevelSetName, LevelCount or Levels.N.FIELD (N the level number).
    // VALUE is read as JSON when it parses, else as a plain text.
    bool Expect(const std::string& path, const std::string& value) {
        Json doc = Dump();
        doc["LevelSetName"] = state_.Levels.LevelSetName;
        doc["LevelCount"] = state_.Levels.LevelCount;
        Json levels = Json::array();
        for (int n = 0; n <= kMaxLevels; ++n)
            levels.push_back(tool::LevelRecordJson(state_.Levels[n]));
        doc["Levels"] = std::move(levels);

        const Json* node = &doc;
        size_t start = 0;
        while (start <= path.size()) {
            size_t dot = path.find('.', start);
            std::string step = path.substr(start, dot == std::string::npos ? dot : dot - start);
            if (node->is_object() && node->contains(step)) {
                node = &(*node)[step];
            } else if (node->is_array()) {
                auto index =
                    ParseNumber(step, 0, static_cast<int64_t>(node->size()) - 1, "expect " + path);
                node = &(*node)[static_cast<size_t>(index)];
            } else {
                throw ScriptError("expect: no member '" + step + "' in '" + path + "'");
            }
            if (dot == std::string::npos) break;
            start = dot + 1;
        }
        Json expected = Json::parse(value, nullptr, false);
        if (expected.is_discarded()) expected = value;
        if (*node == expected) return true;
        failure = "expected " + path + " = " + expected.dump() + ", got " +
                  node->dump(-1, ' ', false, Json::error_handler_t::replace);
        return false;
    }

    GameState state_;
    WindowlessHost host_;
    ManualClock clock_;
    ScriptedSeeds seeds_{1};
    LevelSetLoader levelSets_;
    TopListFileStore topList_;
    Game game_;
    SteerKeys keys_;
};

}  // namespace

int RunScenario(std::istream& script, const std::string& fileName, const std::string& root,
                std::ostream& out, std::ostream& err) {
    Runner runner(root);
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        try {
            auto cmd = ParseLine(line);
            if (!cmd) continue;
            if (!runner.Run(*cmd, out)) {
                out << std::flush;
                err << fileName << ':' << number << ": " << runner.failure << '\n';
                return kRunExpectFailed;
            }
        } catch (const ScriptError& e) {
            out << std::flush;
            err << fileName << ':' << number << ": " << e.what() << '\n';
            return kRunScriptError;
        }
    }
    return kRunOk;
}

}  // namespace pabuko::scenario
