#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/UserFolders.h"

using namespace pabuko;

namespace {

// Sets (or, with nullopt, unsets) a variable for one case and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

TEST(UserFolders, FollowTheXdgVariablesAndFallBackToHome) {
    ScopedEnv home("HOME", "/home/hrac");
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/data");
        ScopedEnv config("XDG_CONFIG_HOME", "/srv/conf/");
        EXPECT_EQ(UserDataFolder(), "/srv/data/pabuko/");
        EXPECT_EQ(UserConfigFolder(), "/srv/conf/pabuko/");
        EXPECT_EQ(UserLevelsFolder(), "/srv/data/pabuko/levels/");
        EXPECT_EQ(OldUserDataFolder(), "/srv/data/Hurbo's Pabuko/");
    }
    {
        // Unset, empty and relative values all mean the default under HOME.
        ScopedEnv data("XDG_DATA_HOME", std::nullopt);
        ScopedEnv config("XDG_CONFIG_HOME", "relative/conf");
        EXPECT_EQ(UserDataFolder(), "/home/hrac/.local/share/pabuko/");
        EXPECT_EQ(UserConfigFolder(), "/home/hrac/.config/pabuko/");
        EXPECT_EQ(OldUserDataFolder(), "/home/hrac/.local/share/Hurbo's Pabuko/");
        ScopedEnv empty("XDG_DATA_HOME", "");
        EXPECT_EQ(UserDataFolder(), "/home/hrac/.local/share/pabuko/");
    }
}

TEST(UserFolders, NoHomeAndNoVariableGivesNoFolder) {
    ScopedEnv home("HOME", std::nullopt);
    ScopedEnv data("XDG_DATA_HOME", std::nullopt);
    EXPECT_EQ(UserDataFolder(), "");
    EXPECT_EQ(UserLevelsFolder(), "");
}

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}
std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MoveOnceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "pabuko-move-XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        root = name;
        old = root / "Hurbo's Pabuko";
        now = root / "pabuko";
        fs::create_directories(old);
    }
    void TearDown() override { fs::remove_all(root); }
    bool Move() { return MoveFileOnce(old.string() + "/", now.string() + "/", "toplist.dat"); }

    fs::path root, old, now;
};

}  // namespace

TEST_F(MoveOnceTest, AnOldTopListMovesOverOnceWithEveryByte) {
    const std::string list(280, '\x7f');
    Write(old / "toplist.dat", list);
    EXPECT_TRUE(Move());
    EXPECT_EQ(Read(now / "toplist.dat"), list);
    EXPECT_FALSE(fs::exists(old / "toplist.dat"));
    EXPECT_FALSE(fs::exists(old));  // left empty: gone too
    // Once: the next start finds nothing to move, and the list stays.
    EXPECT_FALSE(Move());
    EXPECT_EQ(Read(now / "toplist.dat"), list);
}

TEST_F(MoveOnceTest, NeverReplacesAListAlreadyThereAndLosesNeither) {
    fs::create_directories(now);
    Write(now / "toplist.dat", "new list");
    Write(old / "toplist.dat", "old list");
    Write(old / "notes.txt", "the player's own");
    EXPECT_FALSE(Move());
    EXPECT_EQ(Read(now / "toplist.dat"), "new list");
    EXPECT_EQ(Read(old / "toplist.dat"), "old list");

    // A folder that is not empty stays, with what else it holds.
    fs::remove(now / "toplist.dat");
    EXPECT_TRUE(Move());
    EXPECT_EQ(Read(now / "toplist.dat"), "old list");
    EXPECT_EQ(Read(old / "notes.txt"), "the player's own");
}

TEST_F(MoveOnceTest, NothingToMoveOrNoPlainFileLeavesEverythingAlone) {
    EXPECT_FALSE(Move());
    EXPECT_FALSE(fs::exists(now));
    EXPECT_TRUE(fs::exists(old));
    // A link is left where it is: moved, a relative one would point elsewhere.
    Write(root / "elsewhere.dat", "linked list");
    fs::create_symlink(root / "elsewhere.dat", old / "toplist.dat");
    EXPECT_FALSE(Move());
    EXPECT_TRUE(fs::is_symlink(old / "toplist.dat"));
    EXPECT_FALSE(fs::exists(now / "toplist.dat"));
}
