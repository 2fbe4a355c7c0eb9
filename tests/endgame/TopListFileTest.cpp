// toplist.dat: layout, reading, the damaged file, and the safe write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/Game.h"
#include "core/WindowlessHost.h"
#include "endgame/TopListFile.h"
#include "endgame/TopListFileStore.h"

namespace pabuko::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TopListEntries SampleList() {
    TopListEntries list = StandardTopList();
    list[0] = {"Hurbo", 123456};
    list[1] = {"\x8Eofie \x9Arotov\xE1", 70000};  // Žofie Šrotová in Windows-1250
    list[2] = {"", 500};
    list[3] = {"12345678901234567890", -42};
    return list;
}

class TopListFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("pabuko-toplist-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        store = TopListFileStore(folder.string() + "/");
        file = folder / "toplist.dat";
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    int32_t Best() const { return store.Entries()[0].Points; }
    // The failed save's box: the folder, why, and what is lost.
    std::string SaveError(const std::string& why) const {
        return "message Chyba|error|TOP-List se nepodařilo uložit do souboru toplist.dat ve "
               "složce „" +
               file.parent_path().string() + "“.\r" + why +
               " Nové zápisy do TOP-Listu se neuložily.";
    }
    static constexpr const char* kKept =
        "Soubor je poškozený nebo nečitelný, a proto zůstal beze změny.";

    fs::path folder, file;
    WindowlessHost host;
    TopListFileStore store;
};

TEST(TopListLayout, EntriesAreTwentyEightBytesWithLengthNameAndScore) {
    const std::string bytes = EncodeTopList(SampleList());
    ASSERT_EQ(bytes.size(), 280u);
    EXPECT_EQ(bytes[0], 5);
    EXPECT_EQ(bytes.substr(1, 5), "Hurbo");
    // 123456 = 0x0001E240, little-endian at offset 24.
    EXPECT_EQ(bytes.substr(24, 4), std::string("\x40\xE2\x01\x00", 4));
    EXPECT_EQ(bytes[28 + 0], 13);
    EXPECT_EQ(bytes[56], 0);
    EXPECT_EQ(bytes[84], 20);
    EXPECT_EQ(bytes.substr(84 + 24, 4), std::string("\xD6\xFF\xFF\xFF", 4));  // −42
    EXPECT_EQ(bytes[9 * 28], 6);
    EXPECT_EQ(bytes.substr(9 * 28 + 1, 6), "anonym");
}

TEST(TopListLayout, DecodingGivesBackWhatWasEncoded) {
    const TopListEntries list = SampleList();
    const TopListEntries back = DecodeTopList(EncodeTopList(list));
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(back[i].Name, list[i].Name) << i;
        EXPECT_EQ(back[i].Points, list[i].Points) << i;
    }
}

TEST(TopListLayout, OverlongNamesAreCutToTwentyBytes) {
    TopListEntries list = StandardTopList();
    list[0].Name = std::string(25, 'x');
    std::string bytes = EncodeTopList(list);
    EXPECT_EQ(bytes[0], 20);
    EXPECT_EQ(DecodeTopList(bytes)[0].Name, std::string(20, 'x'));

    // A length byte beyond 20 reads no further than the name field.
    bytes[0] = static_cast<char>(200);
    EXPECT_EQ(DecodeTopList(bytes)[0].Name.size(), 20u);
}

TEST_F(TopListFileTest, WrittenListReadsBackTheSameAtTheNextStart) {
    store.SetEntries(SampleList());
    ASSERT_TRUE(store.Save(host));
    EXPECT_EQ(fs::file_size(file), 280u);

    TopListFileStore next(folder.string() + "/");
    next.Read(host);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(next.Entries()[i].Name, SampleList()[i].Name) << i;
        EXPECT_EQ(next.Entries()[i].Points, SampleList()[i].Points) << i;
    }
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(TopListFileTest, OwnFolderReplacesTheProgramFolder) {
    fs::create_directory(folder / "user");
    store = TopListFileStore(folder.string() + "/", (folder / "user").string() + "/");
    store.SetEntries(SampleList());
    ASSERT_TRUE(store.Save(host));
    EXPECT_TRUE(fs::exists(folder / "user" / "toplist.dat"));
    EXPECT_FALSE(fs::exists(file));
    store.SetEntries(StandardTopList());
    store.Read(host);
    EXPECT_EQ(Best(), 123456);
}

