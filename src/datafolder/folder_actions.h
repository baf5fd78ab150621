// The four actions of the data folder window on the folder the user chose: move the data
// there, use it as it is, back the data up into it, restore the data from it. First the
// checks, which end in a refusal or in the questions to ask; then the action itself. A move
// and a restore keep a record of each step, so that whatever the moment a kill or a power cut
// stops them, the next start finishes or undoes them: the data folder is then at its own path
// and holds the old data whole or the new data whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/data_folder.h"
#include "store/settings.h"

namespace quantora {

// Numbered as the window's buttons MoveBtn(0..3).
enum class FolderAction { Move = 0, Use = 1, Backup = 2, Restore = 3 };

// The two lines of the confirmation shown before files are erased.
struct WipeLines {
    std::string headline;
    std::string detail;
};

// What to do before the action runs, in this order: show the refusal and stop; else ask
// whether to restore from a backup that may be incomplete (No stops); else ask whether to go
// on without a space check when the disk could not tell (No stops); else ask the wipe
// confirmation when there are files to erase (Cancel stops); else run.
struct ActionCheck {
    std::optional<std::string> refusal;
    bool incompleteBackup = false;
    bool spaceUnknown = false;
    std::optional<WipeLines> wipe;
};

// Checks an action on the selected folder (ending in "/"). Trying the folder may create it
// and every missing level above it, as trying whether it can be written does. Leaves every
// file as it was.
ActionCheck CheckFolderAction(FolderAction action, const DataPaths& paths,
                              const std::string& selected);

// The question asked before restoring from a folder whose backup was never marked finished.
std::string IncompleteBackupQuestion();

// Told how an action gets on: once how many files and folders it will handle in all, then
// each step's message as the step starts, and each file or folder as it is done.
// This class as it stands tells no one (an action finished at start, a test).
class FolderActionObserver {
  public:
    virtual ~FolderActionObserver() = default;
    virtual void ActionStarted(std::uint64_t) {}
    virtual void StepStarted(const std::string&) {}
    virtual void FileDone() {}
};

struct ActionOutcome {
    // The folder Data.dir names afterwards; the caller sets the data folder up again from it.
    std::string dataFolder;
    // The file that could not be copied, when one stopped the action. The data folder is
    // then still complete where Data.dir names it, and a backup's or restore's source as it
    // was.
    std::optional<std::string> uncopiedFile;
};

// Runs an action that CheckFolderAction let through. A move copies the data and records the
// new folder in Data.dir before the old one is erased. A restore copies the backup into a
// hidden folder inside the data folder, then puts the old data aside and the copy in its
// place by renaming, and erases the old data last. A backup is marked complete once every
// file is in it and on the disk. Throws DataFileError when a file cannot be deleted or moved
// or Data.dir or the action's record cannot be written.
ActionOutcome RunFolderAction(FolderAction action, const DataPaths& paths,
                              const std::string& selected, const Settings& settings,
                              FolderActionObserver& observer);

// The hidden folder inside a data folder that holds a restore's copy while it is under way.
std::string RestoreStagingFolder(const std::string& dataFolder);

// Finishes or undoes a move or a restore that a kill or a power cut stopped, from the record
// it kept; a restore of earlier versions, which let Data.dir name its copy, is finished too.
// Call it at start, before the data folder is set up, and only when no other copy of the
// program runs (one might be in the middle of an action). Asks nothing. An action whose data
// folder cannot be reached now (a drive that is not plugged in) is left for a later start, its
// record kept and Data.dir naming where the data will be. Returns what to tell the user when
// something could not be tidied away (the data is whole all the same).
std::optional<std::string> FinishInterruptedAction(const std::string& defaultFolder,
                                                   const Settings& settings);

// The message for a file a copy could not make.
std::string UncopiedFileMessage(const std::string& file);

}  // namespace quantora
