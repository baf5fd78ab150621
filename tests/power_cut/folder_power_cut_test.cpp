// A move, a backup and a restore of the data folder with the power cut at each of their steps:
// after the next start the data folder holds the old data or the new data exactly, the folder
// a restore copies from is as it was, and a backup that claims to be whole is.
#include <gtest/gtest.h>

#include "datafolder/data_copy.h"
#include "datafolder/folder_actions.h"
#include "datafolder/folder_census.h"
#include "power_cut.h"
#include "store/data_file.h"

namespace quantora {
namespace {

using namespace testing;

constexpr const char* kElsewhere = "/quantora-power-cut/elsewhere/";

// Jobs in two groups, items in a list, the indexes: each file's bytes tell whose data it is.
void PutData(const std::string& folder, char mark) {
    for (int group = 0; group < 2; ++group)
        for (int job = 0; job < 3; ++job)
            PutFile(folder + "Jobs" + std::to_string(group) + "/Job " + std::to_string(job),
                    std::string(98 * (1 + job * 20), static_cast<char>(mark + group)));
    for (int item = 0; item < 3; ++item)
        PutFile(folder + "Lists0/Item " + std::to_string(item), std::string(8, mark));
    PutFile(folder + "Groups.dat", std::string(140, mark));
    PutFile(folder + "PriceLists.dat", std::string(70, mark));
}

std::map<std::string, std::string> DataOnly(std::map<std::string, std::string> files) {
    files.erase(kSettingsFileName);
    files.erase(kDataDirFileName);
    return files;
}

class FolderActionPowerCut : public ::testing::TestWithParam<FolderAction> {
  protected:
    void SetUp() override {
        FileLayerInUse use(before);
        paths = NewDataFolder(settings);
        PutData(kHome, 'a');
        data = DataOnly(FilesUnder(before, kHome));
        if (GetParam() != FolderAction::Move) {
            PutData(kElsewhere, 'k');
            // Marked as a finished backup: a restore takes it as it stands, and a backup goes
            // over an older one.
            PutFile(std::string(kElsewhere) + kBackupCompleteMarker, "");
            backup = DataOnly(FilesUnder(before, kElsewhere));
        }
        EnsureFolderPath(kElsewhere);
        before.FlushDisk("/");
    }

    std::string Check(const MemoryDisk& disk, const DataPaths& found, bool done) {
        std::map<std::string, std::string> now = DataOnly(FilesUnder(disk, found.dataFolder));
        auto hidden = [&](const std::string& folder) {
            std::vector<FolderEntry> entries;
            Files().List(folder, entries);
            for (const FolderEntry& entry : entries)
                if (entry.name[0] == '.') return folder + entry.name + " is left";
            return std::string();
        };
        if (std::string left = hidden(kHome) + hidden(found.dataFolder); !left.empty()) return left;
        switch (GetParam()) {
            case FolderAction::Move: {
                if (found.dataFolder != kHome && found.dataFolder != kElsewhere)
                    return "the data folder is " + found.dataFolder;
                if (now != data) return "the data moved is not whole";
                if (done && found.dataFolder != kElsewhere) return "moved, then back";
                const char* other = found.dataFolder == kHome ? kElsewhere : kHome;
                if (!DataOnly(FilesUnder(disk, other)).empty()) return "data left behind";
                return "";
            }
            case FolderAction::Restore:
                if (found.dataFolder != kHome) return "the data folder is " + found.dataFolder;
                if (DataOnly(FilesUnder(disk, kElsewhere)) != backup) return "the backup changed";
                if (now == backup) return "";
                if (now == data) return done ? "restored, then the old data back" : "";
                return "a mix of the old data and the backup";
            case FolderAction::Backup: {
                if (now != data) return "the data changed";
                ActionCheck restore = CheckFolderAction(FolderAction::Restore, found, kElsewhere);
                bool whole = !restore.refusal && !restore.incompleteBackup;
                std::map<std::string, std::string> held = DataOnly(FilesUnder(disk, kElsewhere));
                if (whole && held != data && held != backup)
                    return "marked whole with " + std::to_string(held.size()) + " files";
                if (done && (!whole || held != data)) return "backed up, then lost";
                return "";
            }
            case FolderAction::Use:
                break;
        }
        return "";
    }

    MemoryDisk before;
    Settings settings;
    DataPaths paths;
    std::map<std::string, std::string> data, backup;
};

TEST_P(FolderActionPowerCut, TheDataIsOldOrNewAndNeverLost) {
    FolderAction action = GetParam();
    bool done = false;
    auto run = [&] {
        done = false;
        FolderActionObserver quiet;
        done = !RunFolderAction(action, paths, kElsewhere, settings, quiet).uncopiedFile;
    };
    DataPaths found;
    auto restart = [&] { found = StartAgain(); };
    auto check = [&](const MemoryDisk& disk) { return Check(disk, found, done); };
    ExpectEveryCutSurvived(action == FolderAction::Move     ? "move"
                           : action == FolderAction::Backup ? "backup"
                                                            : "restore",
                           before, run, restart, check, 20);
}

INSTANTIATE_TEST_SUITE_P(EveryCopyingAction, FolderActionPowerCut,
                         ::testing::Values(FolderAction::Move, FolderAction::Backup,
                                           FolderAction::Restore));

}  // namespace
}  // namespace quantora
