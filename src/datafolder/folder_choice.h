// The folder the data folder window acts on once the user has picked one, and which of the
// window's buttons that choice leaves usable.
#pragma once

#include <optional>
#include <string>

#include "store/data_folder.h"

namespace quantora {

inline constexpr const char* kDataSubFolder = "Quantora_Data";

// Two folder paths name the same folder: the same text, or, when both exist, the same folder
// on the disk (reached through a link, say). Two spellings that differ in letter case are two
// folders here.
bool SameFolder(const std::string& a, const std::string& b);

// True when one folder lies inside the other (at any depth), so that erasing or copying one
// would reach into the other.
bool FoldersNest(const std::string& a, const std::string& b);

// The folder a pick leads to, ending in "/": the picked folder itself when its name is
// already Quantora_Data (in any letter case) or when it is the "Data" folder that older
// versions kept beside the program; otherwise its sub folder Quantora_Data/, not made here.
std::string FolderToUse(const std::string& picked, const std::string& programFolder);

// The "Data" folder beside the program may only be used when the program may write there:
// its Libnames.dat when that is there, else the folder itself. The refusal to show, or
// nothing when it may be used. Other folders are never refused here.
std::optional<std::string> ProgramDataFolderRefusal(const std::string& folder,
                                                    const std::string& programFolder);

struct FolderButtons {
    bool actions;        // the four action buttons
    bool defaultFolder;  // "Default Folder"
};

// The buttons when the window opens: no action until a folder is chosen; "Default Folder"
// unless the data already lives there.
FolderButtons ButtonsOnOpening(const DataPaths& paths);
// The buttons once selected is chosen: the actions unless it is the data folder itself,
// "Default Folder" unless it is the default folder.
FolderButtons ButtonsForSelection(const std::string& selected, const DataPaths& paths);

}  // namespace quantora
