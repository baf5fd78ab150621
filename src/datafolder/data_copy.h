// Erasing a data folder and copying one data folder into another, one level deep, file by
// file, with a call after each file so the window can move its progress bar.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "store/settings.h"

namespace quantora {

using FileDone = std::function<void()>;

// Kiru.ini and Data.dir of the default folder: the program's own record of where the data
// lives, not data. A copy leaves them alone there and an erase keeps them, so that Data.dir
// never stops naming a complete data folder.
bool IsProgramRecord(const std::string& folder, const std::string& name,
                     const std::string& defaultFolder);

// Deletes the files of the folder's sub folders and the sub folders (one that still holds
// something else stays; temporary files a crash left behind go with the files), then the folder's
// own files, then the folder itself unless it is the default folder. The default folder keeps
// its Data.dir, which names where the data lives and is only ever replaced whole, and has its
// settings written afresh. Throws DataFileError when a file cannot be deleted.
void EraseData(const std::string& folder, const std::string& defaultFolder,
               const Settings& settings, const FileDone& fileDone);

// Removes a working folder of the program's own and everything in it, at any depth, hidden
// or not. Failures are skipped: what is left is a hidden folder nobody lists. Only ever for
// the folders a restore works in, never for a folder the user chose.
void EraseWorkingFolder(const std::string& folder, const FileDone& fileDone);

// The hidden file a backup writes last, once every file is in it and on the disk: a backup
// folder without it was cut short, or made by a version that did not mark its backups.
// Erasing a folder removes it, and puts that removal on the disk, before anything else in
// the folder goes, so a folder being emptied never claims to be whole.
inline constexpr const char* kBackupCompleteMarker = ".quantora-backup-complete";

// Copies the files of source's sub folders into the same sub folders of target (made as
// needed), then source's own files, overwriting. Each file is written straight under its
// name, without a flush: target is a folder being built, which the action's record or the
// backup's mark vouches for only afterwards; all of them are on the disk, in one flush, when
// the copy returns. A copy into the default folder leaves its
// Kiru.ini and Data.dir alone: they are the program's own record of where the data lives, not
// data. Returns the first file that could not be copied, having stopped there, or nothing
// when all were.
std::optional<std::string> CopyData(const std::string& source, const std::string& target,
                                    const std::string& defaultFolder, const FileDone& fileDone);

}  // namespace quantora
