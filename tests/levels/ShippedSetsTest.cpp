// The level sets the build ships in data/levels load cleanly through the game's loader
// and hold what a player needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string_view>
#include <vector>

#include "core/GameState.h"
#include "core/WindowlessHost.h"
#include "levels/LevelSetFile.h"
#include "levels/LevelSetLoader.h"
#include "platform/TextEncoding.h"

using namespace pabuko;

namespace {

std::string EnvDir(const char* name) {
    const char* dir = std::getenv(name);
    return dir ? std::string(dir) + "/" : std::string();
}

struct Loaded {
    GameState state;
    std::vector<std::string> messages;
};

// Every set the build ships: the .qvl files in data/levels, sorted.
std::vector<std::string> ShippedSetNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(EnvDir("PABUKO_BUILD_DIR") + "data/levels", ec),
         end;
         !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == ".qvl") names.push_back(it->path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Loaded LoadShipped(const std::string& name) {
    Loaded out;
    out.state.Levels.LevelSetName = name;
    WindowlessHost host;
    LevelSetLoader(EnvDir("PABUKO_BUILD_DIR")).Load(out.state.Levels, host, true);
    for (const auto& m : host.messages) out.messages.push_back(m.caption + ": " + m.text);
    return out;
}

// Chance of a letter per spawn: 5 % for A E I O U Y T K L V N M, 2.25 % for
// R S D P J C B Z, 2 % for Q W F G H X.
double LetterChance(char c) {
    if (std::string_view("AEIOUYTKLVNM").find(c) != std::string_view::npos) return 0.05;
    if (std::string_view("RSDPJCBZ").find(c) != std::string_view::npos) return 0.0225;
    return 0.02;
}

double ExpectedWaitForRarestLetter(const std::string& word) {
    double wait = 0;
    for (char c : word) {
        if (c == ' ') continue;
        const auto copies = std::count(word.begin(), word.end(), c);
        wait = std::max(wait, static_cast<double>(copies) / LetterChance(c));
    }
    return wait;
}

void ExpectPlayable(const LevelTable& table) {
    for (int n = 1; n <= table.LevelCount; ++n) {
        const TLevel& l = table[n];
        SCOPED_TRACE("level " + std::to_string(n) + " " + l.Word);
        EXPECT_GE(l.Word.size(), 1u);
        EXPECT_LE(l.Word.size(), 12u);
        EXPECT_EQ(l.Word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ "), std::string::npos);
        EXPECT_NE(l.Word.front(), ' ');
        EXPECT_NE(l.Word.back(), ' ');
        EXPECT_FALSE(l.Question.empty());
        for (const auto* answer : {&l.Answer1, &l.Answer2, &l.Answer3, &l.Answer4}) {
            EXPECT_FALSE(answer->empty());
        }
        EXPECT_GE(l.RightAnswer, 1);
        EXPECT_LE(l.RightAnswer, 4);
        EXPECT_GE(l.QuizScore, 50);
        EXPECT_LE(l.QuizScore, 500);
        // The supply must at least cover the expected wait for the word's rarest letter
        // under the spawn distribution; how far beyond is the supply simulation's to say
        // (levels_supply_tests), this only keeps it within a level's reach.
        EXPECT_GE(l.TileCount, ExpectedWaitForRarestLetter(l.Word));
        EXPECT_LE(l.TileCount, 400);
    }
}

}  // namespace

TEST(ShippedLevelSets, StandardSetWidensToTwelveLetters) {
    const Loaded loaded = LoadShipped("new");
    ASSERT_EQ(loaded.messages.size(), 1u);
    EXPECT_EQ(loaded.messages[0], "Informace: Ze souboru \"new.qvl\" bylo v pořádku načteno " +
                                      std::to_string(loaded.state.Levels.LevelCount) +
                                      " úrovní.\rPravidla bodování zůstávají standardní.");
    const LevelTable& table = loaded.state.Levels;
    ASSERT_GE(table.LevelCount, 20);
    ExpectPlayable(table);
    EXPECT_LE(table[1].Word.size(), 4u);
    size_t widest = 0;
    for (int n = 1; n <= table.LevelCount; ++n) widest = std::max(widest, table[n].Word.size());
    EXPECT_EQ(widest, 12u);
    // The words widen level by level; the last one, at the highest speed, may step back
    // to leave room in the well.
    for (int n = 2; n < table.LevelCount; ++n) {
        EXPECT_GE(table[n].Word.size(), table[n - 1].Word.size()) << "level " << n;
    }
    for (int n = 2; n <= table.LevelCount; ++n) {
        EXPECT_GE(table[n].QuizScore, table[n - 1].QuizScore) << "level " << n;
    }
}

TEST(ShippedLevelSets, ThemedSetBringsItsOwnScoring) {
    const Loaded loaded = LoadShipped("zvirata");
    ASSERT_EQ(loaded.messages.size(), 1u);
    EXPECT_NE(loaded.messages[0].find("Dále byla ze souboru \"zvirata.qvlb\""), std::string::npos)
        << loaded.messages[0];
    const LevelTable& table = loaded.state.Levels;
    // Enough levels that the speed climbs in small steps.
    ASSERT_GE(table.LevelCount, 12);
    ExpectPlayable(table);
    EXPECT_LE(table[table.LevelCount - 1].RowDelay - table[table.LevelCount].RowDelay, 40);
    EXPECT_NE(table[2].LevelScore, 100) << "standard rules in force";
}

// Every level of every shipped set can be played and asked: a word of 4 to 12 letters A-Z
// (a space may part two words), a question with four answers and a right one among them,
// and no word that another level of any set already had.
TEST(ShippedLevelSets, EveryLevelOfEverySetHasAWordOfItsOwnAndAFullQuiz) {
    const auto names = ShippedSetNames();
    ASSERT_GE(names.size(), 4u);
    std::map<std::string, std::string> seen;  // word -> set and level that had it
    for (const std::string& name : names) {
        const Loaded loaded = LoadShipped(name);
        ASSERT_EQ(loaded.messages.size(), 1u) << name;
        EXPECT_EQ(loaded.messages[0].rfind("Informace: ", 0), 0u) << loaded.messages[0];
        const LevelTable& table = loaded.state.Levels;
        EXPECT_GE(table.LevelCount, 12) << name;
        for (int n = 1; n <= table.LevelCount; ++n) {
            const TLevel& l = table[n];
            const std::string where = name + " " + std::to_string(n);
            SCOPED_TRACE(where + " " + l.Word);
            EXPECT_GE(l.Word.size(), 4u);
            EXPECT_LE(l.Word.size(), 12u);
            EXPECT_EQ(l.Word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ "), std::string::npos);
            EXPECT_EQ(l.Word.find("  "), std::string::npos);
            EXPECT_TRUE(!l.Word.empty() && l.Word.front() != ' ' && l.Word.back() != ' ');
            EXPECT_FALSE(l.Question.empty());
            for (const auto* answer : {&l.Answer1, &l.Answer2, &l.Answer3, &l.Answer4}) {
                EXPECT_FALSE(answer->empty());
            }
            EXPECT_GE(l.RightAnswer, 1);
            EXPECT_LE(l.RightAnswer, 4);
            const auto [at, fresh] = seen.emplace(l.Word, where);
            EXPECT_TRUE(fresh) << l.Word << " is also " << at->second;
        }
    }
}

TEST(ShippedLevelSets, PackedTextsMatchTheirSources) {
    for (const std::string& name : ShippedSetNames()) {
        std::ifstream in(EnvDir("PABUKO_SOURCE_DIR") + "content/levels/" + name + ".txt",
                         std::ios::binary);
        ASSERT_TRUE(in) << name;
        const std::string source((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
        auto lines = SplitLines(source);
        // The author's notes at the top are not packed.
        while (!lines.empty() && lines.front().starts_with('#')) lines.erase(lines.begin());
        const Loaded loaded = LoadShipped(name);
        const LevelTable& table = loaded.state.Levels;
        ASSERT_EQ(static_cast<size_t>(table.LevelCount), (lines.size() + 1) / 9) << name;
        for (int n = 1; n <= table.LevelCount; ++n) {
            const size_t at = static_cast<size_t>(n - 1) * 9;
            EXPECT_EQ(table[n].Word, lines[at]);
            EXPECT_EQ(Cp1250ToUtf8(table[n].Question), lines[at + 1]);
            EXPECT_EQ(Cp1250ToUtf8(table[n].Answer4), lines[at + 5]);
        }
    }
}

// The right answer's place must not follow a pattern a player could learn: not the same
// sequence again after one to four levels, and not a steady step (1 2 3 4 1 …, 3 3 3 …).
TEST(ShippedLevelSets, RightAnswersFollowNoPattern) {
    for (const std::string& name : ShippedSetNames()) {
        const Loaded loaded = LoadShipped(name);
        const LevelTable& table = loaded.state.Levels;
        std::vector<int> right;
        for (int n = 1; n <= table.LevelCount; ++n) right.push_back(table[n].RightAnswer);
        const int count = static_cast<int>(right.size());
        for (int period = 1; period <= 4; ++period) {
            for (int from = 0; from + period + 4 <= count; ++from) {
                bool repeats = true;
                for (int k = 0; k < 4; ++k) repeats &= right[from + k] == right[from + k + period];
                EXPECT_FALSE(repeats) << name << ": levels " << from + 1 << "-" << from + period + 4
                                      << " repeat every " << period;
            }
        }
        for (int from = 0; from + 5 <= count; ++from) {
            const int step = (right[from + 1] - right[from] + 4) % 4;
            bool steady = true;
            for (int k = 1; k < 4; ++k) {
                steady &= (right[from + k + 1] - right[from + k] + 4) % 4 == step;
            }
            EXPECT_FALSE(steady) << name << ": levels " << from + 1 << "-" << from + 5
                                 << " step by " << step;
        }
        for (int from = 0; from + 3 <= count; ++from) {
            EXPECT_FALSE(right[from] == right[from + 1] && right[from] == right[from + 2])
                << name << ": levels " << from + 1 << "-" << from + 3 << " share their answer";
        }
        for (int place = 1; place <= 4; ++place) {
            EXPECT_NE(std::count(right.begin(), right.end(), place), 0) << name << " " << place;
        }
    }
}
