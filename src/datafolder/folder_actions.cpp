#include "datafolder/folder_actions.h"

#include <cerrno>

#include "datafolder/data_copy.h"
#include "datafolder/folder_access.h"
#include "datafolder/folder_action_record.h"
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
    std::vector<FolderEntry> entries;
    int error = Files().List(folder, entries);
    return error != 0 && error != ENOENT && error != ENOTDIR && error != EACCES && error != EPERM;
}

// Whether the file's first byte can be read. Only reading is tried: a restore never writes to
// the backup it restores from, and an empty file is as readable as any.
bool CanRead(const std::string& path) {
    std::string byte;
    return Files().Read(path, 0, 1, byte) == 0;
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

// Whether erasing the folder would take anything. Any file counts, the default folder's own
// Kiru.ini and Data.dir too: the user is asked before a folder holding files is emptied,
// even where the erase then keeps those two.
bool HoldsFiles(const std::string& folder) { return CountFiles(folder) > 0; }

std::string NotEnoughSpace(FolderAction action) {
    const char* word = action == FolderAction::Restore  ? "restore"
                       : action == FolderAction::Backup ? "backup"
                                                        : "move";
    return std::string("Insufficient disk space for ") + word + ".";
}

constexpr const char* kRestoring = "Please wait .... Restoring files.";
constexpr const char* kMoving = "Please wait .... Moving files.";
constexpr const char* kBackingUp = "Please wait .... Backing up files.";

// Where a restore puts the old data while the copy takes its place: hidden, inside the data
// folder, so each entry moves by one rename on the same disk.
std::string ReplacedFolder(const std::string& dataFolder) {
    return dataFolder + ".quantora-replaced/";
}

// The entries of a folder that a restore puts aside or in place, files and folders alike: all
// but the hidden ones and, in the default folder, its Kiru.ini and Data.dir. intoFolder is
// the folder they belong to afterwards, whose records they must not replace.
std::vector<std::string> SwappedEntries(const std::string& folder, const std::string& intoFolder,
                                        const std::string& defaultFolder) {
    std::vector<std::string> names;
    std::vector<FolderEntry> entries;
    if (Files().List(folder, entries) != 0) return names;
    for (FolderEntry& entry : entries)
        if (entry.name[0] != '.' && !IsProgramRecord(intoFolder, entry.name, defaultFolder))
            names.push_back(std::move(entry.name));
    return names;
}

bool EntryExists(const std::string& path) {
    EntryFacts facts;
    return Files().Facts(path, facts, false) == 0 && facts.kind != EntryKind::Missing;
}

// The disk has the folder's renames once this returns.
void SyncFolder(const std::string& folder) { Files().FlushFolder(folder); }

class ActionRun {
  public:
    ActionRun(const std::string& defaultFolder, const Settings& settings,
              FolderActionObserver& observer)
        : defaultFolder_(defaultFolder), settings_(settings), observer_(observer) {}

    void Step(const char* message) { observer_.StepStarted(message); }
    void Done() { observer_.FileDone(); }
    FileDone Counter() {
        return [this] { observer_.FileDone(); };
    }

    void Erase(const std::string& folder) {
        EraseData(folder, defaultFolder_, settings_, Counter());
    }
    std::optional<std::string> Copy(const std::string& source, const std::string& target) {
        EnsureFolder(target);
        return CopyData(source, target, defaultFolder_, Counter());
    }

    void Record(const ActionRecord& record) { WriteActionRecord(defaultFolder_, record); }
    void EndRecord() { RemoveActionRecord(defaultFolder_); }

    const std::string& DefaultFolder() const { return defaultFolder_; }

  private:
    const std::string& defaultFolder_;
    const Settings& settings_;
    FolderActionObserver& observer_;
};

// The steps of a restore from the copy on: each can be taken again from its start after a
// kill, since a rename is done whole or not at all.
class RestoreSwap {
  public:
    RestoreSwap(ActionRun& run, ActionRecord record)
        : run_(run),
          record_(std::move(record)),
          data_(record_.to),
          staging_(RestoreStagingFolder(data_)),
          replaced_(ReplacedFolder(data_)) {}

    // Takes the restore from its recorded step to its end.
    void Finish() {
        if (record_.step == ActionStep::Copying) {
            // The copy may be incomplete: the old data is still all in place.
            EraseWorkingFolder(staging_, {});
            run_.EndRecord();
            return;
        }
        if (record_.step == ActionStep::Clearing) {
            PutOldDataAside();
            Advance(ActionStep::Filling);
        }
        if (record_.step == ActionStep::Filling) {
            PutCopyInPlace();
            Advance(ActionStep::Erasing);
        }
        run_.Step(kErasing);
        EraseWorkingFolder(replaced_, run_.Counter());
        EraseWorkingFolder(staging_, run_.Counter());
        run_.EndRecord();
    }

  private:
    void Advance(ActionStep step) {
        record_.step = step;
        run_.Record(record_);
    }

    void PutOldDataAside() {
        EnsureFolder(replaced_);
        for (const std::string& name : SwappedEntries(data_, data_, run_.DefaultFolder())) {
            Move(data_ + name, replaced_ + name);
            run_.Done();
        }
        SyncFolder(data_);
    }

    void PutCopyInPlace() {
        for (const std::string& name : SwappedEntries(staging_, data_, run_.DefaultFolder())) {
            // Nothing of the old data is left here; anything that is came from elsewhere
            // since, and goes with the old data.
            if (EntryExists(data_ + name)) Move(data_ + name, replaced_ + name);
            Move(staging_ + name, data_ + name);
            run_.Done();
        }
        SyncFolder(data_);
    }

    // Renames an entry. Where something of the same name is already there it is set aside
    // first: in the folder of the old data that can only be a leftover of the same data.
    void Move(const std::string& from, const std::string& to) {
        int error = Files().Rename(from, to);
        if (error == 0) return;
        if (error == ENOTEMPTY || error == EEXIST || error == EISDIR || error == ENOTDIR) {
            std::string target = to;
            if (target.back() == '/') target.pop_back();
            if (to.compare(0, replaced_.size(), replaced_) == 0) {
                EraseWorkingFolder(target + "/", {});
                Files().Remove(target);
            }
            if (Files().Rename(from, to) == 0) return;
        }
        throw DataFileError(DataFileError::Kind::Delete, from);
    }

    ActionRun& run_;
    ActionRecord record_;
    std::string data_, staging_, replaced_;
};

ActionOutcome Backup(ActionRun& run, const DataPaths& paths, const std::string& selected) {
    // Erasing takes the old backup's completion marker first.
    run.Step(kErasing);
    run.Erase(selected);
    run.Step(kBackingUp);
    auto failed = run.Copy(paths.dataFolder, selected);
    // The copy is on the disk: only now is the backup whole.
    if (!failed) ReplaceFile(selected + kBackupCompleteMarker, "Quantora backup complete\n", true);
    return {paths.dataFolder, failed};
}

ActionOutcome Move(ActionRun& run, const DataPaths& paths, const std::string& selected) {
    ActionRecord record{RecordedAction::Move, ActionStep::Copying, paths.dataFolder, selected};
    run.Record(record);
    run.Step(kErasing);
    run.Erase(selected);
    run.Step(kMoving);
    if (auto failed = run.Copy(paths.dataFolder, selected)) {
        // Data.dir never named the new folder: the data is whole where it was.
        run.Erase(selected);
        run.EndRecord();
        return {paths.dataFolder, failed};
    }
    // The copy is on the disk; only now may Data.dir name it and the old folder go.
    record.step = ActionStep::Erasing;
    run.Record(record);
    WriteDataDir(paths.defaultFolder, selected);
    run.Erase(paths.dataFolder);
    run.EndRecord();
    return {selected, std::nullopt};
}

ActionOutcome Restore(ActionRun& run, const DataPaths& paths, const std::string& selected) {
    const std::string& data = paths.dataFolder;
    // Working folders of an action no record speaks of any more hold nothing of value.
    EraseWorkingFolder(RestoreStagingFolder(data), {});
    EraseWorkingFolder(ReplacedFolder(data), {});
    ActionRecord record{RecordedAction::Restore, ActionStep::Copying, selected, data};
    run.Record(record);
    run.Step(kRestoring);
    if (auto failed = run.Copy(selected, RestoreStagingFolder(data))) {
        EraseWorkingFolder(RestoreStagingFolder(data), {});
        run.EndRecord();
        return {data, failed};
    }
    record.step = ActionStep::Clearing;
    run.Record(record);
    RestoreSwap(run, record).Finish();
    // Data.dir is written again, naming the same data folder: none for the default folder.
    WriteDataDir(paths.defaultFolder, data);
    return {data, std::nullopt};
}

// The files an erase takes from a folder: the default folder keeps its Kiru.ini and Data.dir.
std::uint64_t Erased(const std::string& folder, const std::string& defaultFolder) {
    std::uint64_t files = CountFiles(folder);
    for (const char* name : {kSettingsFileName, kDataDirFileName})
        if (IsProgramRecord(folder, name, defaultFolder) && FileExists(folder + name)) --files;
    return files;
}

// The files a copy brings into target: all of source's, but those that would replace the
// default folder's Kiru.ini and Data.dir.
std::uint64_t Copied(const std::string& source, const std::string& target,
                     const std::string& defaultFolder) {
    std::uint64_t files = CountFiles(source);
    for (const char* name : {kSettingsFileName, kDataDirFileName})
        if (IsProgramRecord(target, name, defaultFolder) && FileExists(source + name)) --files;
    return files;
}

// The files and folders an action handles, for one run of the progress bar.
std::uint64_t Units(FolderAction action, const DataPaths& paths, const std::string& selected) {
    const std::string& data = paths.dataFolder;
    const std::string& home = paths.defaultFolder;
    switch (action) {
        case FolderAction::Use:
            return 0;
        case FolderAction::Backup:
            return Erased(selected, home) + Copied(data, selected, home);
        case FolderAction::Move:
            return Erased(selected, home) + Copied(data, selected, home) + Erased(data, home);
        case FolderAction::Restore: {
            // The backup copied whole; the entries of both folders renamed; the old files
            // erased, and those of the copy that were not to replace the settings.
            std::uint64_t copy = CountFiles(selected);
            return copy + SwappedEntries(data, data, home).size() +
                   SwappedEntries(selected, data, home).size() + Erased(data, home) + copy -
                   Copied(selected, data, home);
        }
    }
    return 0;
}

// A restore of earlier versions named its copy in Data.dir while it emptied and filled the
// data folder again, the copy whole by then: the data folder it was restoring.
std::optional<std::string> EarlierRestoreTarget(const std::string& namedFolder) {
    std::string parent = namedFolder.substr(0, namedFolder.size() - 1);
    parent = parent.substr(0, parent.rfind('/') + 1);
    if (parent.empty() || RestoreStagingFolder(parent) != namedFolder) return std::nullopt;
    return parent;
}

// What to tell when a move finished or undone at start could not tidy every file away.
std::string LeftBehindMessage(bool finished, const std::string& dataFolder,
                              const std::string& left) {
    if (finished)
        return "Quantora has finished moving your data, which is complete in " + dataFolder +
               ", but could not erase every old file in " + left +
               ". The files left there are old copies that Quantora no longer uses.";
    return "Moving your data to " + left +
           " was cut short before the copy was whole, so your data stays complete in " +
           dataFolder + ". Quantora could not erase every file of the unfinished copy in " + left +
           "; it does not use them.";
}

}  // namespace

