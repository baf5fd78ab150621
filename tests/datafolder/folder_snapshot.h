// The files of a data folder as the data folder tools see it (its own files and those of its
// first-level folders, hidden ones left out), by relative path with their bytes: two folders
// hold the same data exactly when their snapshots are equal.
#pragma once

#include <map>
#include <string>

#include "datafolder/folder_census.h"
#include "store/data_folder.h"
#include "store/name_lookup.h"
#include "store/settings.h"
#include "test_files.h"

namespace quantora::testing {

using FolderSnapshot = std::map<std::string, std::string>;

inline FolderSnapshot Snapshot(const std::string& folder) {
    FolderSnapshot files;
    for (const std::string& name : ListNormalFiles(folder)) files[name] = ReadBytes(folder + name);
    for (const std::string& sub : SubFolders(folder))
        for (const std::string& name : ListNormalFiles(folder + sub + "/"))
            files[sub + "/" + name] = ReadBytes(folder + sub + "/" + name);
    return files;
}

// The program's own records (Kiru.ini, Data.dir) are not the user's data: a snapshot without them.
inline FolderSnapshot DataOnly(FolderSnapshot files) {
    files.erase(kSettingsFileName);
    files.erase(kDataDirFileName);
    return files;
}

// True when every file of expected is in folder with the same bytes (others may be there too).
inline bool HoldsEvery(const std::string& folder, const FolderSnapshot& expected) {
    for (const auto& [name, bytes] : expected)
        if (!Exists(folder + name) || ReadBytes(folder + name) != bytes) return false;
    return true;
}

// The hidden entries of a folder: the working folders and records an action leaves there
// until it is over.
inline std::vector<std::string> HiddenEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name[0] == '.') names.push_back(name);
    }
    return names;
}

// A small data folder of distinct files: jobs in two groups, items in a list, the indexes.
inline void MakeDataFolder(const std::string& folder, const std::string& mark, int jobs = 3) {
    std::filesystem::create_directories(folder + "Jobs0");
    std::filesystem::create_directories(folder + "Jobs1");
    std::filesystem::create_directories(folder + "Lists0");
    WriteBytes(folder + "Groups.dat", Slot("Group " + mark) + Slot("Second"));
    WriteBytes(folder + "PriceLists.dat", Slot("List " + mark));
    for (int job = 0; job < jobs; ++job) {
        WriteBytes(folder + "Jobs" + std::to_string(job % 2) + "/Job " + std::to_string(job),
                   std::string(98, static_cast<char>('a' + job % 26)) + mark);
        WriteBytes(folder + "Lists0/Item " + std::to_string(job), mark + std::to_string(job));
    }
}

}  // namespace quantora::testing
