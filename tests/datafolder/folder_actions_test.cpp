#include "datafolder/folder_actions.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "datafolder/data_copy.h"
#include "datafolder/desk_hold.h"
#include "datafolder/folder_action_record.h"
#include "datafolder/folder_census.h"
#include "datafolder/folder_choice.h"
#include "first_run_folder.h"
#include "folder_snapshot.h"
#include "store/data_file.h"

namespace quantora {
namespace {

using namespace testing;

TEST(FolderChoice, APickedFolderGetsItsOwnDataSubFolderUnlessItIsOne) {
    TempFolder dir, program;
    EXPECT_EQ(FolderToUse(dir / "Work", program.path()), dir / "Work/Quantora_Data/");
    EXPECT_EQ(FolderToUse(dir / "Work/", program.path()), dir / "Work/Quantora_Data/");
    EXPECT_EQ(FolderToUse(dir / "Old/QUANTORA_DATA", program.path()), dir / "Old/QUANTORA_DATA/");
    EXPECT_EQ(FolderToUse(dir / "MyQuantora_Data", program.path()),
              dir / "MyQuantora_Data/Quantora_Data/");
    EXPECT_FALSE(Exists(dir / "Work/Quantora_Data"));  // not made by choosing it
    // The data folder of older versions beside the program is used as it is.
    std::filesystem::create_directories(program / "Data");
    EXPECT_EQ(FolderToUse(program / "Data", program.path()), program / "Data/");
    EXPECT_EQ(ProgramDataFolderRefusal(program / "Data/", program.path()), std::nullopt);
    EXPECT_EQ(ProgramDataFolderRefusal(dir.path(), program.path()), std::nullopt);
}

TEST(FolderChoice, TheActionsWaitForAFolderOtherThanTheDataFolder) {
    TempFolder home, data, other;
    DataPaths paths{home.path(), data.path()};
    EXPECT_FALSE(ButtonsOnOpening(paths).actions);
    EXPECT_TRUE(ButtonsOnOpening(paths).defaultFolder);
    EXPECT_FALSE(ButtonsOnOpening({home.path(), home.path()}).defaultFolder);

    EXPECT_FALSE(ButtonsForSelection(data.path(), paths).actions);
    EXPECT_TRUE(ButtonsForSelection(other.path(), paths).actions);
    EXPECT_FALSE(ButtonsForSelection(home.path(), paths).defaultFolder);
    // The data folder reached through a link is the data folder.
    std::filesystem::create_directory_symlink(data.path(), other / "link");
    EXPECT_FALSE(ButtonsForSelection(other / "link/", paths).actions);
    EXPECT_TRUE(FoldersNest(data / "Jobs0/Quantora_Data/", data.path()));
    EXPECT_TRUE(FoldersNest(data.path(), data / "Quantora_Data/"));
    EXPECT_FALSE(FoldersNest(data.path(), other.path()));
    EXPECT_FALSE(FoldersNest(data.path(), data.path()));
}

// Counts what an action reports.
struct CountingObserver : FolderActionObserver {
    void ActionStarted(std::uint64_t all) override { units = all; }
    void StepStarted(const std::string& message) override { messages.push_back(message); }
    void FileDone() override { ++files; }
    std::uint64_t units = 0;
    std::vector<std::string> messages;
    std::uint64_t files = 0;
};

class FolderActions : public FirstRunFolder {
  protected:
    void SetUp() override {
        FirstRunFolder::SetUp();
        MakeDataFolder(paths.dataFolder, "home");
        original = Snapshot(paths.dataFolder);
    }

    ActionOutcome Run(FolderAction action, const std::string& selected) {
        ActionCheck check = CheckFolderAction(action, paths, selected);
        EXPECT_EQ(check.refusal, std::nullopt);
        return RunFolderAction(action, paths, selected, settings, observer);
    }

    // Sets the data folder up again from Data.dir, as the window does after an action.
    void StartAgain() { paths = SetUpDataFolder(home.path(), settings).paths; }

