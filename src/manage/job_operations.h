// The job operations of the management window as steps on disk: new, rename, copy, cut,
// paste and delete of the jobs of a group, and what each asks or says. The window shows the
// name dialog and the questions; these do the rest.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "manage/entry_operations.h"
#include "manage/job_clipboard.h"
#include "store/data_folder.h"

namespace quantora {

inline constexpr const char* kDuplicateJobName = "Duplicate Name! - Please choose another.    ";

// What a name from the dialog led to: done (name is the job's cleaned name), or refused with
// the duplicate message and the error sound, the dialog offered again. A name that cleans to
// nothing is refused the same way.
struct JobNameAnswer {
    bool done = false;
    std::string refusal;
    std::string name;
};

// A new empty job of the cleaned name in the group's folder, unless a job of that name
// exists there (letter case ignored).
JobNameAnswer NewJob(const std::string& jobFolder, const std::string& fromDialog);

// The job renamed to the cleaned name, its file moved in one step; refused when a job of
// that name exists, the job itself and its case variants included.
JobNameAnswer RenameJob(const std::string& jobFolder, const std::string& oldName,
                        const std::string& fromDialog);

// Copy and Cut: Clip.job becomes a byte-for-byte copy of the job, replaced whole, and the
// clipboard remembers where it came from. A cut job stays on disk until it is pasted.
void PutOnClipboard(const DataPaths& paths, std::int16_t group, const std::string& name,
                    JobClipboard::State how, JobClipboard& clipboard);

// The question asked before Paste when the group holds a job of the clipboard's name;
// nothing when it does not.
std::optional<std::string> PasteQuestion(const std::string& jobFolder,
                                         const JobClipboard& clipboard);

// Paste into a group: the job becomes a copy of Clip.job, replaced whole (a job of that name
// in another letter case is the one overwritten). After a cut the source file in the group it
// came from is deleted, every failure ignored (it may be gone already). The clipboard stays.
void PasteJob(const DataPaths& paths, std::int16_t group, const JobClipboard& clipboard);

// The jobs the job selector offers from a group's folder, sorted: all of them, except that
// in the open job's own group the open job itself is left out (letter case ignored), so a
// job is never included in itself directly.
std::vector<std::string> JobsToInclude(const std::string& jobFolder, bool openJobsGroup,
                                       const std::string& openJobName);

// The question asked before a job is deleted, with OK and Cancel.
std::string DeleteJobQuestion(const std::string& name);
// Deletes the job's file (letter case ignored); a missing one is no error.
void DeleteJob(const std::string& jobFolder, const std::string& name);

}  // namespace quantora
