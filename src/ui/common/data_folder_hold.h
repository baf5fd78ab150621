// This desk holding a data folder, with the user told while another desk holds it: at start
// (Try Again, Open Read-Only or Quit) and when the data folder window turns to another folder
// (Try Again or Cancel, which keeps the folder as it was). And the desk that only reads a held
// folder: its places, its refusals, and its offer to work there once the folder is free.
#pragma once

#include <QWidget>
#include <string>

#include "datafolder/desk_hold.h"
#include "store/data_folder.h"
#include "ui/common/dialogs.h"

namespace quantora {

class Session;

enum class HoldChoice {
    Held,      // this desk works in the folder
    ReadOnly,  // another desk holds it, and the user chose to read it only
    GaveUp,    // Quit or Cancel
};

// Takes hold of folder in hold, asking with buttons while another desk holds it; says once when
// the disk cannot lock files. A folder that cannot take the lock file at all (read-only) is
// worked in without it: Held, nothing held.
HoldChoice HoldDataFolder(QWidget* parent, Dialogs& dialogs, DeskHold& hold,
                          const std::string& folder, PromptButtons buttons);

// The data folder as a reading desk of this process sees it: its working folder (made now)
// under the user's runtime folder, its kept quotes in the user's documents.
DataPaths ReadOnlyDataPaths(const std::string& defaultFolder, const std::string& dataFolder);

// In a reading desk: says that nothing can be changed, and true. False in a desk that works
// in the folder, which goes on with the action.
bool RefuseWhileReadOnly(QWidget* parent, Session& session);

// Called now and then in a reading desk: once the desk that held the folder has let it go,
// asks once whether to work in it, and if so takes hold of it. True when this desk now works
// in the folder (the lists are to be read anew).
bool OfferToWorkInFreedFolder(QWidget* parent, Session& session, bool& asked);

}  // namespace quantora
