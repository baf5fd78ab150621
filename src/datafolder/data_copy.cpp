#include "datafolder/data_copy.h"

#include <cerrno>
#include <memory>
#include <vector>

#include "datafolder/folder_census.h"
#include "store/data_file.h"
#include "store/data_folder.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

void EraseFiles(const std::string& folder, const std::string& defaultFolder,
                const FileDone& fileDone) {
    std::vector<FolderEntry> entries;
    std::unique_ptr<OpenFolder> open;
    if (Files().List(folder, entries) != 0 || Files().Open(folder, open) != 0) return;
    // The folder is listed once and each file removed relative to it, as rm does: a data
    // folder of 50,000 files is not walked again by path for each one.
    std::vector<std::string> files, leftovers;
    for (FolderEntry& entry : entries) {
        bool file = entry.kind == EntryKind::File ||
                    (entry.kind == EntryKind::Link && FileExists(folder + entry.name));
        if (!file) continue;
        // A crash's leftovers would keep the folder from going.
        if (IsTemporaryFileName(entry.name) || entry.name == kBackupCompleteMarker ||
            IsListRecord(entry.name))
            leftovers.push_back(entry.name);
        if (entry.name[0] != '.' && !IsProgramRecord(folder, entry.name, defaultFolder))
            files.push_back(std::move(entry.name));
    }
    // A crash's leftovers go before the data, so that none outlives the folder.
    for (const std::string& name : leftovers) open->Remove(name);
    for (const std::string& name : files) {
        // Where the quick way fails, the careful one clears a read-only mark and, failing too,
        // says which file could not be deleted.
        int error = open->Remove(name);
        if (error != 0 && error != ENOENT) DeleteDataFile(folder + name);
        if (fileDone) fileDone();
    }
}

// Removes everything inside the folder, depth first. A link is removed, never followed: what
// it leads to is not ours.
void EraseTree(const std::string& folder, const FileDone& fileDone) {
    std::vector<FolderEntry> entries;
    std::unique_ptr<OpenFolder> open;
    if (Files().List(folder, entries) != 0 || Files().Open(folder, open) != 0) return;
    for (const FolderEntry& entry : entries) {
        if (entry.kind == EntryKind::Folder) continue;
        open->Remove(entry.name);
        if (fileDone) fileDone();
    }
    for (const FolderEntry& entry : entries) {
        if (entry.kind != EntryKind::Folder) continue;
        EraseTree(folder + entry.name + "/", fileDone);
        Files().RemoveFolder(folder + entry.name);
    }
}

// A folder that is about to change stops claiming to be a whole backup before anything in it
// goes, and that is on the disk first: erasing takes the sub folders before the folder's own
// files, so a mark left for the end would vouch for a half-erased backup after a kill or a
// power cut.
void WithdrawCompletionMark(const std::string& folder) {
    std::string mark = folder + kBackupCompleteMarker;
    int error = Files().Remove(mark);
    if (error != 0) {
        // A mark that will not go stops the erase before it starts.
        if (error != ENOENT) DeleteDataFile(mark);
        return;
    }
    Files().FlushFolder(folder);
}

void RemoveFolder(const std::string& folder) { Files().RemoveFolder(folder); }

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
    return bytes && Files().Write(to, *bytes, WriteMode::Replace, false) == 0;
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
    EntryFacts facts;
    if (Files().Facts(path, facts, false) != 0 || facts.kind == EntryKind::Missing) return;
    if (facts.kind != EntryKind::Folder) {
        Files().Remove(path);
        return;
    }
    EraseTree(folder, fileDone);
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
    Files().FlushDisk(target);
    return failed;
}

}  // namespace quantora
