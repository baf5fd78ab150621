#include "datafolder/data_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "datafolder/folder_census.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

using Listing = std::unique_ptr<DIR, int (*)(DIR*)>;

void EraseFiles(const std::string& folder, const std::string& defaultFolder,
                const FileDone& fileDone) {
    Listing dir(::opendir(folder.c_str()), ::closedir);
    if (dir == nullptr) return;
    // The folder is listed once and each file removed relative to it, as rm does: a data
    // folder of 50,000 files is not walked again by path for each one.
    std::vector<std::string> files, leftovers;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        bool file =
            entry->d_type == DT_REG ||
            ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) && FileExists(folder + name));
        if (!file) continue;
        // A crash's leftovers would keep the folder from going.
        if (IsTemporaryFileName(name) || name == kBackupCompleteMarker || IsListRecord(name))
            leftovers.push_back(name);
        if (name[0] != '.' && !IsProgramRecord(folder, name, defaultFolder))
            files.push_back(std::move(name));
    }
    int fd = ::dirfd(dir.get());
    // A crash's leftovers go before the data, so that none outlives the folder.
    for (const std::string& name : leftovers) ::unlinkat(fd, name.c_str(), 0);
    for (const std::string& name : files) {
        // Where the quick way fails, the careful one clears a read-only mark and, failing too,
        // says which file could not be deleted.
        if (::unlinkat(fd, name.c_str(), 0) != 0 && errno != ENOENT) DeleteDataFile(folder + name);
        if (fileDone) fileDone();
    }
}

// Removes everything inside the folder, depth first, each entry relative to its folder.
void EraseTreeAt(int folder, const FileDone& fileDone) {
    int listing = ::dup(folder);
    if (listing < 0) return;
    Listing dir(::fdopendir(listing), ::closedir);
    if (dir == nullptr) {
        ::close(listing);
        return;
    }
    std::vector<std::string> files, folders;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFolder = ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                       S_ISDIR(info.st_mode);
        }
        (isFolder ? folders : files).push_back(std::move(name));
    }
    for (const std::string& name : files) {
        ::unlinkat(folder, name.c_str(), 0);
        if (fileDone) fileDone();
    }
    for (const std::string& name : folders) {
        Listing sub(nullptr, ::closedir);
        int fd = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        sub.reset(::fdopendir(fd));  // owns fd from here, and closes it however this ends
        if (sub == nullptr) {
            ::close(fd);
            continue;
        }
        EraseTreeAt(fd, fileDone);
        sub.reset();
        ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
    }
}

// A folder that is about to change stops claiming to be a whole backup before anything in it
// goes, and that is on the disk first: erasing takes the sub folders before the folder's own
// files, so a mark left for the end would vouch for a half-erased backup after a kill or a
// power cut.
void WithdrawCompletionMark(const std::string& folder) {
    std::string mark = folder + kBackupCompleteMarker;
    if (::unlink(mark.c_str()) != 0) {
        // A mark that will not go stops the erase before it starts.
        if (errno != ENOENT) DeleteDataFile(mark);
        return;
    }
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void RemoveFolder(const std::string& folder) {
    ::rmdir(folder.substr(0, folder.size() - 1).c_str());
}

// The file written straight under its name in a folder being built: nothing there is trusted
// until the action's record or the backup's mark says the whole copy is on the disk, so a
// temporary file and a rename for each of 50,000 files would only cost the disk. False where
// that cannot be done (the careful copy then tries, and says what failed).
bool CopyStraight(const std::string& from, const std::string& to) {
    std::optional<std::string> bytes;
    try {
        bytes = DataFile::ReadWhole(from);
    } catch (const DataFileError&) {
        return false;
    }
    if (!bytes) return false;
    int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes->size()) {
        ssize_t n = ::write(fd, bytes->data() + done, bytes->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 && done == bytes->size();
}

std::optional<std::string> CopyOne(const std::string& from, const std::string& to) {
    if (CopyStraight(from, to)) return std::nullopt;
    try {
        CopyFileSafely(from, to, false);
    } catch (const DataFileError&) {
        return from;
    }
    return std::nullopt;
}

std::optional<std::string> CopyFiles(const std::string& from, const std::string& to,
                                     const std::string& defaultFolder, const FileDone& fileDone) {
    for (const std::string& name : ListNormalFiles(from)) {
        if (IsProgramRecord(to, name, defaultFolder)) continue;
        if (auto failed = CopyOne(from + name, to + name)) return failed;
        if (fileDone) fileDone();
    }
    // A price list's import records go with it, though no count of files includes them.
    for (const char* record : kListRecords) {
        if (!FileExists(from + record)) continue;
        if (auto failed = CopyOne(from + record, to + record)) return failed;
    }
    return std::nullopt;
}

}  // namespace

bool IsProgramRecord(const std::string& folder, const std::string& name,
                     const std::string& defaultFolder) {
    return folder == defaultFolder && (name == kSettingsFileName || name == kDataDirFileName);
}

void EraseData(const std::string& folder, const std::string& defaultFolder,
               const Settings& settings, const FileDone& fileDone) {
    WithdrawCompletionMark(folder);
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

void EraseWorkingFolder(const std::string& folder, const FileDone& fileDone) {
    // A link in its place is removed, never followed: what it leads to is not ours.
    std::string path = folder.substr(0, folder.size() - 1);
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP || errno == ENOTDIR) ::unlink(path.c_str());
        return;
    }
    Listing dir(::fdopendir(fd), ::closedir);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    EraseTreeAt(fd, fileDone);
    dir.reset();
    RemoveFolder(folder);
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
