#include "ScenarioScript.h"

#include <charconv>
#include <limits>
#include <map>

#include "platform/TextEncoding.h"

namespace pabuko::scenario {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

struct FieldInfo {
    Field field;
    int64_t lo, hi;
};

const std::map<std::string, FieldInfo, std::less<>>& Fields() {
    static const std::map<std::string, FieldInfo, std::less<>> fields = {
        {"Score",
         {Field::Score, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}},
        {"Lives", {Field::Lives, 0, 255}},
        {"TilesLeft", {Field::TilesLeft, 0, 65535}},
        {"Level", {Field::Level, 0, 255}},
        {"BaseDelay", {Field::BaseDelay, 0, 65535}},
        {"FallDelay", {Field::FallDelay, 0, 65535}},
        {"LeftStackFull", {Field::LeftStackFull, 0, 1}},
        {"RightStackFull", {Field::RightStackFull, 0, 1}},
        {"InputFrame", {Field::InputFrame, 0, 1}},
    };
    return fields;
}

const std::map<std::string, Op, std::less<>>& Ops() {
    static const std::map<std::string, Op, std::less<>> ops = {
        {"levelset", Op::LevelSet},
        {"load", Op::Load},
        {"newgame", Op::NewGame},
        {"start", Op::Start},
        {"endlevel", Op::EndLevel},
        {"seed", Op::Seed},
        {"spawns", Op::Spawns},
        {"cell", Op::Cell},
        {"stack", Op::Stack},
        {"falling", Op::Falling},
        {"set", Op::Set},
        {"hold", Op::Hold},
        {"frames", Op::Frames},
        {"advance", Op::Advance},
        {"answer", Op::Answer},
        {"name", Op::Name},
        {"savetoplist", Op::SaveTopList},
        {"dump", Op::Dump},
        {"dumplevels", Op::DumpLevels},
        {"expect", Op::Expect},
        {"show", Op::Show},
        {"echo", Op::Echo},
    };
    return ops;
}

// Checks the number of arguments after the command word.
void Arity(const std::vector<std::string>& words, size_t count) {
    if (words.size() < count + 1) throw ScriptError(words[0] + ": missing word");
    if (words.size() > count + 1)
        throw ScriptError(words[0] + ": extra word '" + words[count + 1] + "'");
}

std::string JoinFrom(const std::vector<std::string>& words, size_t first) {
    std::string joined;
    for (size_t i = first; i < words.size(); ++i) {
        if (i > first) joined += ' ';
        joined += words[i];
    }
    return joined;
}

constexpr int64_t kMaxCount = std::numeric_limits<int32_t>::max();

}  // namespace

std::vector<std::string> SplitWords(std::string_view line) {
    if (auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

int64_t ParseNumber(const std::string& word, int64_t lo, int64_t hi, std::string_view what) {
    int64_t value = 0;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, value);
    auto range = " (" + std::to_string(lo) + " to " + std::to_string(hi) + ")";
    if (word.empty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range))
        throw ScriptError(std::string(what) + ": '" + word + "' is not a number" + range);
    if (ec == std::errc::result_out_of_range || value < lo || value > hi)
        throw ScriptError(std::string(what) + ": " + word + " is out of range" + range);
    return value;
}

std::optional<Command> ParseLine(std::string_view line) {
    auto words = SplitWords(line);
    if (words.empty()) return std::nullopt;
    auto op = Ops().find(words[0]);
    if (op == Ops().end()) throw ScriptError("unknown command '" + words[0] + "'");

    Command cmd;
    cmd.op = op->second;
    auto number = [&](size_t i, int64_t lo, int64_t hi, std::string_view what) {
        cmd.numbers.push_back(ParseNumber(words[i], lo, hi, words[0] + " " + std::string(what)));
    };
    switch (cmd.op) {
        case Op::LevelSet:
            Arity(words, 1);
            cmd.text = words[1];
            break;
        case Op::Load:
            if (words.size() > 2) throw ScriptError("load: extra word '" + words[2] + "'");
            if (words.size() == 2) {
                if (words[1] != "report")
                    throw ScriptError("load: '" + words[1] + "' is not 'report'");
                cmd.flag = true;
            }
            break;
        case Op::NewGame:
        case Op::SaveTopList:
        case Op::Dump:
        case Op::Show:
            Arity(words, 0);
            break;
        case Op::Start:
            Arity(words, 1);
            number(1, 0, 255, "level");
            break;
        case Op::EndLevel:
            Arity(words, 1);
            number(1, 0, 255, "code");
            break;
        case Op::Seed:
            Arity(words, 1);
            number(1, 0, std::numeric_limits<uint32_t>::max(), "seed");
            break;
        case Op::Spawns:
            if (words.size() < 2) throw ScriptError("spawns: missing word");
            for (size_t i = 1; i < words.size(); ++i) number(i, 0, 255, "code");
            break;
        case Op::Cell:
            Arity(words, 3);
            number(1, 0, 11, "column");
            number(2, 0, 17, "row");
            number(3, 0, 255, "code");
            break;
        case Op::Stack:
            Arity(words, 3);
            if (words[1] != "left" && words[1] != "right")
                throw ScriptError("stack: '" + words[1] + "' is not 'left' or 'right'");
            cmd.flag = words[1] == "left";
            number(2, 0, 8, "slot");
            number(3, 0, 255, "code");
            break;
        case Op::Falling:
            Arity(words, 3);
            number(1, 0, 255, "code");
            number(2, 0, 11, "column");
            number(3, 0, 17, "row");
            break;
        case Op::Set: {
            Arity(words, 2);
            auto field = Fields().find(words[1]);
            if (field == Fields().end()) throw ScriptError("set: unknown field '" + words[1] + "'");
            cmd.field = field->second.field;
            number(2, field->second.lo, field->second.hi, words[1]);
            break;
        }
        case Op::Hold:
            for (size_t i = 1; i < words.size(); ++i) {
                bool* key = words[i] == "left"    ? &cmd.holdLeft
                            : words[i] == "right" ? &cmd.holdRight
                            : words[i] == "down"  ? &cmd.holdDown
                                                  : nullptr;
                if (!key) throw ScriptError("hold: '" + words[i] + "' is not left, right or down");
                if (*key) throw ScriptError("hold: extra word '" + words[i] + "'");
                *key = true;
            }
            break;
        case Op::Frames:
            Arity(words, 1);
            number(1, 0, kMaxCount, "count");
            break;
        case Op::Advance:
            Arity(words, 1);
            number(1, 0, kMaxCount, "milliseconds");
            break;
        case Op::Answer:
            Arity(words, 1);
            number(1, 1, 4, "answer");
            break;
        case Op::Name: {
            cmd.flag = true;
            auto bytes = Utf8ToCp1250(JoinFrom(words, 1));
            if (!bytes) throw ScriptError("name: the text cannot be written in Windows-1250");
            cmd.text = bytes->substr(0, 20);
            break;
        }
        case Op::DumpLevels:
            Arity(words, 1);
            number(1, 0, 100, "count");
            break;
        case Op::Echo:
            cmd.text = JoinFrom(words, 1);
            break;
        case Op::Expect:
            if (words.size() < 3) throw ScriptError("expect: missing word");
            cmd.text = words[1];
            cmd.value = JoinFrom(words, 2);
            break;
    }
    return cmd;
}

}  // namespace pabuko::scenario
