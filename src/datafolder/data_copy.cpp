#include "datafolder/data_copy.h"

#include <fcntl.h>
#include <unistd.h>

#include "datafolder/folder_census.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

// Kiru.ini and Data.dir of the default folder: what a copy leaves alone there and an erase
// keeps, so that Data.dir never stops naming a complete data folder.
bool IsProgramRecord(const std::string& folder, const std::string& name,
                     const std::string& defaultFolder) {
    return folder == defaultFolder && (name == kSettingsFileName || name == kDataDirFileName);
}

void EraseFiles(const std::string& folder, const std::string& defaultFolder,
                const FileDone& fileDone) {
    // A crash's leftovers would keep the folder from going.
    RemoveStaleTemporaryFiles(folder);
    for (const std::string& name : ListNormalFiles(folder)) {
        if (IsProgramRecord(folder, name, defaultFolder)) continue;
        DeleteDataFile(folder + name);
        if (fileDone) fileDone();
    }
}

void RemoveFolder(const std::string& folder) {
    ::rmdir(folder.substr(0, folder.size() - 1).c_str());
}

std::optional<std::string> CopyFiles(const std::string& from, const std::string& to,
                                     const std::string& defaultFolder, const FileDone& fileDone) {
    for (const std::string& name : ListNormalFiles(from)) {
        if (IsProgramRecord(to, name, defaultFolder)) continue;
        try {
            CopyFileSafely(from + name, to + name, false);
        } catch (const DataFileError&) {
            return from + name;
        }
        if (fileDone) fileDone();
    }
    return std::nullopt;
}

}  // namespace

void EraseData(const std::string& folder, const std::string& defaultFolder,
               const Settings& settings, const FileDone& fileDone) {
    for (const std::string& sub : SubFolders(folder)) {
        EraseFiles(folder + sub + "/", defaultFolder, fileDone);
        RemoveFolder(folder + sub + "/");
    }
    EraseFiles(folder, defaultFolder, fileDone);
    if (folder != defaultFolder) {
        RemoveFolder(folder);
    } else {
        WriteSettings(defaultFolder, settings);
    }
}

std::optional<std::string> CopyData(const std::string& source, const std::string& target,
                                    const std::string& defaultFolder, const FileDone& fileDone) {
    std::optional<std::string> failed;
    for (const std::string& sub : SubFolders(source)) {
        EnsureFolder(target + sub + "/");
        if ((failed = CopyFiles(source + sub + "/", target + sub + "/", defaultFolder, fileDone)))
            break;
    }
    if (!failed) failed = CopyFiles(source, target, defaultFolder, fileDone);
    // One flush of the whole disk at the end rather than one per file: a backup of a big
    // price list would otherwise wait on the disk a hundred thousand times.
    int folder = ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::syncfs(folder);
        ::close(folder);
    }
    return failed;
}

}  // namespace quantora
