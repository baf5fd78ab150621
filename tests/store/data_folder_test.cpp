#include "store/data_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "store/settings.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

TEST(SetUpDataFolder, FirstRunContentFileByFile) {
    TempFolder home;
    Settings settings = ReadSettings(home.path());
    DataFolderSetUp setUp = SetUpDataFolder(home.path(), settings);

    EXPECT_EQ(setUp.paths.dataFolder, home.path());
    EXPECT_FALSE(setUp.unreachableFolder.has_value());
    EXPECT_EQ(ReadBytes(home / "Data.dir"), "");
    EXPECT_EQ(ReadBytes(home / "PriceLists.dat"), Slot("My First Price List"));
    EXPECT_EQ(ReadBytes(home / "Groups.dat"), Slot("My First Group"));
    EXPECT_TRUE(std::filesystem::is_regular_file(home / "Jobs0/My First Job Costing"));
    EXPECT_EQ(ReadBytes(home / "Jobs0/My First Job Costing"), "");
    EXPECT_TRUE(std::filesystem::is_empty(home / "Lists0"));
    EXPECT_EQ(ReadBytes(home / "Kiru.ini"), EncodeSettings(Settings{}));

    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(home.path()))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Data.dir", "Groups.dat", "Jobs0", "Kiru.ini",
                                               "Lists0", "PriceLists.dat"}));
}

TEST(SetUpDataFolder, LaterStartsLeaveTheDataAloneAndMakeMissingFolders) {
    TempFolder home;
    WriteBytes(home / "Groups.dat", Slot("Alpha") + Slot("Beta"));
    WriteBytes(home / "PriceLists.dat", Slot("Timber"));
    Settings settings;
    settings.CurrentGroup = 1;
    settings.CurrentList = 4;
    SetUpDataFolder(home.path(), settings);
    EXPECT_EQ(ReadBytes(home / "Groups.dat"), Slot("Alpha") + Slot("Beta"));
    EXPECT_TRUE(std::filesystem::is_directory(home / "Jobs1"));
    EXPECT_TRUE(std::filesystem::is_directory(home / "Lists4"));
    EXPECT_FALSE(Exists(home / "Jobs0"));
    EXPECT_EQ(settings.CurrentGroup, 1);
    EXPECT_EQ(ReadSettings(home.path()).CurrentList, 4);
}

TEST(SetUpDataFolder, DataDirPointsElsewhere) {
    TempFolder home, elsewhere;
    WriteBytes(home / "Data.dir", elsewhere.path());
    Settings settings;
    DataFolderSetUp setUp = SetUpDataFolder(home.path(), settings);
    EXPECT_EQ(setUp.paths.dataFolder, elsewhere.path());
    EXPECT_EQ(setUp.paths.JobFolder(12), elsewhere.path() + "Jobs12/");
    EXPECT_EQ(setUp.paths.TempJob(), elsewhere.path() + "Temp.job");
    EXPECT_TRUE(Exists(elsewhere / "Groups.dat"));
    EXPECT_FALSE(Exists(home / "Groups.dat"));
    EXPECT_TRUE(Exists(home / "Kiru.ini"));
}

TEST(SetUpDataFolder, AnUnreachableFolderFallsBackOnceAndForgetsIt) {
    TempFolder home;
    std::string gone = home / "gone/";
    WriteBytes(home / "Data.dir", gone);
    Settings settings;
    DataFolderSetUp first = SetUpDataFolder(home.path(), settings);
    ASSERT_TRUE(first.unreachableFolder.has_value());
    EXPECT_EQ(*first.unreachableFolder, gone);
    EXPECT_EQ(first.paths.dataFolder, home.path());
    EXPECT_FALSE(Exists(home / "Data.dir"));
    EXPECT_TRUE(Exists(home / "Groups.dat"));
    EXPECT_EQ(NotAccessibleMessage(gone),
              "The data folder " + gone +
                  " is not accessible !\n\n"
                  "Either it has been erased or your user permission has been rescinded.\n\n"
                  "Quantora will now start, using the default data folder.");

    DataFolderSetUp second = SetUpDataFolder(home.path(), settings);
    EXPECT_FALSE(second.unreachableFolder.has_value());
    EXPECT_EQ(ReadBytes(home / "Data.dir"), "");
}

