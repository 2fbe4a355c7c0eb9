// Chatter files: lines, scrambling, the fallbacks of a skin load and the rotation.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "assets/Chatter.h"

namespace pabuko {
namespace {

namespace fs = std::filesystem;

TEST(ChatterFile, LinesEndAtCrLfOrBothAndAZeroByteEndsTheText) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitTextLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\n\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("\n"), (V{""}));
    EXPECT_EQ(SplitTextLines(std::string_view("a\nb\0c\nd", 7)), (V{"a", "b"}));
    EXPECT_EQ(SplitTextLines(""), V{});

    const V lines{"%CAhoj", "", "\xE8\x9E"};
    const std::string file = WriteChatterFile(lines);
    EXPECT_EQ(file.substr(0, 8), std::string("<ZXqvs\r\n"));  // '%' ^ 0x19 = '<'
    EXPECT_EQ(ReadChatterLines(file), lines);
    // 0x19, 0x14 and 0x13 would turn into 0, CR and LF.
    for (char bad : {'\x19', '\x14', '\x13'}) {
        EXPECT_FALSE(ChatterByteStorable(static_cast<unsigned char>(bad)));
        EXPECT_THROW(WriteChatterFile({"ok", std::string("x") + bad}), std::invalid_argument);
    }
}

class ChatterLoad : public ::testing::Test {
  protected:
    fs::path root =
        fs::temp_directory_path() / ("pabuko-chatter-test-" + std::to_string(::getpid()));
    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(root / "data/skins");
    }
    void TearDown() override { fs::remove_all(root); }
    void Write(const std::string& name, const std::vector<std::string>& lines) {
        std::ofstream(root / "data/skins" / name, std::ios::binary) << WriteChatterFile(lines);
    }
    ChatterState Load(const std::string& skin) {
        ChatterState c;
        c.Load(root.string() + "/", skin);
        return c;
    }
};

TEST_F(ChatterLoad, SkinFileThenNewQvtThenTheUpperCaseLine) {
    ChatterState none = Load("noc");
    ASSERT_EQ(none.ChatterLines.size(), 1u);
    EXPECT_EQ(none.Current(), kChatterFallbackLine);
    EXPECT_EQ(none.ChatterCount, 1);

    Write("new.qvt", {"standard"});
    EXPECT_EQ(Load("noc").Current(), "standard");
    Write("noc.qvt", {"night", "owl"});
    EXPECT_EQ(Load("noc").Current(), "night");
    EXPECT_EQ(Load("noc").ChatterCount, 2);

    // An empty chatter file of the skin stands; the standard one does not replace it.
    Write("noc.qvt", {});
    EXPECT_EQ(Load("noc").Current(), kChatterFallbackLine);
}

TEST_F(ChatterLoad, LinesTakeTurnsAndLongFilesShowTheirFirst255) {
    Write("new.qvt", {"zero", "one", "two"});
    ChatterState c = Load("new");
    std::vector<std::string> shown{c.Current()};
    for (int i = 0; i < 5; ++i) shown.push_back(c.Advance());
    EXPECT_EQ(shown, (std::vector<std::string>{"zero", "one", "two", "zero", "one", "two"}));

    Write("new.qvt", {"solo"});
    c = Load("new");
    EXPECT_EQ(c.Advance(), "solo");
    EXPECT_EQ(c.Advance(), "solo");

    for (int n : {256, 300}) {
        std::vector<std::string> many;
        for (int i = 0; i < n; ++i) many.push_back(std::to_string(i));
        Write("new.qvt", many);
        c = Load("new");
        EXPECT_EQ(c.ChatterCount, 255);
        for (int i = 0; i < 254; ++i) c.Advance();
        EXPECT_EQ(c.Current(), "254");
        EXPECT_EQ(c.Advance(), "0");
    }
}

}  // namespace
}  // namespace pabuko
