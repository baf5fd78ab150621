// This desk holding a data folder, with the user told while another desk holds it: at start
// (Try Again or Quit) and when the data folder window turns to another folder (Try Again or
// Cancel, which keeps the folder as it was).
#pragma once

#include <QWidget>
#include <string>

#include "datafolder/desk_hold.h"
#include "ui/common/dialogs.h"

namespace quantora {

// Takes hold of folder in hold, asking with buttons while another desk holds it; says once when
// the disk cannot lock files. False when the user gave up (Quit or Cancel). A folder that
// cannot take the lock file at all (read-only) is worked in without it: true, nothing held.
bool HoldDataFolder(QWidget* parent, Dialogs& dialogs, DeskHold& hold, const std::string& folder,
                    PromptButtons buttons);

}  // namespace quantora
