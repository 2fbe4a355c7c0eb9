#include <gtest/gtest.h>

#include "levels/LevelFixtures.h"
#include "levels/LevelSetFile.h"

using namespace pabuko;
using namespace pabuko::testing;

TEST(LevelFileLines, EveryKindOfLineBreakEndsALine) {
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    // LF CR is two breaks, CR LF only one.
    EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
}

TEST(LevelFileLines, LastLineCountsWithOrWithoutEnd) {
    EXPECT_EQ(SplitLines("a\r\nb").size(), 2u);
    EXPECT_EQ(SplitLines("a\r\nb\r\n").size(), 2u);
    EXPECT_EQ(SplitLines("a\r").size(), 1u);
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(LevelFileLines, ZeroByteEndsTheText) {
    EXPECT_EQ(SplitLines(std::string("a\nb\0c\nd\n", 8)), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitLines(std::string("\0a\n", 3)).empty());
}

TEST(LevelFileScrambling, IsItsOwnInverseAndKeepsEmptyLines) {
    const std::string line = "P\xF8\xEDli\x9A \x9Eluou\xE8k\xFD";
    EXPECT_EQ(ScrambleLine(ScrambleLine(line)), line);
    EXPECT_EQ(ScrambleLine(""), "");
    EXPECT_EQ(ScrambleLine("A"), "X");  // 0x41 ^ 0x19 = 0x58
}

TEST(LevelFileScrambling, LineBreaksStayPlainAndOnlyTheTextIsScrambled) {
    const std::string stored = WriteLevelFile({"AB", "", "C"});
    EXPECT_EQ(stored, "X[\r\n\r\nZ\r\n");
    EXPECT_EQ(SplitLines(stored).size(), 3u);
}

TEST(LevelFileCount, NineLinesPerLevelLastSeparatorOptional) {
    struct Case {
        int lines;
        int count;
        bool warning;
    };
    for (const Case c : {Case{8, 1, false}, Case{17, 2, false}, Case{9, 1, true}, Case{18, 2, true},
                         Case{1, 0, true}, Case{7, 0, true}, Case{16, 1, true}}) {
        auto lines = LevelLines(3);
        lines.resize(c.lines);
        auto set = ParseLevelFile(WriteLevelFile(lines), ScoringRules{});
        SCOPED_TRACE(c.lines);
        EXPECT_FALSE(set.Damaged);
        EXPECT_EQ(set.LevelCount, c.count);
        EXPECT_EQ(set.Levels.size(), static_cast<size_t>(c.count));
        EXPECT_EQ(set.FormatWarning, c.warning);
    }
}

TEST(LevelFileCount, EmptyFileIsDamaged) {
    EXPECT_TRUE(ParseLevelFile("", ScoringRules{}).Damaged);
    EXPECT_TRUE(ParseLevelFile(std::string("\0\r\n", 3), ScoringRules{}).Damaged);
    // One empty line is a line: 0 levels and the warning, not damage.
    auto oneLine = ParseLevelFile("\r\n", ScoringRules{});
    EXPECT_FALSE(oneLine.Damaged);
    EXPECT_TRUE(oneLine.FormatWarning);
    EXPECT_EQ(oneLine.LevelCount, 0);
}

TEST(LevelFileCount, MoreThanHundredLevelsKeepsTheFirstHundred) {
    for (int levels : {101, 300}) {
        auto lines = LevelLines(levels);
        // Lines beyond the kept levels are not checked.
        lines[100 * 9 + 6] = "x";
        auto set = ParseLevelFile(WriteLevelFile(lines), ScoringRules{});
        SCOPED_TRACE(levels);
        EXPECT_FALSE(set.Damaged);
        EXPECT_TRUE(set.FormatWarning);
        EXPECT_EQ(set.LevelCount, 100);
        ASSERT_EQ(set.Levels.size(), 100u);
        EXPECT_EQ(set.Levels[0].RowDelay, 496);
        EXPECT_EQ(set.Levels[99].RowDelay, 100);
        EXPECT_EQ(set.Levels[99].Word, Word(100));
    }
}

TEST(LevelFileFields, LinesGoToTheirFieldsAsTheyAre) {
    std::vector<std::string> lines = {"KOT",      "Kdo m\xF2ouk\xE1?",       "pes", "", "kocour",
                                      " my\x9A ", "3150 a dal\x9A\xED text", "+42"};
    auto set = ParseLevelFile(WriteLevelFile(lines), ScoringRules{});
    ASSERT_EQ(set.Levels.size(), 1u);
    const TLevel& l = set.Levels[0];
    EXPECT_EQ(l.Word, "KOT");
    EXPECT_EQ(l.Question, "Kdo m\xF2ouk\xE1?");
    EXPECT_EQ(l.Answer1, "pes");
    EXPECT_EQ(l.Answer2, "");
    EXPECT_EQ(l.Answer3, "kocour");
    EXPECT_EQ(l.Answer4, " my\x9A ");
    EXPECT_EQ(l.RightAnswer, 3);
    EXPECT_EQ(l.QuizScore, 150);
    EXPECT_EQ(l.TileCount, 42);
}

TEST(LevelFileFields, QuizLineDigitByDigit) {
    struct Case {
        const char* line;
        int right;
        int points;
    };
    for (const Case c :
         {Case{"2150", 2, 150}, Case{"4005", 4, 5}, Case{"0999", 0, 999}, Case{"9000xyz", 9, 0}}) {
        auto lines = LevelLines(1);
        lines[6] = c.line;
        auto set = ParseLevelFile(WriteLevelFile(lines), ScoringRules{});
        ASSERT_FALSE(set.Damaged) << c.line;
        EXPECT_EQ(set.Levels[0].RightAnswer, c.right) << c.line;
        EXPECT_EQ(set.Levels[0].QuizScore, c.points) << c.line;
    }
}

TEST(LevelFileFields, TileCountKeepsItsLowSixteenBits) {
    EXPECT_EQ(ParseTileCount("65535"), 65535);
    EXPECT_EQ(ParseTileCount("65536"), 0);
    EXPECT_EQ(ParseTileCount("70000"), 4464);
    EXPECT_EQ(ParseTileCount("-1"), 65535);
    EXPECT_EQ(ParseTileCount("-65536"), 0);
    EXPECT_EQ(ParseTileCount("+007"), 7);
    EXPECT_EQ(ParseTileCount("100000000000000000000065"), 65);  // 10^23 is a multiple of 2^16
}

TEST(LevelFileDamage, BadQuizOrTileLineInAKeptLevel) {
    for (const char* quiz : {"", "215", "2a50", " 150", "-150", "21.5"}) {
        auto lines = LevelLines(3);
        lines[9 + 6] = quiz;
        auto set = ParseLevelFile(WriteLevelFile(lines), ScoringRules{});
        EXPECT_TRUE(set.Damaged) << '"' << quiz << '"';
        EXPECT_TRUE(set.Levels.empty());
    }
    for (const char* tiles : {"", "-", "+", " 40", "40 ", "4 0", "0x20", "$20", "40.0"}) {
        auto lines = LevelLines(3);
        lines[18 + 7] = tiles;
        EXPECT_TRUE(ParseLevelFile(WriteLevelFile(lines), ScoringRules{}).Damaged)
            << '"' << tiles << '"';
    }
}

TEST(LevelFileDamage, WordTheWellCannotHoldNamesItsLevel) {
    // More than the 12 columns, lower case, Czech letters, a digit: what the packer refuses.
    for (const std::string& word :
         {std::string(13, 'A'), std::string(300, 'W'), std::string("kos"), std::string("\xC8\xC1P"),
          std::string("R2D2"), std::string("A-B")}) {
        auto lines = LevelLines(3);
        lines[9] = word;
        auto set = ParseLevelFile(WriteLevelFile(lines), ScoringRules{});
        EXPECT_TRUE(set.Damaged) << word;
        EXPECT_EQ(set.DamagedLevel, 2) << word;
        EXPECT_TRUE(set.Levels.empty());
    }
    // Twelve letters and spaces are the most the well holds; an empty word is played as one.
    for (const std::string& word :
         {std::string("ABCDEFGHIJKL"), std::string("NA  ZDAR"), std::string()}) {
        auto lines = LevelLines(1);
        lines[0] = word;
        EXPECT_FALSE(ParseLevelFile(WriteLevelFile(lines), ScoringRules{}).Damaged) << word;
    }
}

TEST(LevelFileDamage, LevelCutShortIsNotCheckedAsALevel) {
    // 16 lines: one whole level and a second cut off before its line 8.
    auto lines = LevelLines(2);
    lines.resize(16);
    lines[9 + 6] = "??";
    auto set = ParseLevelFile(WriteLevelFile(lines), ScoringRules{});
    EXPECT_FALSE(set.Damaged);
    EXPECT_EQ(set.LevelCount, 1);
}

TEST(LevelFileRowDelay, DependsOnTheNumberOfLevels) {
    auto delays = [](int count) {
        std::vector<int> out;
        for (const auto& l :
             ParseLevelFile(WriteLevelFile(LevelLines(count)), ScoringRules{}).Levels)
            out.push_back(l.RowDelay);
        return out;
    };
    EXPECT_EQ(delays(5), (std::vector<int>{410, 320, 230, 140, 50}));
    EXPECT_EQ(delays(1), (std::vector<int>{50}));
    auto seven = delays(7);
    EXPECT_EQ(seven.front(), 436);
    EXPECT_EQ(seven[1], 372);
    EXPECT_EQ(seven.back(), 52);
    auto ten = delays(10);
    EXPECT_EQ(ten.front(), 455);
    EXPECT_EQ(ten.back(), 50);
}

TEST(ScoringRulesFile, StandardRecordBytes) {
    const std::string standard(
        "\x01\x0A\x14\x1E\x0A\x14\x1E\xF6\xCE\xFF\xF6\x00\xC8\x00\x64\x00\x32\x00", 18);
    EXPECT_EQ(SerializeScoringRules(ScoringRules{}), standard);
    EXPECT_EQ(ParseScoringRules(standard), ScoringRules{});
    // Bytes after the 18th are ignored; fewer than 18 is no record.
    EXPECT_EQ(ParseScoringRules(standard + "junk"), ScoringRules{});
    EXPECT_FALSE(ParseScoringRules(standard.substr(0, 17)).has_value());
    EXPECT_FALSE(ParseScoringRules("").has_value());
}

TEST(ScoringRulesFile, SignedAndUnsignedFieldsKeepTheirRange) {
    std::string bytes(18, '\0');
    bytes[0] = '\xFF';  // spawn −1
    bytes[1] = '\xFF';  // same letter 255
    bytes[7] = '\x80';  // column −128
    bytes[12] = '\xFF';
    bytes[13] = '\xFF';  // tile 36: 65535
    auto r = ParseScoringRules(bytes);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Spawn, -1);
    EXPECT_EQ(r->SameLetter, 255);
    EXPECT_EQ(r->Column, -128);
    EXPECT_EQ(r->Stacked36, 65535);
    EXPECT_EQ(SerializeScoringRules(*r), bytes);
}

