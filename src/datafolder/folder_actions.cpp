#include "datafolder/folder_actions.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "datafolder/data_copy.h"
#include "datafolder/folder_access.h"
#include "datafolder/folder_census.h"
#include "datafolder/folder_choice.h"
#include "store/data_file.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

constexpr const char* kNoWriteAccess = "You do not have write access to this folder.";
constexpr const char* kErasing = "Please wait .... Erasing old files";

// A folder that is missing, barred or blocked by a file is for the checks after this one to
// answer; any other failure to list it means the drive itself cannot be read.
bool ListingFails(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir != nullptr) {
        ::closedir(dir);
        return false;
    }
    return errno != ENOENT && errno != ENOTDIR && errno != EACCES && errno != EPERM;
}

// Whether the file's first byte can be read. Only reading is tried: a restore never writes to
// the backup it restores from, and an empty file is as readable as any.
bool CanRead(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    char byte;
    bool read = ::read(fd, &byte, 1) >= 0;
    ::close(fd);
    return read;
}

// Erasing or copying one folder while the other lies inside it would reach the other's files.
std::optional<std::string> NestingRefusal(const DataPaths& paths, const std::string& selected) {
    if (FoldersNest(selected, paths.dataFolder))
        return "This folder and your data folder lie one inside the other. Please select "
               "another folder.";
    if (!SameFolder(selected, paths.defaultFolder) && FoldersNest(selected, paths.defaultFolder))
        return "This folder and the folder of Quantora's settings lie one inside the other. "
               "Please select another folder.";
    return std::nullopt;
}

// Whether erasing the folder would take anything: the default folder's own Kiru.ini and
// Data.dir are kept, so they alone are no reason to ask.
bool HoldsData(const std::string& folder, const std::string& defaultFolder) {
    std::uint64_t records = 0;
    if (folder == defaultFolder)
        records = FileExists(folder + kSettingsFileName) + FileExists(folder + kDataDirFileName);
    return CountFiles(folder) > records;
}

std::string NotEnoughSpace(FolderAction action) {
    const char* word = action == FolderAction::Restore  ? "restore"
                       : action == FolderAction::Backup ? "backup"
                                                        : "move";
    return std::string("Insufficient disk space for ") + word + ".";
}

class ActionRun {
  public:
    ActionRun(const DataPaths& paths, const Settings& settings, FolderActionObserver& observer)
        : paths_(paths), settings_(settings), observer_(observer) {}

    void Erase(const std::string& folder, const std::string& message) {
        observer_.StepStarted(message, CountFiles(folder));
        EraseData(folder, paths_.defaultFolder, settings_, [this] { observer_.FileDone(); });
    }

    std::optional<std::string> Copy(const std::string& source, const std::string& target,
                                    const std::string& message) {
        observer_.StepStarted(message, CountFiles(source));
        EnsureFolder(target);
        return CopyData(source, target, paths_.defaultFolder, [this] { observer_.FileDone(); });
    }

  private:
    const DataPaths& paths_;
    const Settings& settings_;
    FolderActionObserver& observer_;
};

ActionOutcome Backup(ActionRun& run, const DataPaths& paths, const std::string& selected) {
    run.Erase(selected, kErasing);
    return {paths.dataFolder,
            run.Copy(paths.dataFolder, selected, "Please wait .... Backing up files.")};
}

ActionOutcome Move(ActionRun& run, const DataPaths& paths, const std::string& selected) {
    run.Erase(selected, kErasing);
    constexpr const char* moving = "Please wait .... Moving files.";
    if (auto failed = run.Copy(paths.dataFolder, selected, moving))
        return {paths.dataFolder, failed};
    // The copy is on the disk; only now may Data.dir name it and the old folder go.
    WriteDataDir(paths.defaultFolder, selected);
    run.Erase(paths.dataFolder, moving);
    return {selected, std::nullopt};
}