    TempFolder elsewhere;
    FolderSnapshot original;
    CountingObserver observer;
};

TEST_F(FolderActions, ChecksRefuseWhatWouldLoseOrFindNothing) {
    ActionCheck empty = CheckFolderAction(FolderAction::Restore, paths, elsewhere / "None/");
    EXPECT_EQ(empty.refusal, "The selected folder is empty.");
    EXPECT_FALSE(Exists(elsewhere / "None"));  // and nothing was made

    // A backup into a folder inside the data folder would erase its own source.
    ActionCheck inside = CheckFolderAction(FolderAction::Backup, paths, home / "Quantora_Data/");
    ASSERT_TRUE(inside.refusal.has_value());
    EXPECT_NE(inside.refusal->find("inside"), std::string::npos);

    ActionCheck fresh = CheckFolderAction(FolderAction::Backup, paths, elsewhere / "New/");
    EXPECT_EQ(fresh.refusal, std::nullopt);
    EXPECT_EQ(fresh.wipe, std::nullopt);
    EXPECT_TRUE(std::filesystem::is_directory(elsewhere / "New"));

    MakeDataFolder(elsewhere / "Old/", "old");
    FolderSnapshot old = Snapshot(elsewhere / "Old/");
    ActionCheck full = CheckFolderAction(FolderAction::Move, paths, elsewhere / "Old/");
    ASSERT_TRUE(full.wipe.has_value());
    EXPECT_EQ(full.wipe->headline, "The new folder already contains data files !");
    ActionCheck restore = CheckFolderAction(FolderAction::Restore, paths, elsewhere / "Old/");
    ASSERT_TRUE(restore.wipe.has_value());
    EXPECT_EQ(restore.wipe->detail,
              "If you continue, they will be erased and replaced by the files in the backup "
              "folder.\"");
    EXPECT_EQ(Snapshot(elsewhere / "Old/"), old);  // checking reads, never writes
    EXPECT_EQ(Snapshot(paths.dataFolder), original);
}

TEST_F(FolderActions, ReadOnlyFoldersAreRefusedForWhatTheyCannotTake) {
    PermissionsEnforced asAnyUser;
    MakeDataFolder(elsewhere / "Locked/", "locked");
    ::chmod((elsewhere / "Locked/Groups.dat").c_str(), 0444);
    ::chmod((elsewhere / "Locked").c_str(), 0555);
    // Its files could be written back, but none could be erased or made.
    EXPECT_EQ(CheckFolderAction(FolderAction::Backup, paths, elsewhere / "Locked/").refusal,
              "You do not have write access to this folder.");
    // Restoring from it only needs reading.
    EXPECT_EQ(CheckFolderAction(FolderAction::Restore, paths, elsewhere / "Locked/").refusal,
              std::nullopt);
    ::chmod((elsewhere / "Locked").c_str(), 0755);
}

TEST_F(FolderActions, ABackupCopiesEveryFileAndChangesNothingElse) {
    MakeDataFolder(elsewhere / "Backup/", "stale", 9);
    WriteBytes(home / kDeskHoldFileName, "this desk");  // never carried to another folder
    ActionOutcome outcome = Run(FolderAction::Backup, elsewhere / "Backup/");
    EXPECT_EQ(outcome.uncopiedFile, std::nullopt);
    EXPECT_EQ(outcome.dataFolder, paths.dataFolder);
    EXPECT_EQ(DataOnly(Snapshot(elsewhere / "Backup/")), DataOnly(original));  // stale jobs gone
    EXPECT_FALSE(Exists(elsewhere / ("Backup/" + std::string(kDeskHoldFileName))));
    EXPECT_EQ(Snapshot(paths.dataFolder), original);
    EXPECT_EQ(observer.messages, (std::vector<std::string>{"Please wait .... Erasing old files",
                                                           "Please wait .... Backing up files."}));
    // One run of the bar: the stale files erased and the data copied.
    EXPECT_EQ(observer.files, observer.units);
}

TEST_F(FolderActions, OnlyAFinishedBackupRestoresWithoutAQuestion) {
    std::string backup = elsewhere / "Backup/";
    Run(FolderAction::Backup, backup);
    EXPECT_FALSE(CheckFolderAction(FolderAction::Restore, paths, backup).incompleteBackup);

    // Backing up again erases the mark first: cut short, the folder is no backup, though it
    // holds files at its top as a backup does.
    struct StopWhileCopying : CountingObserver {
        explicit StopWhileCopying(std::string folder) : backup(std::move(folder)) {}
        void StepStarted(const std::string& message) override { copying = message == kCopying; }
        void FileDone() override {
            if (copying && !ListNormalFiles(backup).empty()) throw std::runtime_error("kill");
        }
        const std::string kCopying = "Please wait .... Backing up files.";
        std::string backup;
        bool copying = false;
    } stop(backup);
    EXPECT_THROW(RunFolderAction(FolderAction::Backup, paths, backup, settings, stop),
                 std::runtime_error);
    EXPECT_TRUE(CheckFolderAction(FolderAction::Restore, paths, backup).incompleteBackup);

    // A folder of earlier backups, never marked, is asked about too.
    MakeDataFolder(elsewhere / "Older/", "older");
    EXPECT_TRUE(
        CheckFolderAction(FolderAction::Restore, paths, elsewhere / "Older/").incompleteBackup);

    // The mark is the program's own: a restore neither copies nor counts it.
    Run(FolderAction::Backup, backup);
    Run(FolderAction::Restore, backup);
    EXPECT_EQ(DataOnly(Snapshot(home.path())), DataOnly(original));
    EXPECT_FALSE(Exists(home / kBackupCompleteMarker));
    EXPECT_EQ(CountFiles(backup), Snapshot(backup).size());
}

// A disk with no room left is told as such, not as a folder the user may not write to.
TEST_F(FolderActions, AFullDiskIsLeftToTheSpaceCheck) {
    TempFolder mountPoint;
    auto mount = [&](const char* options) {
        return ::mount("tmpfs", mountPoint.path().c_str(), "tmpfs", 0, options) == 0;
    };
    if (!mount("size=1m,nr_inodes=400")) GTEST_SKIP() << "mounting a small disk needs root";
    std::string full = mountPoint / "Quantora_Data/";
    MakeDataFolder(full, "older");
    {
        std::ofstream filler(mountPoint / "filler", std::ios::binary);
        std::string block(4096, 'x');
        while (filler.write(block.data(), block.size())) {
        }
    }
    MakeDataFolder(paths.dataFolder, "larger", 40);
    EXPECT_EQ(CheckFolderAction(FolderAction::Backup, paths, full).refusal,
              "Insufficient disk space for backup.");
    ::umount(mountPoint.path().c_str());

    // Room for the bytes but for no more files: the space check passes, and the action goes
    // on to tell which file could not be copied.
    ASSERT_TRUE(mount("size=4m,nr_inodes=32"));
    MakeDataFolder(full, "older");
    for (int i = 0; Exists(mountPoint.path()) && i < 64; ++i)
        WriteBytes(mountPoint / ("f" + std::to_string(i)), "");
    ActionCheck check = CheckFolderAction(FolderAction::Backup, paths, full);
    EXPECT_EQ(check.refusal, std::nullopt);
    ::umount(mountPoint.path().c_str());
}

TEST_F(FolderActions, TheDefaultFolderHoldingFilesIsAskedAboutBeforeItIsEmptied) {
    std::string away = elsewhere / "Away/";
    Run(FolderAction::Move, away);
    StartAgain();
    // Only Kiru.ini and Data.dir are left there; they are files all the same.
    ActionCheck back = CheckFolderAction(FolderAction::Move, paths, home.path());
    ASSERT_TRUE(back.wipe.has_value());
    EXPECT_EQ(back.wipe->headline, "The new folder already contains data files !");
    ASSERT_TRUE(CheckFolderAction(FolderAction::Backup, paths, home.path()).wipe.has_value());
}

TEST_F(FolderActions, AMoveAwayFromTheDefaultFolderAndBack) {
    std::string away = elsewhere / "Away/";
    Run(FolderAction::Move, away);
    StartAgain();
    EXPECT_EQ(paths.dataFolder, away);
    EXPECT_EQ(ReadBytes(home / "Data.dir"), away);
    EXPECT_EQ(ReadBytes(home / "Kiru.ini"), EncodeSettings(settings));
    EXPECT_FALSE(Exists(home / "Groups.dat"));
    EXPECT_FALSE(Exists(home / "Jobs0"));
    EXPECT_TRUE(HoldsEvery(away, original));

    ActionOutcome back = Run(FolderAction::Move, home.path());
    EXPECT_EQ(back.dataFolder, home.path());
    EXPECT_FALSE(Exists(home / "Data.dir"));
    EXPECT_FALSE(Exists(away));  // the folder it moved from is gone
    StartAgain();
    EXPECT_EQ(paths.dataFolder, home.path());
    EXPECT_EQ(DataOnly(Snapshot(home.path())), DataOnly(original));
}

TEST_F(FolderActions, ARestoreReplacesTheDataAndLeavesTheBackupAsItWas) {
    std::string backup = elsewhere / "Backup/";
    MakeDataFolder(backup, "backup", 5);
    FolderSnapshot saved = Snapshot(backup);
    ActionOutcome outcome = Run(FolderAction::Restore, backup);
    EXPECT_EQ(outcome.uncopiedFile, std::nullopt);
    EXPECT_EQ(outcome.dataFolder, home.path());
    EXPECT_EQ(Snapshot(backup), saved);
    EXPECT_EQ(DataOnly(Snapshot(home.path())), saved);
    EXPECT_EQ(ReadBytes(home / "Kiru.ini"), EncodeSettings(settings));  // the settings stay
    EXPECT_FALSE(Exists(RestoreStagingFolder(home.path())));
    EXPECT_FALSE(Exists(home / "Data.dir"));
    EXPECT_EQ(std::vector<std::string>(), HiddenEntries(home.path()));
    EXPECT_EQ(observer.files, observer.units);
}

// Earlier versions restored by letting Data.dir name a copy inside the data folder while they
// emptied the data folder and filled it again. Cut short there, the next start used to run on
// the hidden copy, and the start after it deleted that copy.
TEST_F(FolderActions, ARestoreOfEarlierVersionsCutShortIsFinished) {
    std::string staging = RestoreStagingFolder(home.path());
    MakeDataFolder(staging, "backup", 6);
    FolderSnapshot backup = Snapshot(staging);
    // Half erased and a third filled again.
    std::filesystem::remove(home / "Jobs0/Job 0");
    std::filesystem::copy_file(staging + "Jobs1/Job 5", home / "Jobs1/Job 5");
    WriteBytes(home / "Data.dir", staging);

    EXPECT_EQ(FinishInterruptedAction(home.path(), settings), std::nullopt);
    StartAgain();
    EXPECT_EQ(paths.dataFolder, home.path());
    EXPECT_EQ(DataOnly(Snapshot(home.path())), backup);
    EXPECT_EQ(std::vector<std::string>(), HiddenEntries(home.path()));

    // Cut short after Data.dir named the data folder again, only the copy was left.
    MakeDataFolder(staging, "left");
    EXPECT_EQ(FinishInterruptedAction(home.path(), settings), std::nullopt);
    EXPECT_FALSE(Exists(staging));
    EXPECT_EQ(DataOnly(Snapshot(home.path())), backup);
}

// A data folder on a drive that is not there at the next start is left as the restore left it,
// and the restore is finished once the drive is back.
TEST_F(FolderActions, ARestoreCutShortWaitsForItsDrive) {
    std::string away = elsewhere / "Stick/Quantora_Data/", backup = elsewhere / "Backup/";
    Run(FolderAction::Move, away);
    StartAgain();
    MakeDataFolder(backup, "backup", 6);
    FolderSnapshot saved = Snapshot(backup);
    struct StopWhilePuttingAside : CountingObserver {
        explicit StopWhilePuttingAside(std::uint64_t copied) : stop(copied + 2) {}
        void FileDone() override {
            if (++files == stop) throw std::runtime_error("kill");
        }
        std::uint64_t stop;
    } stop(CountFiles(backup));
    EXPECT_THROW(RunFolderAction(FolderAction::Restore, paths, backup, settings, stop),
                 std::runtime_error);

    std::filesystem::rename(elsewhere / "Stick", elsewhere / "Unplugged");
    EXPECT_EQ(FinishInterruptedAction(home.path(), settings), std::nullopt);
    EXPECT_TRUE(Exists(home / kActionRecordFileName));
    EXPECT_EQ(ReadBytes(home / "Data.dir"), away);
    std::filesystem::rename(elsewhere / "Unplugged", elsewhere / "Stick");
    EXPECT_EQ(FinishInterruptedAction(home.path(), settings), std::nullopt);
    EXPECT_FALSE(Exists(home / kActionRecordFileName));
    EXPECT_EQ(DataOnly(Snapshot(away)), DataOnly(saved));
    EXPECT_EQ(HiddenEntries(away), std::vector<std::string>());
}

TEST(ActionRecord, ReadsBackWhatWasWrittenAndNothingElse) {
    ActionRecord restore{RecordedAction::Restore, ActionStep::Filling, "/b/Quantora_Data/",
                         "/home/u/Quantora_Data/"};
    EXPECT_EQ(ParseActionRecord(EncodeActionRecord(restore)), restore);
    std::string bytes = EncodeActionRecord(restore);
    EXPECT_EQ(ParseActionRecord(bytes.substr(0, bytes.size() - 1)), std::nullopt);  // cut short
    EXPECT_EQ(ParseActionRecord("quantora folder action 2" + bytes.substr(24)), std::nullopt);
    // A move has no clearing or filling step; a folder is a whole path.
    EXPECT_EQ(ParseActionRecord(
                  EncodeActionRecord({RecordedAction::Move, ActionStep::Filling, "/a/", "/b/"})),
              std::nullopt);
    EXPECT_EQ(ParseActionRecord(
                  EncodeActionRecord({RecordedAction::Move, ActionStep::Erasing, "a/", "/b/"})),
              std::nullopt);
}

TEST_F(FolderActions, ADamagedRecordIsRemovedAndTheDataLeftAsItIs) {
    WriteBytes(home / kActionRecordFileName, "quantora folder action 1");
    EXPECT_EQ(FinishInterruptedAction(home.path(), settings), std::nullopt);
    EXPECT_FALSE(Exists(home / kActionRecordFileName));
    EXPECT_EQ(Snapshot(home.path()), original);
}

TEST_F(FolderActions, ACopyThatFailsStopsBeforeTheDataMoves) {
    std::string away = elsewhere / "Away/";
    // A folder where a job should go: no user, root included, can write it.
    std::filesystem::create_directories(away + "Jobs1/Job 1");
    ActionOutcome outcome = RunFolderAction(FolderAction::Move, paths, away, settings, observer);
    ASSERT_TRUE(outcome.uncopiedFile.has_value());
    EXPECT_NE(outcome.uncopiedFile->find("Job 1"), std::string::npos);
    EXPECT_EQ(outcome.dataFolder, home.path());
    EXPECT_EQ(Snapshot(home.path()), original);  // Data.dir still names no other folder
    EXPECT_FALSE(Exists(home / kActionRecordFileName));
}

TEST_F(FolderActions, UsingAFolderOnlyRecordsIt) {
    std::string other = elsewhere / "Other/";
    EnsureFolder(other);
    EXPECT_EQ(Run(FolderAction::Use, other).dataFolder, other);
    EXPECT_EQ(ReadBytes(home / "Data.dir"), other);
    EXPECT_EQ(DataOnly(Snapshot(home.path())), DataOnly(original));
    StartAgain();
    EXPECT_TRUE(Exists(other + "Groups.dat"));  // the first-run content, made by the set-up
}

}  // namespace
}  // namespace quantora