TEST(ScoringRulesFile, LevelBonusFlatOrPerLevel) {
    auto levelScore = [](int16_t v, int n) {
        ScoringRules r;
        r.LevelBonus = v;
        TLevel level;
        ApplyScoringRules(level, r, n);
        return level.LevelScore;
    };
    EXPECT_EQ(levelScore(-50, 1), 50);
    EXPECT_EQ(levelScore(-50, 10), 500);
    EXPECT_EQ(levelScore(0, 7), 0);
    EXPECT_EQ(levelScore(100, 7), 100);
    EXPECT_EQ(levelScore(-1, 7), 7);
    EXPECT_EQ(levelScore(-32768, 3), (32768 * 3) % 65536);  // kept to 16 bits
}

TEST(ScoringRulesFile, EveryLevelGetsTheSameValues) {
    ScoringRules r;
    r.Spawn = -2;
    r.Column = 25;
    r.Stacked35 = 777;
    r.LevelBonus = 100;
    auto set = ParseLevelFile(WriteLevelFile(LevelLines(3)), r);
    for (const auto& l : set.Levels) {
        EXPECT_EQ(l.SpawnScore, -2);
        EXPECT_EQ(l.ColumnScore, 25);
        EXPECT_EQ(l.Stacked35Score, 777);
        EXPECT_EQ(l.LevelScore, 100);
        EXPECT_EQ(l.SameLetterScore, 10);
    }
}
