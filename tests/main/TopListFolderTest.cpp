// An installed game (its folder not writable) keeps the top list in the player's data
// folder, and a list left in the folder of earlier versions moves there once.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "QtTestApp.h"
#include "endgame/TopListFile.h"
#include "main/MainWindow.h"

namespace pabuko {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

void StartAndClose(const std::string& gameFolder) {
    MainWindowOptions o;
    o.ProgramFolder = gameFolder;
    o.ShowAboutAtStart = false;
    o.ReportProblem = [](const std::string&) {};  // no data in the folder
    TfrmMain w(o);
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Started(); }, 5000));
}

TEST(TopListFolder, AnOldListMovesIntoTheDataFolderOnceAndIsNeverReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    testing::TestApp();
    QTemporaryDir game, data;
    ASSERT_TRUE(game.isValid() && data.isValid());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    fs::permissions(game.path().toStdString(), fs::perms::owner_write, fs::perm_options::remove);
    struct Restore {
        std::string folder;
        ~Restore() {
            fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
            qunsetenv("XDG_DATA_HOME");
        }
    } restore{game.path().toStdString()};

    const fs::path old = data.path().toStdString() + "/Hurbo's Pabuko/toplist.dat";
    const fs::path now = data.path().toStdString() + "/pabuko/toplist.dat";
    TopListEntries list = StandardTopList();
    list[0] = {"Hurbo", 4321};
    const std::string played = EncodeTopList(list);
    Write(old, played);

    StartAndClose(game.path().toStdString() + "/");
    EXPECT_EQ(Read(now), played);
    EXPECT_FALSE(fs::exists(old));

    // A list that turns up in the old folder later never replaces the one in use.
    const std::string other = EncodeTopList(StandardTopList());
    Write(old, other);
    StartAndClose(game.path().toStdString() + "/");
    EXPECT_EQ(Read(now), played);
    EXPECT_EQ(Read(old), other);
}

}  // namespace
}  // namespace pabuko