TEST_F(TopListFileTest, MissingFileGivesTheStandardListSilently) {
    TopListEntries before = StandardTopList();
    before[0] = {"x", 5};
    store.SetEntries(before);
    store.Read(host);
    for (const auto& e : store.Entries()) {
        EXPECT_EQ(e.Name, "anonym");
        EXPECT_EQ(e.Points, 0);
    }
    EXPECT_TRUE(host.calls.empty());
    EXPECT_FALSE(fs::exists(folder / "toplist.dat.bak"));
}

TEST_F(TopListFileTest, LongerFileIsReadByItsFirst280Bytes) {
    WriteFile(file, EncodeTopList(SampleList()) + "trailing");
    store.Read(host);
    EXPECT_EQ(store.Entries()[0].Name, "Hurbo");
    EXPECT_EQ(Best(), 123456);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(TopListFileTest, ShortFileIsKeptAsBackupAndTheListStartsAgain) {
    const std::string damaged = EncodeTopList(SampleList()).substr(0, 279);
    WriteFile(file, damaged);
    store.Read(host);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{
                  "message Upozornění|warning|Soubor toplist.dat je poškozený. Byl uložen jako "
                  "toplist.dat.bak a TOP-List začíná znovu."}));
    EXPECT_EQ(store.Entries()[0].Name, "anonym");
    EXPECT_EQ(Best(), 0);
    EXPECT_EQ(ReadFile(folder / "toplist.dat.bak"), damaged);

    // The closing save then writes a whole new list and leaves the backup alone.
    ASSERT_TRUE(store.Save(host));
    EXPECT_EQ(fs::file_size(file), 280u);
    EXPECT_EQ(ReadFile(folder / "toplist.dat.bak"), damaged);
}

TEST_F(TopListFileTest, EveryDamagedFileGetsABackupOfItsOwn) {
    WriteFile(folder / "toplist.dat.bak", "first");
    WriteFile(folder / "toplist.dat.bak.1", "second");
    WriteFile(file, "third");
    store.Read(host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              "message Upozornění|warning|Soubor toplist.dat je poškozený. Byl "
                              "uložen jako toplist.dat.bak.2 a TOP-List začíná znovu."}));
    EXPECT_EQ(ReadFile(folder / "toplist.dat.bak"), "first");
    EXPECT_EQ(ReadFile(folder / "toplist.dat.bak.1"), "second");
    EXPECT_EQ(ReadFile(folder / "toplist.dat.bak.2"), "third");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(TopListFileTest, DamagedFileThatCannotBeBackedUpIsNeverOverwritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string damaged = EncodeTopList(SampleList()).substr(0, 100);
    WriteFile(file, damaged);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    store.Read(host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              "message Upozornění|warning|Soubor toplist.dat je poškozený. "
                              "TOP-List začíná znovu."}));
    fs::permissions(folder, fs::perms::owner_all);
    host.calls.clear();
    EXPECT_FALSE(store.Save(host));
    EXPECT_EQ(host.calls, (std::vector<std::string>{SaveError(kKept)}));
    EXPECT_EQ(ReadFile(file), damaged);
}

