// Where the game looks for data/: beside its executable first, then in ../share/pabuko.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/ProgramFolder.h"

namespace pabuko {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("pabuko-folder-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "bin");
    }
    void TearDown() override { fs::remove_all(root); }
    std::string Bin() const { return (root / "bin").string() + "/"; }
    fs::path root;
};

TEST_F(ProgramFolderTest, DataBesideTheExecutableThenInShareThenTheExecutablesFolder) {
    EXPECT_EQ(FindProgramFolder(Bin()), Bin());
    fs::create_directories(root / "share/pabuko/data");
    EXPECT_EQ(FindProgramFolder(Bin()), (root / "share/pabuko").string() + "/");
    fs::create_directories(root / "bin/data");
    EXPECT_EQ(FindProgramFolder(Bin()), Bin());
}

}  // namespace
}  // namespace pabuko