std::string IncompleteBackupQuestion() {
    return "This folder may not hold a complete backup: it was not marked as finished, so the "
           "backup may have been cut short.\n\nDo you want to restore from it all the same?";
}

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
        else
            check.incompleteBackup = !FileExists(selected + kBackupCompleteMarker);
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
    if (HoldsFiles(target)) {
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
    if (action == FolderAction::Use) {
        WriteDataDir(paths.defaultFolder, selected);
        return {selected, std::nullopt};
    }
    observer.ActionStarted(Units(action, paths, selected));
    ActionRun run(paths.defaultFolder, settings, observer);
    switch (action) {
        case FolderAction::Backup:
            return Backup(run, paths, selected);
        case FolderAction::Move:
            return Move(run, paths, selected);
        default:
            return Restore(run, paths, selected);
    }
}

std::string RestoreStagingFolder(const std::string& dataFolder) {
    return dataFolder + ".quantora-restore/";
}

std::optional<std::string> FinishInterruptedAction(const std::string& defaultFolder,
                                                   const Settings& settings) {
    FolderActionObserver unobserved;
    ActionRun run(defaultFolder, settings, unobserved);
    StoredRecord stored = ReadActionRecord(defaultFolder);
    std::optional<ActionRecord> record = stored.record;
    if (!record) {
        // A damaged record tells nothing that could be acted on.
        if (stored.present) run.EndRecord();
        std::string named = DataFolderNamed(defaultFolder);
        std::optional<std::string> target = EarlierRestoreTarget(named);
        if (!target) {
            // Earlier versions left their copy behind when cut short after using it.
            EraseWorkingFolder(RestoreStagingFolder(named), {});
            return std::nullopt;
        }
        // From here on the record speaks for the restore.
        record = ActionRecord{RecordedAction::Restore, ActionStep::Clearing,
                              RestoreStagingFolder(*target), *target};
        run.Record(*record);
    }
    // A folder on a drive that is not there now is finished with when it is back: nothing is
    // erased while the data it holds cannot be seen.
    bool copied = record->step != ActionStep::Copying;
    const std::string& needed =
        record->action == RecordedAction::Move && !copied ? record->from : record->to;
    if (!FolderCanBeListed(needed)) {
        if (record->action == RecordedAction::Move && copied)
            WriteDataDir(defaultFolder, record->to);
        return std::nullopt;
    }
    if (record->action == RecordedAction::Restore) {
        // A restore leaves the data where it is; earlier versions let Data.dir name the copy.
        WriteDataDir(defaultFolder, record->to);
        RestoreSwap(run, *record).Finish();
        return std::nullopt;
    }
    // A move: until the copy was whole Data.dir named the old folder, and the partial copy
    // goes; after, the new folder is the data folder and the old one goes.
    const std::string& data = copied ? record->to : record->from;
    const std::string& left = copied ? record->from : record->to;
    if (copied) WriteDataDir(defaultFolder, data);
    std::optional<std::string> message;
    try {
        run.Erase(left);
    } catch (const DataFileError&) {
        message = LeftBehindMessage(copied, data, left);
    }
    run.EndRecord();
    return message;
}

std::string UncopiedFileMessage(const std::string& file) {
    return "The file " + file +
           " could not be copied, so Quantora has stopped. Your data folder is complete and "
           "the folder it was being copied from is unchanged.";
}

}  // namespace quantora