TEST_F(TopListFileTest, FileThatCannotBeReadIsLeftAloneAndNeverOverwritten) {
    const std::string warning =
        "message Upozornění|warning|Soubor toplist.dat nelze přečíst. Hraje se se základním "
        "TOP-Listem a soubor zůstane beze změny.";
    const std::string error = SaveError(kKept);
    fs::create_directory(file);  // a folder where the file should be
    EXPECT_EQ(LoadTopListFile(file).State, TopListFileState::Unreadable);
    store.Read(host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{warning}));
    EXPECT_FALSE(fs::exists(folder / "toplist.dat.bak"));
    EXPECT_FALSE(store.Save(host));
    EXPECT_TRUE(fs::is_directory(file));
    fs::remove(file);

    if (::geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
    const std::string intact = EncodeTopList(SampleList());
    WriteFile(file, intact);
    fs::permissions(file, fs::perms::owner_write);
    host.calls.clear();
    TopListFileStore other(folder.string() + "/");
    other.Read(host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{warning}));
    EXPECT_EQ(other.Entries()[0].Points, 0);
    host.calls.clear();
    EXPECT_FALSE(other.Save(host));
    EXPECT_EQ(host.calls, (std::vector<std::string>{error}));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadFile(file), intact);
}

TEST_F(TopListFileTest, TwoCopiesSavingKeepEachOthersEntries) {
    WriteFile(file, EncodeTopList(SampleList()));  // 123456, 70000, 500, −42, 0 …
    GameState a, b;
    TopListFileStore listA(folder.string() + "/"), listB(folder.string() + "/");
    ManualClock clock;
    ScriptedSeeds seeds;
    LevelTableAsIs levelSets;
    Game first(a, host, clock, seeds, levelSets, listA);
    Game second(b, host, clock, seeds, levelSets, listB);
    listA.Read(host);
    listB.Read(host);
    a.Levels.LevelSetName = b.Levels.LevelSetName = "new";
    host.name = "A";
    a.Score = 600;
    first.EnterTopList();
    host.name = "B";
    b.Score = 600;
    second.EnterTopList();
    b.Score = 80000;
    second.EnterTopList();

    ASSERT_TRUE(listB.Save(host));
    ASSERT_TRUE(listA.Save(host));  // closes last: must not drop the other's entries
    const TopListEntries saved = LoadTopListFile(file).Entries;
    const std::vector<std::pair<std::string, int32_t>> expected{
        {"Hurbo", 123456}, {"B", 80000}, {"\x8Eofie \x9Arotov\xE1", 70000},
        {"B", 600},        {"A", 600},   {"", 500}};  // equal scores: the earlier save first
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(saved[i].Name, expected[i].first) << i;
        EXPECT_EQ(saved[i].Points, expected[i].second) << i;
    }
    for (const auto& entry : fs::directory_iterator(folder))  // no temporary file left
        EXPECT_TRUE(entry.path().filename() == "toplist.dat" ||
                    entry.path().filename() == "toplist.dat.lock");
}

TEST_F(TopListFileTest, ListBesideTheProgramIsCopiedIntoTheUsersFolder) {
    const std::string old = EncodeTopList(SampleList());
    WriteFile(file, old);
    fs::create_directory(folder / "user");
    store = TopListFileStore(folder.string() + "/", (folder / "user").string() + "/");
    store.Read(host);
    EXPECT_EQ(Best(), 123456);
    TopListEntries changed = store.Entries();
    changed[0].Points = 1;
    store.SetEntries(changed);
    ASSERT_TRUE(store.Save(host));
    EXPECT_EQ(ReadFile(file), old);  // never changed
    EXPECT_EQ(LoadTopListFile(folder / "user" / "toplist.dat").Entries[0].Points, 123456);
}

TEST_F(TopListFileTest, FailedWriteKeepsTheOldFileWhole) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const std::string old = EncodeTopList(SampleList());
    WriteFile(file, old);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(WriteTopListFile(file, StandardTopList()));
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(ReadFile(file), old);
}