TEST(SetUpDataFolder, ADataDirNamingNoFolderFallsBackWhateverItsBytes) {
    TempFolder home, elsewhere;
    WriteBytes(home / "a file", "x");
    const std::string contents[] = {
        elsewhere.path() + std::string(64, '\0'),  // what a power cut leaves
        home / "a file",
        "\x01\xFFgarbage",
        "/" + std::string(5000, 'x') + "/",
    };
    for (const std::string& content : contents) {
        WriteBytes(home / "Data.dir", content);
        Settings settings;
        DataFolderSetUp setUp = SetUpDataFolder(home.path(), settings);
        EXPECT_TRUE(setUp.unreachableFolder.has_value());
        EXPECT_EQ(setUp.paths.dataFolder, home.path());
        EXPECT_FALSE(SetUpDataFolder(home.path(), settings).unreachableFolder.has_value());
    }
}

TEST(SetUpDataFolder, AFolderWhereNoFileCanBeCreatedStillStarts) {
    TempFolder home;
    Settings settings = ReadSettings(home.path());
    SetUpDataFolder(home.path(), settings);
    std::filesystem::remove(home / "Data.dir");
    ::chmod(home.path().c_str(), 0555);
    {
        PermissionsEnforced asAnyUser;
        settings = ReadSettings(home.path());
        EXPECT_EQ(SetUpDataFolder(home.path(), settings).paths.dataFolder, home.path());
        settings.EditHelp = 0;
        WriteSettings(home.path(), settings);
    }
    ::chmod(home.path().c_str(), 0755);
    EXPECT_EQ(ReadSettings(home.path()).EditHelp, 0);
}

TEST(StaleTemporaryFiles, OnlyTheirOwnPatternIsCleared) {
    TempFolder home;
    Settings settings;
    DataPaths paths = SetUpDataFolder(home.path(), settings).paths;
    const std::string stale[] = {home / ".quantora-12-3.tmp",
                                 paths.JobFolder(0) + ".quantora-9-99.tmp",
                                 home / "Lists0/.quantora-7-7.tmp"};
    const std::string kept[] = {home / ".quantora-x.tmp", home / ".quantora-1.tmp",
                                paths.JobFolder(0) + "quantora-1-2.tmp", home / ".git"};
    for (const std::string& path : stale) WriteBytes(path, "half");
    for (const std::string& path : kept) WriteBytes(path, "mine");
    RemoveStaleTemporaryFiles(paths);
    for (const std::string& path : stale) EXPECT_FALSE(Exists(path)) << path;
    for (const std::string& path : kept) EXPECT_TRUE(Exists(path)) << path;
}

TEST(SetUpDataFolder, AFolderWrittenWithoutItsClosingSeparatorStillWorks) {
    TempFolder home, elsewhere;
    std::string bare = elsewhere.path().substr(0, elsewhere.path().size() - 1);
    WriteBytes(home / "Data.dir", bare);
    Settings settings;
    EXPECT_EQ(SetUpDataFolder(home.path(), settings).paths.dataFolder, elsewhere.path());
}

TEST(SetUpDataFolder, NoSelectedGroupOrListMakesNoFolder) {
    TempFolder home;
    WriteBytes(home / "Groups.dat", Slot("Alpha"));
    WriteBytes(home / "PriceLists.dat", Slot("Timber"));
    Settings settings;
    settings.CurrentGroup = -2;
    settings.CurrentList = -2;
    SetUpDataFolder(home.path(), settings);
    EXPECT_FALSE(Exists(home / "Jobs-2"));
    EXPECT_FALSE(Exists(home / "Lists-2"));
}

}  // namespace
}  // namespace quantora
