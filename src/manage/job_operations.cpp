#include "manage/job_operations.h"

#include "manage/name_index.h"
#include "manage/name_rules.h"
#include "store/code_page.h"
#include "store/data_file.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

JobNameAnswer Refused() { return {false, kDuplicateJobName, ""}; }

}  // namespace

JobNameAnswer NewJob(const std::string& jobFolder, const std::string& fromDialog) {
    std::optional<std::string> name = CleanJobName(fromDialog);
    if (!name || FindFile(jobFolder, *name)) return Refused();
    DataFile::Open(jobFolder + *name);
    return {true, "", *name};
}

JobNameAnswer RenameJob(const std::string& jobFolder, const std::string& oldName,
                        const std::string& fromDialog) {
    std::optional<std::string> name = CleanJobName(fromDialog);
    if (!name || FindFile(jobFolder, *name)) return Refused();
    std::string stored = FindFile(jobFolder, oldName).value_or(oldName);
    if (Files().Rename(jobFolder + stored, jobFolder + *name) != 0)
        throw DataFileError(DataFileError::Kind::Open, jobFolder + stored);
    return {true, "", *name};
}

void PutOnClipboard(const DataPaths& paths, std::int16_t group, const std::string& name,
                    JobClipboard::State how, JobClipboard& clipboard) {
    std::string folder = paths.JobFolder(group);
    CopyFileSafely(folder + FindFile(folder, name).value_or(name), paths.ClipJob());
    clipboard = {how, group, name};
}

std::optional<std::string> PasteQuestion(const std::string& jobFolder,
                                         const JobClipboard& clipboard) {
    if (!FindFile(jobFolder, clipboard.ClipName)) return std::nullopt;
    return clipboard.ClipName +
           " already exists in this group   \n\nDo you want to overwrite it?   ";
}

void PasteJob(const DataPaths& paths, std::int16_t group, const JobClipboard& clipboard) {
    std::string folder = paths.JobFolder(group);
    std::string target = folder + FindFile(folder, clipboard.ClipName).value_or(clipboard.ClipName);
    CopyFileSafely(paths.ClipJob(), target);
    if (clipboard.ClipState != JobClipboard::State::Cut) return;
    std::string source = paths.JobFolder(clipboard.ClipGroup);
    if (auto stored = FindFile(source, clipboard.ClipName)) Files().Remove(source + *stored);
}

std::vector<std::string> JobsToInclude(const std::string& jobFolder, bool openJobsGroup,
                                       const std::string& openJobName) {
    std::vector<std::string> jobs = SortedJobNames(jobFolder);
    if (openJobsGroup) {
        std::string open = FoldCase(openJobName);
        std::erase_if(jobs, [&](const std::string& job) { return FoldCase(job) == open; });
    }
    return jobs;
}

std::string DeleteJobQuestion(const std::string& name) {
    return "Are you sure you want to delete   \n\n" + name + "    ";
}

void DeleteJob(const std::string& jobFolder, const std::string& name) {
    if (auto stored = FindFile(jobFolder, name)) DeleteDataFile(jobFolder + *stored);
}

}  // namespace quantora