TEST_F(TopListFileTest, WriteProtectedListIsLeftAsItIs) {
    const std::string old = EncodeTopList(SampleList());
    WriteFile(file, old);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(WriteTopListFile(file, StandardTopList()));
    EXPECT_EQ(ReadFile(file), old);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(TopListFileTest, SymlinkedListIsWrittenWhereTheLinkLeads) {
    fs::create_directory(folder / "kept");
    const fs::path target = folder / "kept" / "scores.dat";
    WriteFile(target, EncodeTopList(StandardTopList()));
    fs::create_symlink("kept/scores.dat", file);
    ASSERT_TRUE(WriteTopListFile(file, SampleList()));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(ReadFile(target), EncodeTopList(SampleList()));
    // A link to a list not yet there makes it; links in a circle write nothing.
    fs::remove(target);
    ASSERT_TRUE(WriteTopListFile(file, SampleList()));
    EXPECT_EQ(ReadFile(target), EncodeTopList(SampleList()));
    fs::remove(file);
    fs::create_symlink("toplist.dat", file);
    EXPECT_FALSE(WriteTopListFile(file, SampleList()));
}

TEST_F(TopListFileTest, TemporaryFilesOfKilledSavesAreRemovedAndNothingElse) {
    for (const char* name : {"toplist.dat.0badf00d.tmp", "toplist.dat.12345678.tmp"})
        WriteFile(folder / name, "half");
    const std::vector<std::string> others{"toplist.dat",
                                          "toplist.dat.bak",
                                          "toplist.dat.lock",
                                          "toplist.dat.1234567.tmp",
                                          "toplist.dat.XYZ45678.tmp",
                                          "jiny.dat.12345678.tmp"};
    for (const auto& name : others) WriteFile(folder / name, "x");
    RemoveStaleTopListTemps(file);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = others;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST_F(TopListFileTest, KilledWriterLeavesTheOldOrTheNewListWhole) {
    // A writer process saves two lists in turn and is killed at a different moment each
    // time, counted from the saves it has finished, so the kills fall before, inside and
    // between saves whatever the machine's load; the file always holds one list complete.
    TopListEntries a = SampleList();
    TopListEntries b = StandardTopList();
    b[0] = {"Nový", 999};
    const std::string bytesA = EncodeTopList(a);
    const std::string bytesB = EncodeTopList(b);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(WriteTopListFile(file, a));
    const auto oneSave = std::chrono::steady_clock::now() - start;
    for (int round = 0; round < 42; ++round) {
        int done[2];
        ASSERT_EQ(::pipe(done), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                WriteTopListFile(file, (i % 2) ? a : b);
                (void)!::write(done[1], "s", 1);
            }
        }
        ::close(done[1]);
        char c;
        for (int saved = 0; saved < round % 3; ++saved) ASSERT_EQ(::read(done[0], &c, 1), 1);
        std::this_thread::sleep_for(oneSave * (round % 7) / 6);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(done[0]);
        const std::string now = ReadFile(file);
        ASSERT_TRUE(now == bytesA || now == bytesB)
            << "round " << round << ", " << now.size() << " bytes";
    }
}

TEST_F(TopListFileTest, FailedSaveNamesTheFolderAndWhy) {
    store.SetEntries(SampleList());
    fs::create_directory(file);  // a folder where the file should be
    EXPECT_FALSE(store.Save(host));
    EXPECT_EQ(host.calls, (std::vector<std::string>{SaveError(kKept)}));
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_NE(entry.path().extension(), ".tmp");
    fs::remove(file);

    // Write-protected: left as it is, its permissions too.
    host.calls.clear();
    const std::string old = EncodeTopList(StandardTopList());
    WriteFile(file, old);
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_FALSE(store.Save(host));
    EXPECT_EQ(host.calls, (std::vector<std::string>{SaveError(
                              "Soubor je chráněný proti zápisu, a proto zůstal beze změny.")}));
    EXPECT_EQ(ReadFile(file), old);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);

    host.calls.clear();
    store = TopListFileStore((folder / "no-such-folder").string() + "/");
    file = folder / "no-such-folder" / "toplist.dat";
    EXPECT_FALSE(store.Save(host));
    EXPECT_EQ(
        host.calls,
        (std::vector<std::string>{SaveError("Složka neexistuje, nebo do ní nelze zapisovat.")}));
}

