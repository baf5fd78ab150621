#include "costing/job_editing.h"

#include "pricelists/item_filter.h"
#include "store/data_file.h"
#include "store/file_name_rules.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.size() - FileNamePart(path).size());
}

}  // namespace

OpenJob OpenJobForEditing(const DataPaths& paths, const std::string& jobFolder,
                          const std::string& name) {
    std::string stored = FindFile(jobFolder, name).value_or(name);
    // No stale working copy survives; Reload writes the fresh one, priced.
    DeleteDataFile(paths.TempJob());
    return {stored, jobFolder + stored};
}

void SaveJob(const DataPaths& paths, const OpenJob& job) {
    CopyFileSafely(paths.TempJob(), job.path, true);
}

SaveAsAnswer SaveJobAs(const DataPaths& paths, const OpenJob& job, const std::string& typed) {
    SaveAsAnswer answer;
    answer.shownName = TrimBlanks(typed);
    if (answer.shownName.empty()) answer.shownName = "Untitled";
    std::optional<std::string> name = CleanFileName(answer.shownName, kForbiddenNameChars);
    if (!name) {
        answer.refusal = kSaveAsNameUnusable;
        return answer;
    }
    std::string folder = FolderOf(job.path);
    if (FindFile(folder, *name)) {
        answer.refusal = kSaveAsNameExists;
        return answer;
    }
    CopyFileSafely(paths.TempJob(), folder + *name, true);
    answer.done = true;
    answer.job = {*name, folder + *name};
    return answer;
}

void DeleteOpenJob(const OpenJob& job) { DeleteDataFile(job.path); }

}  // namespace quantora
