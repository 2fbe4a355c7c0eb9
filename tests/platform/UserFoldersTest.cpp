#include <gtest/gtest.h>
#include <stdlib.h>

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
    }
    {
        // Unset, empty and relative values all mean the default under HOME.
        ScopedEnv data("XDG_DATA_HOME", std::nullopt);
        ScopedEnv config("XDG_CONFIG_HOME", "relative/conf");
        EXPECT_EQ(UserDataFolder(), "/home/hrac/.local/share/pabuko/");
        EXPECT_EQ(UserConfigFolder(), "/home/hrac/.config/pabuko/");
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
