#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "core/GameState.h"
#include "core/WindowlessHost.h"
#include "levels/LevelFixtures.h"
#include "levels/LevelSetFile.h"
#include "levels/LevelSetLoader.h"

using namespace pabuko;
using namespace pabuko::testing;
namespace fs = std::filesystem;

namespace {

const char* const kFormatWarning =
    "Soubor s levely „data/levels/sada.qvl“ má nesprávný formát. Uvidíme, jestli půjde hrát...";

class LoadLevelSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("pabuko-levels-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "data/levels");
        loader_ = LevelSetLoader(root_.string() + "/");
        state_.Levels.LevelSetName = "sada";
    }
    void TearDown() override { fs::remove_all(root_); }

    void Write(const std::string& file, const std::string& bytes) {
        std::ofstream(root_ / "data/levels" / file, std::ios::binary) << bytes;
    }
    void WriteLevels(int count) { Write("sada.qvl", WriteLevelFile(LevelLines(count))); }
    void Load(bool report) {
        host_.messages.clear();
        loader_.Load(state_.Levels, host_, report);
    }
    // Fills the table with a known 10-level set to see what a later load changes.
    void LoadTenLevels() {
        WriteLevels(10);
        Load(false);
        ASSERT_EQ(state_.Levels.LevelCount, 10);
    }
    void ExpectTenLevelsKept() {
        EXPECT_EQ(state_.Levels.LevelCount, 10);
        EXPECT_EQ(state_.Levels[10].Word, Word(10));
        EXPECT_EQ(state_.Levels[1].RowDelay, 455);
        EXPECT_EQ(state_.Levels[1].LevelScore, 50);
    }

    fs::path root_;
    GameState state_;
    WindowlessHost host_;
    LevelSetLoader loader_;
};

}  // namespace

TEST_F(LoadLevelSetTest, MissingLevelFileChangesNothing) {
    LoadTenLevels();
    state_.Levels.LevelSetName = "jina";
    Load(false);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].caption, "Chyba");
    EXPECT_EQ(host_.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(
        host_.messages[0].text,
        "Nebyl nalezen požadovaný soubor s levely „data/levels/jina.qvl“, zkuste vybrat jiný\r"
        "Pokud se tato chyba vyskytla při spouštění, zkontrolujte instalaci.");
    ExpectTenLevelsKept();
}

TEST_F(LoadLevelSetTest, LevelFileThatCannotBeReadIsNamedAndSaysSo) {
    fs::create_directories(root_ / "data/levels/sada.qvl");
    Load(false);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(host_.messages[0].text,
              "Soubor s levely „data/levels/sada.qvl“ nelze přečíst: na jeho místě je složka.\r"
              "Žádné levely nejsou načtené, a tak hru nelze začít.");
    EXPECT_EQ(state_.Levels.LevelCount, 0);
    fs::remove(root_ / "data/levels/sada.qvl");
    LoadTenLevels();
    fs::remove(root_ / "data/levels/sada.qvl");
    fs::create_symlink("sada.qvl", root_ / "data/levels/sada.qvl");
    Load(false);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text,
              "Soubor s levely „data/levels/sada.qvl“ nelze přečíst: je to smyčka symbolických "
              "odkazů.\rLevely zůstaly beze změny.");
    ExpectTenLevelsKept();
}

TEST_F(LoadLevelSetTest, SuccessIsSilentWithoutReport) {
    WriteLevels(5);
    Load(false);
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(state_.Levels.LevelCount, 5);
    EXPECT_EQ(state_.Levels[5].RowDelay, 50);
    EXPECT_EQ(state_.Levels[5].LevelScore, 250);
    EXPECT_EQ(state_.Levels[3].Question, "Ot\xE1zka 3");
}

TEST_F(LoadLevelSetTest, ReportWithStandardRules) {
    WriteLevels(7);
    Load(true);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].caption, "Informace");
    EXPECT_EQ(host_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(host_.messages[0].text,
              "Ze souboru \"sada.qvl\" bylo v pořádku načteno 7 úrovní.\r"
              "Pravidla bodování zůstávají standardní.");
}

