#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "datafolder/data_copy.h"
#include "datafolder/folder_access.h"
#include "datafolder/folder_census.h"
#include "store/data_folder.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

// A data folder: two files of its own, a group with two jobs, a list with one item, and a
// folder two levels down and a hidden one (another tool's) that are no part of it.
void MakeData(const std::string& folder) {
    std::filesystem::create_directories(folder + "Jobs0/deeper");
    std::filesystem::create_directories(folder + "Lists0");
    std::filesystem::create_directories(folder + ".git");
    WriteBytes(folder + ".git/HEAD", "ref");
    WriteBytes(folder + "Groups.dat", std::string(70, 'g'));
    WriteBytes(folder + "PriceLists.dat", std::string(140, 'p'));
    WriteBytes(folder + "Jobs0/Shed", std::string(98 * 3, 'j'));
    WriteBytes(folder + "Jobs0/Empty", "");
    WriteBytes(folder + "Jobs0/deeper/Not counted", "x");
    WriteBytes(folder + "Lists0/Nails", std::string(8, 'n'));
}

TEST(Permissions, ANewFolderIsMadeLevelByLevelAndIsUsable) {
    TempFolder dir;
    EXPECT_EQ(Permissions(dir / "Backup/Quantora_Data/"), Access::Folder);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Backup/Quantora_Data"));
    EXPECT_FALSE(Exists(dir / "Backup/Quantora_Data/Test.txt"));
}

TEST(Permissions, TryingLeavesFilesAsTheyWere) {
    TempFolder dir;
    WriteBytes(dir / "Groups.dat", "abc");
    EXPECT_EQ(Permissions(dir.path()), Access::Folder);
    EXPECT_EQ(ReadBytes(dir / "Groups.dat"), "abc");
    EXPECT_EQ(Permissions(dir / "Groups.dat"), Access::Writable);
    EXPECT_EQ(ReadBytes(dir / "Groups.dat"), "abc");
    WriteBytes(dir / "Empty", "");
    EXPECT_EQ(Permissions(dir.path()), Access::Folder);   // the first file may be empty
    EXPECT_EQ(Permissions(dir / "Empty"), Access::None);  // nothing to read
    EXPECT_EQ(Permissions(dir / "Missing"), Access::None);
    EXPECT_EQ(ReadBytes(dir / "Missing"), "");  // made empty by the try
}

TEST(FolderCensus, OneLevelDeep) {
    TempFolder dir;
    MakeData(dir.path());
    std::vector<std::string> subs = SubFolders(dir.path());
    std::sort(subs.begin(), subs.end());
    EXPECT_EQ(subs, (std::vector<std::string>{"Jobs0", "Lists0"}));
    EXPECT_EQ(CountFiles(dir.path()), 5u);
    // 100-byte clusters: 1 + 2 for its own files, 2 folders, 3 + 0 for the jobs, 1 item.
    EXPECT_EQ(CountClusters(dir.path(), 100), 3u + 2u + 3u + 0u + 1u);
    EXPECT_EQ(CountClusters(dir / "missing/", 100), 0u);
}

TEST(FolderCensus, ZeroByteFilesNeedOnlyTheirFolders) {
    TempFolder dir;
    std::filesystem::create_directories(dir / "Jobs0");
    WriteBytes(dir / "Jobs0/a", "");
    WriteBytes(dir / "b", "");
    EXPECT_EQ(CountClusters(dir.path(), 4096), 1u);
}

TEST(DiskSpace, ATargetAsBigAsTheSourceNeedsNothingMore) {
    TempFolder source, target;
    MakeData(source.path());
    MakeData(target.path());
    EXPECT_EQ(CheckDiskSpace(target.path(), source.path(), target.path()), SpaceCheck::Enough);
    EXPECT_EQ(CheckDiskSpace(source / "no such drive/", source.path(), target.path()),
              SpaceCheck::Unknown);
}

TEST(CopyAndErase, ABackupCopiesOneLevelAndOverwrites) {
    TempFolder source, target;
    MakeData(source.path());
    WriteBytes(source / "Lists0/.quantora-supplier-names", "Pipe 3/4in\tPipe 3-4in\n");
    // The quotes sent to customers are data like the jobs.
    std::filesystem::create_directories(source / "Quotes");
    WriteBytes(source / "Quotes/Shed 2026-12-07 09.05.pdf", "%PDF-1.4");
    std::filesystem::create_directories(target / "Jobs0");
    WriteBytes(target / "Jobs0/Shed", "old");
    int files = 0;
    EXPECT_EQ(CopyData(source.path(), target.path(), "", [&] { ++files; }), std::nullopt);
    EXPECT_EQ(files, 6);
    EXPECT_EQ(ReadBytes(target / "Jobs0/Shed"), std::string(98 * 3, 'j'));
    EXPECT_EQ(ReadBytes(target / "Quotes/Shed 2026-12-07 09.05.pdf"), "%PDF-1.4");
    EXPECT_EQ(ReadBytes(target / "Lists0/Nails"), std::string(8, 'n'));
    EXPECT_EQ(ReadBytes(target / "PriceLists.dat"), std::string(140, 'p'));
    EXPECT_FALSE(Exists(target / "Jobs0/deeper"));
    EXPECT_FALSE(Exists(target / ".git"));
    // A list's import records travel with it, outside the count of files.
    EXPECT_EQ(ReadBytes(target / "Lists0/.quantora-supplier-names"), "Pipe 3/4in\tPipe 3-4in\n");
}

