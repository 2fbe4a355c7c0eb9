#include <gtest/gtest.h>

#include "ScenarioScript.h"

using namespace pabuko::scenario;

namespace {

Command Parse(std::string_view line) {
    auto cmd = ParseLine(line);
    EXPECT_TRUE(cmd.has_value()) << line;
    return cmd.value_or(Command{});
}

// The reason a line is refused, or "" when it is accepted.
std::string Refusal(std::string_view line) {
    try {
        ParseLine(line);
    } catch (const ScriptError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(ScenarioLines, CommentsAndWhiteSpace) {
    EXPECT_FALSE(ParseLine("").has_value());
    EXPECT_FALSE(ParseLine("   \t ").has_value());
    EXPECT_FALSE(ParseLine("# dump").has_value());
    EXPECT_FALSE(ParseLine("   #dump").has_value());
    EXPECT_EQ(Parse("dump # and a remark").op, Op::Dump);
    EXPECT_EQ(Parse("dump#glued").op, Op::Dump);
    EXPECT_EQ(Parse("\tcell\t3  17   5\r").numbers, (std::vector<int64_t>{3, 17, 5}));
    EXPECT_EQ(Parse("frames 12#3").numbers, std::vector<int64_t>{12});
    // A comment may swallow a needed word.
    EXPECT_NE(Refusal("start # 1"), "");
}

TEST(ScenarioLines, UnknownCommandsAndWrongWordCounts) {
    EXPECT_NE(Refusal("jump"), "");
    EXPECT_NE(Refusal("Dump"), "");  // commands are lower case
    EXPECT_NE(Refusal("dump now").find("extra word 'now'"), std::string::npos);
    EXPECT_NE(Refusal("newgame 1"), "");
    EXPECT_NE(Refusal("savetoplist x"), "");
    EXPECT_NE(Refusal("start").find("missing word"), std::string::npos);
    EXPECT_NE(Refusal("start 1 2"), "");
    EXPECT_NE(Refusal("cell 1 2"), "");
    EXPECT_NE(Refusal("cell 1 2 3 4"), "");
    EXPECT_NE(Refusal("levelset"), "");
    EXPECT_NE(Refusal("levelset a b"), "");
    EXPECT_NE(Refusal("spawns"), "");
    EXPECT_NE(Refusal("expect Score"), "");
    EXPECT_NE(Refusal("load now"), "");
    EXPECT_NE(Refusal("load report twice"), "");
    EXPECT_FALSE(Parse("load").flag);
    EXPECT_TRUE(Parse("load report").flag);
}

TEST(ScenarioLines, RangesAtTheirEdges) {
    EXPECT_EQ(Refusal("cell 11 17 255"), "");
    EXPECT_EQ(Refusal("cell 0 0 0"), "");
    EXPECT_NE(Refusal("cell 12 0 1"), "");
    EXPECT_NE(Refusal("cell 0 18 1"), "");
    EXPECT_NE(Refusal("cell 0 0 256"), "");
    EXPECT_NE(Refusal("cell -1 0 1"), "");
    EXPECT_EQ(Refusal("stack right 8 38"), "");
    EXPECT_NE(Refusal("stack left 9 1"), "");
    EXPECT_NE(Refusal("stack middle 0 1"), "");
    EXPECT_EQ(Refusal("falling 255 11 17"), "");
    EXPECT_NE(Refusal("falling 1 12 0"), "");
    EXPECT_NE(Refusal("falling 1 0 18"), "");
    EXPECT_EQ(Refusal("start 255"), "");
    EXPECT_NE(Refusal("start 256"), "");
    EXPECT_EQ(Refusal("endlevel 0"), "");
    EXPECT_NE(Refusal("endlevel -1"), "");
    EXPECT_NE(Refusal("answer 0"), "");
    EXPECT_NE(Refusal("answer 5"), "");
    EXPECT_EQ(Refusal("answer 4"), "");
    EXPECT_EQ(Refusal("dumplevels 100"), "");
    EXPECT_NE(Refusal("dumplevels 101"), "");
    EXPECT_EQ(Parse("seed 4294967295").numbers[0], 4294967295);
    EXPECT_NE(Refusal("seed 4294967296"), "");
    EXPECT_NE(Refusal("seed 99999999999999999999999"), "");
    EXPECT_NE(Refusal("frames -1"), "");
    EXPECT_NE(Refusal("advance -40"), "");
    EXPECT_EQ(Parse("spawns 1 0 255").numbers, (std::vector<int64_t>{1, 0, 255}));
    EXPECT_NE(Refusal("spawns 1 256"), "");
}

TEST(ScenarioLines, NumbersAreDecimalWordsOnly) {
    for (auto line : {"start 1x", "start x", "start +1", "start 0x10", "start 1.0", "start 1e2"})
        EXPECT_NE(Refusal(line), "") << line;
    EXPECT_EQ(Parse("start 007").numbers[0], 7);
}

TEST(ScenarioLines, SetKnowsEachFieldsType) {
    EXPECT_EQ(Parse("set Score -2147483648").numbers[0], -2147483648LL);
    EXPECT_NE(Refusal("set Score 2147483648"), "");
    EXPECT_NE(Refusal("set Lives 256"), "");
    EXPECT_NE(Refusal("set Lives -1"), "");
    EXPECT_EQ(Refusal("set TilesLeft 65535"), "");
    EXPECT_NE(Refusal("set TilesLeft 65536"), "");
    EXPECT_NE(Refusal("set Level 256"), "");
    EXPECT_NE(Refusal("set FallDelay 65536"), "");
    EXPECT_EQ(Refusal("set InputFrame 1"), "");
    EXPECT_NE(Refusal("set LeftStackFull 2"), "");
    EXPECT_NE(Refusal("set RightStackFull true"), "");
    EXPECT_NE(Refusal("set score 1"), "");  // field names as the game spells them
    EXPECT_NE(Refusal("set Falling 1"), "");
    EXPECT_EQ(Parse("set BaseDelay 410").field, Field::BaseDelay);
}

TEST(ScenarioLines, HoldReplacesTheKeySet) {
    auto none = Parse("hold");
    EXPECT_FALSE(none.holdLeft || none.holdRight || none.holdDown);
    auto two = Parse("hold down left");
    EXPECT_TRUE(two.holdLeft && two.holdDown);
    EXPECT_FALSE(two.holdRight);
    EXPECT_NE(Refusal("hold left left"), "");
    EXPECT_NE(Refusal("hold up"), "");
}

TEST(ScenarioLines, NameIsJoinedAndCutToTwentyWindows1250Bytes) {
    auto name = Parse("name   Jan \t Novák   # not part of it");
    EXPECT_TRUE(name.flag);
    EXPECT_EQ(name.text, "Jan Nov\xE1k");
    auto empty = Parse("name");
    EXPECT_TRUE(empty.flag);
    EXPECT_EQ(empty.text, "");
    // Czech letters are one byte each, so the cut falls after 20 characters.
    auto cut = Parse("name Příliš žluťoučký kůň úpěl").text;
    EXPECT_EQ(cut.size(), 20u);
    EXPECT_EQ(cut, "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2");
    EXPECT_NE(Refusal("name Ωmega"), "");
}

TEST(ScenarioLines, ExpectKeepsItsValueWhole) {
    auto cmd = Parse("expect events [\"wave 0\",  \"otevri 0\"]");
    EXPECT_EQ(cmd.text, "events");
    EXPECT_EQ(cmd.value, "[\"wave 0\", \"otevri 0\"]");
}

TEST(ScenarioLines, ShowAndEcho) {
    EXPECT_EQ(Parse("show").op, Op::Show);
    EXPECT_NE(Refusal("show well"), "");
    auto echo = Parse("echo  Level   won # quietly");
    EXPECT_EQ(echo.op, Op::Echo);
    EXPECT_EQ(echo.text, "Level won");
    EXPECT_EQ(Parse("echo").text, "");
}
