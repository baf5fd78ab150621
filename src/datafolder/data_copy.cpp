#include "datafolder/data_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

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
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    // The folder is listed once and each file removed relative to it, as rm does: a data
    // folder of 50,000 files is not walked again by path for each one.
    std::vector<std::string> files, leftovers;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        bool file =
            entry->d_type == DT_REG ||
            ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) && FileExists(folder + name));
        if (!file) continue;
        // A crash's leftovers would keep the folder from going.
        if (IsTemporaryFileName(name)) leftovers.push_back(name);
        if (name[0] != '.' && !IsProgramRecord(folder, name, defaultFolder))
            files.push_back(std::move(name));
    }
    int fd = ::dirfd(dir);
    for (const std::string& name : leftovers) ::unlinkat(fd, name.c_str(), 0);
    for (const std::string& name : files) {
        // Where the quick way fails, the careful one clears a read-only mark and, failing too,
        // says which file could not be deleted.
        if (::unlinkat(fd, name.c_str(), 0) != 0 && errno != ENOENT) DeleteDataFile(folder + name);
        if (fileDone) fileDone();
    }
    ::closedir(dir);
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
