// The four actions of the data folder window on the folder the user chose: move the data
// there, use it as it is, back the data up into it, restore the data from it. First the
// checks, which end in a refusal or in the questions to ask; then the action itself, in an
// order that leaves the user's data complete in a folder Data.dir names at every moment, so
// a kill or a power cut halfway loses nothing.
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
// whether to go on without a space check when the disk could not tell (No stops); else ask
// the wipe confirmation when there are files to erase (Cancel stops); else run.
struct ActionCheck {
    std::optional<std::string> refusal;
    bool spaceUnknown = false;
    std::optional<WipeLines> wipe;
};

// Checks an action on the selected folder (ending in "/"). Trying the folder may create it
// and every missing level above it, as trying whether it can be written does. Leaves every
// file as it was.
ActionCheck CheckFolderAction(FolderAction action, const DataPaths& paths,
                              const std::string& selected);

// Told how an action gets on: each step's message and file count as it starts, and each file
// as it is done.
class FolderActionObserver {
  public:
    virtual ~FolderActionObserver() = default;
    virtual void StepStarted(const std::string& message, std::uint64_t files) = 0;
    virtual void FileDone() = 0;
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
// new folder in Data.dir before the old one is erased; a restore first copies the backup
// into a hidden folder inside the data folder and lets Data.dir name that while the data
// folder is erased and filled again. Throws DataFileError when a file cannot be deleted or
// Data.dir cannot be written.
ActionOutcome RunFolderAction(FolderAction action, const DataPaths& paths,
                              const std::string& selected, const Settings& settings,
                              FolderActionObserver& observer);

// The hidden folder inside a data folder that holds a restore's copy while it is under way.
std::string RestoreStagingFolder(const std::string& dataFolder);

// Removes the copy a restore cut short after it had finished with it left in the data folder.
// Call it only when no other copy of the program runs (one might be restoring).
void RemoveLeftoverRestoreCopy(const DataPaths& paths, const Settings& settings);

// The message for a file a copy could not make.
std::string UncopiedFileMessage(const std::string& file);

}  // namespace quantora
