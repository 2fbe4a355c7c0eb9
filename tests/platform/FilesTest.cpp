#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Files.h"

namespace pabuko {
namespace {

namespace fs = std::filesystem;

TEST(Files, AFileIsARegularFileOrALinkToOneAnythingElseOnlyExists) {
    const fs::path dir = fs::temp_directory_path() / ("pabuko-files-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "folder");
    std::ofstream(dir / "file") << "x";
    fs::create_symlink(dir / "file", dir / "link");
    fs::create_symlink(dir / "gone", dir / "dangling");

    EXPECT_TRUE(FileExists((dir / "file").string()));
    EXPECT_TRUE(FileExists((dir / "link").string()));
    EXPECT_FALSE(FileExists((dir / "folder").string()));
    EXPECT_FALSE(FileExists((dir / "dangling").string()));
    EXPECT_FALSE(FileExists((dir / "missing").string()));
    EXPECT_FALSE(FileExists((dir / "file" / "below").string()));  // an error, not an answer

    EXPECT_TRUE(PathExists((dir / "folder").string()));
    EXPECT_TRUE(PathExists((dir / "file").string()));
    EXPECT_FALSE(PathExists((dir / "missing").string()));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace pabuko