ActionOutcome Restore(ActionRun& run, const DataPaths& paths, const std::string& selected) {
    constexpr const char* restoring = "Please wait .... Restoring files.";
    std::string staging = RestoreStagingFolder(paths.dataFolder);
    if (FolderCanBeListed(staging)) run.Erase(staging, restoring);  // left by a crash
    if (auto failed = run.Copy(selected, staging, restoring)) {
        run.Erase(staging, restoring);
        return {paths.dataFolder, failed};
    }
    // While the data folder is emptied and filled again, the complete copy is the data.
    WriteDataDir(paths.defaultFolder, staging);
    run.Erase(paths.dataFolder, kErasing);
    if (auto failed = run.Copy(staging, paths.dataFolder, restoring)) return {staging, failed};
    WriteDataDir(paths.defaultFolder, paths.dataFolder);
    run.Erase(staging, restoring);
    return {paths.dataFolder, std::nullopt};
}

}  // namespace

ActionCheck CheckFolderAction(FolderAction action, const DataPaths& paths,
                              const std::string& selected) {
    ActionCheck check;
    if (ListingFails(selected)) {
        check.refusal = "Disk drive is empty!";
        return check;
    }
    if (action == FolderAction::Restore) {
        std::vector<std::string> files = ListNormalFiles(selected);
        if (files.empty())
            check.refusal = "The selected folder is empty.";
        else if (!CanRead(selected + files.front()))
            check.refusal = "You do not have read access to this folder.";
    } else if (Permissions(selected) != Access::Folder) {
        check.refusal = kNoWriteAccess;
    }
    if (check.refusal || action == FolderAction::Use) return check;
    if ((check.refusal = NestingRefusal(paths, selected))) return check;

    bool restore = action == FolderAction::Restore;
    const std::string& source = restore ? selected : paths.dataFolder;
    const std::string& target = restore ? paths.dataFolder : selected;
    EnsureFolder(selected);
    switch (CheckDiskSpace(target, source, target)) {
        case SpaceCheck::NotEnough:
            check.refusal = NotEnoughSpace(action);
            return check;
        case SpaceCheck::Unknown:
            check.spaceUnknown = true;
            break;
        case SpaceCheck::Enough:
            break;
    }
    if (HoldsData(target, paths.defaultFolder)) {
        if (restore)
            check.wipe = {"The current folder already contains data files !",
                          "If you continue, they will be erased and replaced by the files in "
                          "the backup folder.\""};
        else if (action == FolderAction::Backup)
            check.wipe = {"The backup folder already contains data files !",
                          "If you continue, they will be erased and replaced by the files in "
                          "the current data folder."};
        else
            check.wipe = {"The new folder already contains data files !",
                          "If you continue, they will be erased and replaced by the files in "
                          "the current data folder."};
    }
    return check;
}

ActionOutcome RunFolderAction(FolderAction action, const DataPaths& paths,
                              const std::string& selected, const Settings& settings,
                              FolderActionObserver& observer) {
    ActionRun run(paths, settings, observer);
    switch (action) {
        case FolderAction::Use:
            WriteDataDir(paths.defaultFolder, selected);
            return {selected, std::nullopt};
        case FolderAction::Backup:
            return Backup(run, paths, selected);
        case FolderAction::Move:
            return Move(run, paths, selected);
        case FolderAction::Restore:
            return Restore(run, paths, selected);
    }
    return {paths.dataFolder, std::nullopt};
}

std::string RestoreStagingFolder(const std::string& dataFolder) {
    return dataFolder + ".quantora-restore/";
}

void RemoveLeftoverRestoreCopy(const DataPaths& paths, const Settings& settings) {
    std::string staging = RestoreStagingFolder(paths.dataFolder);
    if (FolderCanBeListed(staging)) EraseData(staging, paths.defaultFolder, settings, {});
}

std::string UncopiedFileMessage(const std::string& file) {
    return "The file " + file +
           " could not be copied, so Quantora has stopped. Your data folder is complete and "
           "the folder it was being copied from is unchanged.";
}

}  // namespace quantora
