// A job from opening to closing, on disk: the working copy cleared when it opens, Save and
// Save As from the working copy, and Delete of the open job. The costing sheet asks; these
// write.
#pragma once

#include <string>

#include "costing/pricing.h"
#include "store/data_folder.h"

namespace quantora {

inline constexpr const char* kSaveAsNameExists =
    "This name already exists - Please choose another.   ";
inline constexpr const char* kSaveAsNameUnusable =
    "This name cannot be a job's name - Please choose another.   ";
inline constexpr const char* kConfirmDelete = "Confirm Delete File?    ";
inline constexpr const char* kCostingChanged =
    "The current costing has changed    \n\nDo you want to save the changes?";

// Opens a job of the group's folder for the sheet: the job named (found but for letter case)
// is the open job, and the old working copy is gone. The sheet's Reload makes the new one.
OpenJob OpenJobForEditing(const DataPaths& paths, const std::string& jobFolder,
                          const std::string& name);

// Save: the working copy over the open job's file, replaced whole and on the disk before
// the save counts, so a crash leaves the old job or the new one.
void SaveJob(const DataPaths& paths, const OpenJob& job);

// Save As in the open job's group: the typed name trimmed ("Untitled" for none), leading
// full stops and forbidden characters dropped. Refused, writing nothing, when a job of that
// name exists (letter case ignored, the open job included) or nothing usable is left.
struct SaveAsAnswer {
    bool done = false;
    std::string refusal;
    std::string shownName;  // what the name box shows: the typed name trimmed
    OpenJob job;            // the open job from now on, when done
};
SaveAsAnswer SaveJobAs(const DataPaths& paths, const OpenJob& job, const std::string& typed);

// Delete: the open job's file. Temp.job stays as it is.
void DeleteOpenJob(const OpenJob& job);

}  // namespace quantora
