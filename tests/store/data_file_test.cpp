#include "store/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

TEST(DataFile, OpeningCreatesAMissingFileAndClearsReadOnly) {
    TempFolder dir;
    {
        DataFile file = DataFile::Open(dir / "new");
        EXPECT_EQ(file.Size(), 0u);
        file.WriteAt(4, "xy");
    }
    EXPECT_EQ(ReadBytes(dir / "new"), std::string("\0\0\0\0xy", 6));

    ::chmod((dir / "new").c_str(), 0444);
    DataFile::Open(dir / "new").WriteAt(0, "ab");
    EXPECT_EQ(ReadBytes(dir / "new").substr(0, 2), "ab");
}

TEST(DataFile, AFileThatCannotBeOpenedIsADataFileError) {
    TempFolder dir;
    try {
        DataFile::Open(dir / "no such folder/file");
        FAIL() << "opened a file in a missing folder";
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.kind(), DataFileError::Kind::Open);
        EXPECT_EQ(e.UserMessage(),
                  "Error - One of the program's data files cannot be opened !   \n\n"
                  "Either another application has opened it or there is a fault in the Windows "
                  "file locking system.    \n\nPlease restart your computer.    ");
    }
    std::filesystem::create_directory(dir / "folder");
    EXPECT_THROW(DataFile::Open(dir / "folder"), DataFileError);
    DataFile unused;
    EXPECT_FALSE(DataFile::OpenExistingForReading(dir / "folder", unused));
    EXPECT_FALSE(DataFile::OpenExistingForReading(dir / "missing", unused));
}

TEST(DeleteDataFile, MissingIsFineReadOnlyIsDeletedAFolderCannotBe) {
    TempFolder dir;
    EXPECT_NO_THROW(DeleteDataFile(dir / "missing"));
    WriteBytes(dir / "locked", "x");
    ::chmod((dir / "locked").c_str(), 0444);
    DeleteDataFile(dir / "locked");
    EXPECT_FALSE(Exists(dir / "locked"));

    std::filesystem::create_directories(dir / "busy/inner");
    try {
        DeleteDataFile(dir / "busy");
        FAIL() << "deleted a folder as a data file";
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.kind(), DataFileError::Kind::Delete);
        EXPECT_EQ(e.UserMessage().substr(0, 63),
                  "Error - One of the program's data files cannot be deleted !   \n");
    }
}

TEST(EnsureFolder, CreatesOnlyTheLastLevelAndIgnoresErrors) {
    TempFolder dir;
    EnsureFolder(dir / "Jobs0/");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Jobs0"));
    EnsureFolder(dir / "Jobs0/");  // already there: no complaint
    EnsureFolder(dir / "a/b/");    // two missing levels: nothing is made
    EXPECT_FALSE(Exists(dir / "a"));
}

TEST(ReplaceFile, LeavesTheNewContentAndNoTemporaryFiles) {
    TempFolder dir;
    WriteBytes(dir / "job", std::string(500, 'o'));
    ::chmod((dir / "job").c_str(), 0444);
    ReplaceFile(dir / "job", "new", true);
    EXPECT_EQ(ReadBytes(dir / "job"), "new");
    CopyFileSafely(dir / "job", dir / "copy");
    EXPECT_EQ(ReadBytes(dir / "copy"), "new");
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2);
    EXPECT_THROW(CopyFileSafely(dir / "missing", dir / "copy"), DataFileError);
    EXPECT_EQ(ReadBytes(dir / "copy"), "new");
}

TEST(DataFileReaders, GoneIsNothingButUnreadableIsADataFileError) {
    TempFolder dir;
    WriteBytes(dir / "locked", "12345678");
    ::chmod((dir / "locked").c_str(), 0);
    ::mkfifo((dir / "pipe").c_str(), 0644);  // opened for reading, it would wait for ever
    WriteBytes(dir / "part", "0123456789");
    FolderReader folder(dir.path());
    DataFile unused;
    PermissionsEnforced asAnyUser;
    EXPECT_EQ(DataFile::ReadPart(dir / "part", 4, 3), "456");
    EXPECT_EQ(DataFile::ReadPart(dir / "part", 8, 5), "89");  // fewer at the end
    EXPECT_EQ(DataFile::ReadPart(dir / "missing", 0, 8), std::nullopt);
    EXPECT_EQ(folder.ReadHead("missing", 8), std::nullopt);
    EXPECT_EQ(folder.ReadHead("pipe", 8), std::nullopt);
    EXPECT_EQ(DataFile::ReadWhole(dir / "pipe"), std::nullopt);
    EXPECT_THROW(DataFile::ReadPart(dir / "locked", 0, 8), DataFileError);
    EXPECT_THROW(folder.ReadHead("locked", 8), DataFileError);
    EXPECT_THROW(DataFile::OpenExistingForReading(dir / "locked", unused), DataFileError);
}

TEST(ReplaceFile, WritesInPlaceWhereNoNewFileCanBeMade) {
    TempFolder dir;
    WriteBytes(dir / "Kiru.ini", std::string(24, 'o'));
    ::chmod(dir.path().c_str(), 0555);  // files may be written, none created
    {
        PermissionsEnforced asAnyUser;
        ReplaceFile(dir / "Kiru.ini", "new", true);
        EXPECT_THROW(ReplaceFile(dir / "Data.dir", "x", true), DataFileError);
    }
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(ReadBytes(dir / "Kiru.ini"), "new");
    EXPECT_FALSE(Exists(dir / "Data.dir"));
}

}  // namespace
}  // namespace quantora