TEST_F(LoadLevelSetTest, ReportNamesTheScoringFile) {
    WriteLevels(2);
    ScoringRules rules;
    rules.LevelBonus = 100;
    rules.Spawn = -1;
    Write("sada.qvlb", SerializeScoringRules(rules) + "ignored");
    Load(true);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text,
              "Ze souboru \"sada.qvl\" bylo v pořádku načteno 2 úrovní.\r"
              "Dále byla ze souboru \"sada.qvlb\" načtena pravidla bodování.");
    EXPECT_EQ(state_.Levels[1].LevelScore, 100);
    EXPECT_EQ(state_.Levels[2].LevelScore, 100);
    EXPECT_EQ(state_.Levels[2].SpawnScore, -1);
}

TEST_F(LoadLevelSetTest, StandardRulesFileGivesTheSameLevelsAsNone) {
    WriteLevels(3);
    Load(false);
    const auto without = state_.Levels.Levels;
    Write("sada.qvlb", SerializeScoringRules(ScoringRules{}));
    Load(false);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(state_.Levels[n].LevelScore, without[n].LevelScore);
        EXPECT_EQ(state_.Levels[n].ColumnScore, without[n].ColumnScore);
        EXPECT_EQ(state_.Levels[n].Stacked36Score, without[n].Stacked36Score);
    }
}

TEST_F(LoadLevelSetTest, DamagedScoringFileIsNamedAndTheSetLoadsWithTheStandardRules) {
    const std::string standard = "), a proto platí standardní pravidla bodování.";
    struct Case {
        std::function<void()> make;
        std::string why;
    };
    const fs::path rules = root_ / "data/levels/sada.qvlb";
    for (const Case& c :
         {Case{[&] { Write("sada.qvlb", std::string(5, '\x05')); }, "má jen 5 bajtů z 18"},
          Case{[&] { Write("sada.qvlb", ""); }, "je prázdný"},
          Case{[&] { fs::create_directories(rules); }, "na jeho místě je složka"},
          Case{[&] { fs::create_symlink("sada.qvlb", rules); },
               "je to smyčka symbolických odkazů"}}) {
        fs::remove_all(rules);
        c.make();
        SCOPED_TRACE(c.why);
        const std::string problem =
            "Soubor s pravidly bodování „data/levels/sada.qvlb“ je "
            "poškozený nebo nečitelný (" +
            c.why + standard;
        // A new game: a warning box of its own, and the set is there to be played.
        state_.Levels.LevelCount = 0;
        WriteLevels(3);
        Load(false);
        ASSERT_EQ(host_.messages.size(), 1u);
        EXPECT_EQ(host_.messages[0].caption, "Upozornění");
        EXPECT_EQ(host_.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(host_.messages[0].text, problem);
        EXPECT_EQ(state_.Levels.LevelCount, 3);
        EXPECT_EQ(state_.Levels[3].LevelScore, 150);
        // Chosen in the dialog: the report says it instead of the standard rules' sentence.
        Load(true);
        ASSERT_EQ(host_.messages.size(), 1u);
        EXPECT_EQ(host_.messages[0].caption, "Informace");
        EXPECT_EQ(host_.messages[0].text,
                  "Ze souboru \"sada.qvl\" bylo v pořádku načteno 3 úrovní.\r" + problem);
    }
}

TEST_F(LoadLevelSetTest, DamagedLevelFileNamesTheLevelAndChangesNothing) {
    Write("sada.qvl", "");
    Write("sada.qvlb", "short");  // damaged too, but no set is loaded to report it for
    Load(true);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text,
              "Soubor s levely „data/levels/sada.qvl“ má nesprávný formát: neobsahuje žádný "
              "level.\rŽádné levely nejsou načtené, a tak hru nelze začít.");
}

