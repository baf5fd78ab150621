#include "store/data_folder.h"

#include <vector>

#include "store/code_page.h"
#include "store/data_file.h"
#include "store/name_slots.h"

namespace quantora {

std::string DataPaths::JobFolder(std::int32_t group) const {
    return dataFolder + "Jobs" + std::to_string(group) + "/";
}

std::string DataPaths::ListFolder(std::int32_t list) const {
    return dataFolder + "Lists" + std::to_string(list) + "/";
}

std::string DataFolderFromDataDir(const std::string& content, const std::string& defaultFolder) {
    if (content.empty()) return defaultFolder;
    // A folder typed by hand may lack its closing separator.
    return content.back() == '/' ? content : content + '/';
}

void WriteDataDir(const std::string& defaultFolder, const std::string& dataFolder) {
    std::string dataDir = defaultFolder + kDataDirFileName;
    // Two spellings are two folders here, so only the default folder itself goes without a
    // Data.dir. The new content replaces the old in one step: a crash never leaves Data.dir
    // empty while it should name a folder.
    if (dataFolder == defaultFolder)
        DeleteDataFile(dataDir);
    else
        ReplaceFile(dataDir, dataFolder, true);
}

std::string NotAccessibleMessage(const std::string& folder) {
    return "The data folder " + folder + " is not accessible !\n\n" +
           "Either it has been erased or your user permission has been rescinded.\n\n" +
           "Quantora will now start, using the default data folder.";
}

namespace {

// Data.dir's content; a missing one is made empty, as the next start expects to find it,
// unless the default folder allows no new file (then it simply stays missing).
std::string ReadDataDir(const std::string& dataDir) {
    if (auto content = DataFile::ReadWhole(dataDir)) return *content;
    try {
        DataFile::Open(dataDir);
    } catch (const DataFileError&) {
    }
    return "";
}

// Deletes Data.dir so the next start is silent; where it cannot be deleted it is emptied,
// which says the same.
void ForgetDataDir(const std::string& dataDir) {
    try {
        DeleteDataFile(dataDir);
    } catch (const DataFileError&) {
        ReplaceFile(dataDir, "", true);
    }
}

}  // namespace

std::string DataFolderNamed(const std::string& defaultFolder) {
    std::optional<std::string> content;
    try {
        content = DataFile::ReadWhole(defaultFolder + kDataDirFileName);
    } catch (const DataFileError&) {
        return defaultFolder;
    }
    std::string folder = DataFolderFromDataDir(content.value_or(""), defaultFolder);
    if (folder.find('\0') != std::string::npos || !FolderCanBeListed(folder)) return defaultFolder;
    return folder;
}

void RemoveStaleTemporaryFiles(const DataPaths& paths) {
    RemoveStaleTemporaryFiles(paths.defaultFolder);
    RemoveStaleTemporaryFiles(paths.dataFolder);
    std::vector<FolderEntry> entries;
    if (Files().List(paths.dataFolder, entries) != 0) return;
    // A name that is no folder simply has nothing to list.
    for (const FolderEntry& entry : entries)
        if (entry.name[0] != '.') RemoveStaleTemporaryFiles(paths.dataFolder + entry.name + "/");
}

DataFolderSetUp SetUpDataFolder(const std::string& defaultFolder, Settings& settings) {
    DataFolderSetUp result;
    DataPaths& paths = result.paths;
    paths.defaultFolder = defaultFolder;
    paths.dataFolder = defaultFolder;

    std::string dataDir = defaultFolder + kDataDirFileName;
    std::string content = ReadDataDir(dataDir);
    paths.dataFolder = DataFolderFromDataDir(content, defaultFolder);
    // A path cut short by a power cut ends in NUL bytes: it names no folder, even where the
    // part before them does.
    bool usable = content.find('\0') == std::string::npos && FolderCanBeListed(paths.dataFolder);
    if (!usable) {
        result.unreachableFolder = paths.dataFolder.substr(0, paths.dataFolder.find('\0'));
        paths.dataFolder = defaultFolder;
        ForgetDataDir(dataDir);
    }

    {
        DataFile lists = DataFile::Open(paths.PriceListIndex());
        if (lists.Size() == 0) {
            lists.WriteAt(0, *EncodeSlotName(kFirstPriceListName));
            settings.CurrentList = 0;
        }
    }
    bool newGroupIndex = false;
    {
        DataFile groups = DataFile::Open(paths.GroupIndex());
        if (groups.Size() == 0) {
            groups.WriteAt(0, *EncodeSlotName(kFirstGroupName));
            settings.CurrentGroup = 0;
            newGroupIndex = true;
        }
    }
    if (newGroupIndex) {
        EnsureFolder(paths.JobFolder(0));
        DataFile::Open(paths.JobFolder(0) + kFirstJobName);
    }
    WriteSettings(defaultFolder, settings);

    // A deleted group or list is remembered as a negative number: there is no folder to make.
    if (settings.CurrentGroup >= 0) EnsureFolder(paths.JobFolder(settings.CurrentGroup));
    if (settings.CurrentList >= 0) EnsureFolder(paths.ListFolder(settings.CurrentList));
    return result;
}

}  // namespace quantora
