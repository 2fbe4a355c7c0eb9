// pabuko-tool chatter pack / dump and render matrix, run as the build runs them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QString>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "RunTool.h"

namespace {

namespace fs = std::filesystem;

using pabuko::testing::ToolRun;

// The tool's warnings and refusals are what these tests read.
ToolRun Tool(const std::string& args) {
    return pabuko::testing::Tool(args, pabuko::testing::ToolErrors::Read);
}

class ChatterTool : public ::testing::Test {
  protected:
    fs::path dir =
        fs::temp_directory_path() / ("pabuko-chatter-tool-" + std::to_string(::getpid()));
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Source(const std::string& text) {
        std::ofstream(dir / "src.txt", std::ios::binary) << text;
        return (dir / "src.txt").string() + " " + (dir / "out.qvt").string();
    }
};

TEST_F(ChatterTool, PackRefusesWhatCannotBeStoredAndWarnsOfMisreadLetters) {
    ToolRun run = Tool("chatter pack " + Source("ok\nx\xE6\xBC\xA2y\n"));  // a Chinese letter
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("line 2"), std::string::npos) << run.out;
    EXPECT_FALSE(fs::exists(dir / "out.qvt"));

    run = Tool("chatter pack " + Source("ok\n\x19\n"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("line 2"), std::string::npos) << run.out;

    run = Tool("chatter pack " +
               Source("%C\xC4\x8D\x61s\r\n\n\xC5\xBE\xC3\xA1\x62\x61\n"));  // čas, žába
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("line 1: warning: the LED line shows \"\xC4\x8D\" as \"\xC3\x88\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("line 3: warning: the LED line shows \"\xC5\xBE\" as nothing"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("\xC3\xA1"), std::string::npos) << "á shows as itself";

    run = Tool("chatter dump " + (dir / "out.qvt").string());
    ASSERT_EQ(run.status, 0) << run.out;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["ChatterCount"], 3);
    EXPECT_EQ(j["Lines"], (nlohmann::json{"%C\xC4\x8D\x61s", "", "\xC5\xBE\xC3\xA1\x62\x61"}));
}

TEST_F(ChatterTool, RenderMatrixStepsAndWritesTheImage) {
    const std::string png = (dir / "m.png").string();
    ToolRun run = Tool("render matrix --text ABC --leds 5 --steps 11 --png " + png);
    ASSERT_EQ(run.status, 0) << run.out;
    const auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["position"], -4);
    EXPECT_EQ(j["scrollDone"], 2);
    const QImage image(QString::fromStdString(png));
    EXPECT_EQ(image.size(), QSize(5 * 14 + 4 * 2, 20));

    run = Tool("render matrix --text ABC --align right --vertical --style 9x13 --png " + png);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(nlohmann::json::parse(run.out)["position"], 3 - 24 + 1);
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(9, 24 * 13 + 23 * 2));
}

}  // namespace