TEST_F(LoadLevelSetTest, FewerLevelsKeepTheRecordsAboveThem) {
    LoadTenLevels();
    WriteLevels(3);
    Load(false);
    EXPECT_EQ(state_.Levels.LevelCount, 3);
    EXPECT_EQ(state_.Levels[3].RowDelay, 50);
    EXPECT_EQ(state_.Levels[4].Word, Word(4));
    EXPECT_EQ(state_.Levels[10].RowDelay, 50);  // from the 10-level load
}

TEST_F(LoadLevelSetTest, DamagedLevelFileWarnsOnlyAndChangesNothing) {
    auto badQuiz = LevelLines(3);
    badQuiz[9 + 6] = "2x50";
    auto badTiles = LevelLines(3);
    badTiles[7] = "mnoho";
    auto longWord = LevelLines(3);
    longWord[18] = std::string(300, 'W');
    for (const auto& [bytes, level] :
         {std::pair{WriteLevelFile(badQuiz), 2}, std::pair{WriteLevelFile(badTiles), 1},
          std::pair{WriteLevelFile(longWord), 3}}) {
        LoadTenLevels();
        Write("sada.qvl", bytes);
        Load(true);
        ASSERT_EQ(host_.messages.size(), 1u);
        EXPECT_EQ(host_.messages[0].caption, "Chyba");
        EXPECT_EQ(host_.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(host_.messages[0].text,
                  "Soubor s levely „data/levels/sada.qvl“ má nesprávný "
                  "formát: level " +
                      std::to_string(level) + " je poškozený.\rLevely zůstaly beze změny.");
        ExpectTenLevelsKept();
        EXPECT_EQ(state_.Levels[1].Word, Word(1));
    }
}

TEST_F(LoadLevelSetTest, ShortFileGivesNoLevelsWarningThenReport) {
    LoadTenLevels();
    auto lines = LevelLines(1);
    lines.resize(5);
    Write("sada.qvl", WriteLevelFile(lines));
    Load(true);
    ASSERT_EQ(host_.messages.size(), 2u);
    EXPECT_EQ(host_.messages[0].text, kFormatWarning);
    EXPECT_EQ(host_.messages[1].caption, "Informace");
    EXPECT_EQ(host_.messages[1].text,
              "Ze souboru \"sada.qvl\" bylo v pořádku načteno 0 úrovní.\r"
              "Pravidla bodování zůstávají standardní.");
    EXPECT_EQ(state_.Levels.LevelCount, 0);
    EXPECT_EQ(state_.Levels[1].Word, Word(1));  // no record changes
}

TEST_F(LoadLevelSetTest, WrongLineCountWarnsButLoadsTheWholeLevels) {
    auto lines = LevelLines(2);
    lines.push_back("");  // 18 lines
    Write("sada.qvl", WriteLevelFile(lines));
    for (bool report : {false, true}) {
        Load(report);
        ASSERT_EQ(host_.messages.size(), report ? 2u : 1u);
        EXPECT_EQ(host_.messages[0].text, kFormatWarning);
        EXPECT_EQ(state_.Levels.LevelCount, 2);
    }
}

TEST_F(LoadLevelSetTest, MoreThanHundredLevelsOneWarningAndAHundred) {
    WriteLevels(120);
    Load(true);
    ASSERT_EQ(host_.messages.size(), 2u);
    EXPECT_EQ(host_.messages[0].text, kFormatWarning);
    EXPECT_EQ(host_.messages[1].text,
              "Ze souboru \"sada.qvl\" bylo v pořádku načteno 100 úrovní.\r"
              "Pravidla bodování zůstávají standardní.");
    EXPECT_EQ(state_.Levels.LevelCount, 100);
    EXPECT_EQ(state_.Levels[100].Word, Word(100));
    EXPECT_EQ(state_.Levels[100].RowDelay, 100);
    EXPECT_EQ(state_.Levels[100].LevelScore, 5000);
}

TEST_F(LoadLevelSetTest, EditedFileTakesEffectAtTheNextLoad) {
    WriteLevels(2);
    Load(false);
    auto lines = LevelLines(2);
    lines[0] = "NOVE";
    Write("sada.qvl", WriteLevelFile(lines));
    Load(false);
    EXPECT_EQ(state_.Levels[1].Word, "NOVE");
}