TEST(CopyAndErase, ErasingRemovesTheFolderButNeverTheDefaultOne) {
    TempFolder home, other;
    MakeData(other.path());
    WriteBytes(other / "Lists0/.quantora-4-42.tmp", "half");
    WriteBytes(other / "Lists0/.quantora-last-import", "A\tNails\n");
    int files = 0;
    EraseData(other.path(), home.path(), Settings{}, [&] { ++files; });
    EXPECT_EQ(files, 5);
    EXPECT_TRUE(Exists(other / "Jobs0/deeper/Not counted"));  // deeper levels stay
    EXPECT_EQ(ReadBytes(other / ".git/HEAD"), "ref");         // and so do hidden folders
    EXPECT_FALSE(Exists(other / "Lists0"));                   // its crash leftover went with it
    EXPECT_TRUE(Exists(other.path()));                        // it still holds Jobs0/deeper

    MakeData(home.path());
    WriteBytes(home / "Kiru.ini", "stale");
    Settings settings;
    settings.CurrentGroup = 3;
    EraseData(home.path(), home.path(), settings, {});
    EXPECT_TRUE(std::filesystem::is_directory(home.path()));
    EXPECT_EQ(ReadBytes(home / "Kiru.ini"), EncodeSettings(settings));
    EXPECT_FALSE(Exists(home / "Groups.dat"));
}

// What a data folder should not hold but may: a pipe, which a copy must not wait on, and links,
// which count and copy as what they lead to but are never followed by an erase.
TEST(CopyAndErase, PipesAndLinksNeitherHangACopyNorLeadAnEraseAstray) {
    TempFolder source, target, outside;
    MakeData(source.path());
    ::mkfifo((source / "Jobs0/pipe").c_str(), 0644);
    WriteBytes(outside / "kept", "not ours");
    std::filesystem::create_symlink(outside / "kept", source / "Jobs0/Linked job");
    std::filesystem::create_directory_symlink(outside.path(), source / "Jobs0/linked folder");
    std::uint64_t files = CountFiles(source.path());
    EXPECT_EQ(CopyData(source.path(), target.path(), "", {}), std::nullopt);
    EXPECT_EQ(CountFiles(target.path()), files);
    EXPECT_EQ(ReadBytes(target / "Jobs0/Linked job"), "not ours");
    EXPECT_FALSE(Exists(target / "Jobs0/pipe"));

    std::filesystem::create_directory_symlink(outside.path(), source / "Jobs0/away");
    EraseWorkingFolder(source.path(), {});
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(source.path())));
    EXPECT_EQ(ReadBytes(outside / "kept"), "not ours");
}

TEST(CopyAndErase, AFileThatCannotBeWrittenStopsTheCopyThere) {
    TempFolder source, target;
    MakeData(source.path());
    // A folder where the target file should go: no user, root included, can write it.
    std::filesystem::create_directories(target / "Lists0/Nails");
    std::optional<std::string> failed = CopyData(source.path(), target.path(), "", {});
    ASSERT_TRUE(failed.has_value());
    EXPECT_NE(failed->find("Nails"), std::string::npos);
    EXPECT_EQ(ReadBytes(source / "Lists0/Nails"), std::string(8, 'n'));  // source untouched
}

TEST(DataDir, HoldsTheFolderOnlyWhenItIsNotTheDefault) {
    TempFolder home, elsewhere;
    WriteDataDir(home.path(), elsewhere.path());
    EXPECT_EQ(ReadBytes(home / "Data.dir"), elsewhere.path());
    std::string shouted = home.path();
    for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // On Linux a folder differing only in letter case is another folder: it is recorded.
    WriteDataDir(home.path(), shouted);
    EXPECT_EQ(ReadBytes(home / "Data.dir"), shouted);
    WriteDataDir(home.path(), home.path());
    EXPECT_FALSE(Exists(home / "Data.dir"));
}

}  // namespace
}  // namespace quantora