TEST_F(TopListFileTest, SaveWritesThroughASymlinkAndClearsKilledSavesTemporaryFiles) {
    fs::create_directory(folder / "kept");
    WriteFile(folder / "kept" / "scores.dat", EncodeTopList(StandardTopList()));
    fs::create_symlink("kept/scores.dat", file);
    // What 35 killed saves left behind.
    for (int i = 0; i < 5; ++i)
        WriteFile(folder / "kept" / ("scores.dat.0000000" + std::to_string(i) + ".tmp"), "x");
    store.Read(host);
    store.Enter({"Hurbo", 10});
    ASSERT_TRUE(store.Save(host));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(LoadTopListFile(folder / "kept" / "scores.dat").Entries[0].Points, 10);
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(folder / "kept"))
        kept.push_back(entry.path().filename().string());
    EXPECT_EQ(kept, std::vector<std::string>{"scores.dat"});
}

TEST_F(TopListFileTest, TwoProcessesSavingAtTheSameInstantKeepBothEntries) {
    WriteFile(file, EncodeTopList(SampleList()));  // 123456, 70000, 500, −42, 0 …
    store.Read(host);
    store.Enter({"B", 600});

    int go[2], saved[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(saved), 0);
    const pid_t copy = ::fork();
    ASSERT_GE(copy, 0);
    if (copy == 0) {
        host.recordCalls = false;
        char c;
        (void)!::read(go[0], &c, 1);
        const char result = store.Save(host) ? 'y' : 'n';
        (void)!::write(saved[1], &result, 1);
        ::_exit(0);
    }
    ::close(saved[1]);
    // This process is another copy in the middle of its save: it holds the lock and has
    // read the list on disk, but not yet renamed its own into place. (Taken after the fork,
    // so that the child holds no copy of it.)
    auto other = std::make_unique<TopListLock>(file);
    ASSERT_TRUE(other->Held());
    TopListEntries theirs = LoadTopListFile(file).Entries;
    InsertTopListEntry(theirs, {"A", 700});
    ASSERT_EQ(::write(go[1], "g", 1), 1);
    // The child's save gets every chance to run ahead; with the lock it waits instead.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(WriteTopListFile(file, theirs));
    other.reset();
    char result = 0;
    ASSERT_EQ(::read(saved[0], &result, 1), 1);
    ::close(saved[0]);
    ::waitpid(copy, nullptr, 0);
    EXPECT_EQ(result, 'y');
    const TopListEntries list = LoadTopListFile(file).Entries;
    EXPECT_EQ(list[2].Name, "A");
    EXPECT_EQ(list[2].Points, 700);
    EXPECT_EQ(list[3].Name, "B");
    EXPECT_EQ(list[3].Points, 600);

    // Held by another process longer than a save waits: not taken, and told apart from a
    // lock file that cannot be made.
    const TopListLock held(file);
    const pid_t waiter = ::fork();
    ASSERT_GE(waiter, 0);
    if (waiter == 0) {
        const TopListLock mine(file, 50);
        ::_exit(!mine.Held() && mine.Busy() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(waiter, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const TopListLock nowhere(folder / "no-such-folder" / "toplist.dat", 50);
    EXPECT_FALSE(nowhere.Held());
    EXPECT_FALSE(nowhere.Busy());
}

TEST_F(TopListFileTest, SaveIntoAReadOnlyFolderFails) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(store.Save(host));
    EXPECT_EQ(host.calls.size(), 1u);
}

}  // namespace
}  // namespace pabuko::testing
