#include "datafolder/folder_census.h"

#include <sys/statvfs.h>

#include "store/file_layer.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

std::uint64_t FileClusters(const std::string& folder, std::uint64_t bytesPerCluster) {
    std::uint64_t clusters = 0;
    for (const std::string& name : ListNormalFiles(folder)) {
        EntryFacts facts;
        if (Files().Facts(folder + name, facts) != 0) continue;
        std::uint64_t size = facts.size;
        clusters += (size + bytesPerCluster - 1) / bytesPerCluster;
    }
    return clusters;
}

bool IsFolder(const std::string& path) {
    EntryFacts facts;
    return Files().Facts(path, facts) == 0 && facts.kind == EntryKind::Folder;
}

}  // namespace

std::vector<std::string> SubFolders(const std::string& folder) {
    std::vector<std::string> names;
    std::vector<FolderEntry> entries;
    if (Files().List(folder, entries) != 0) return names;
    for (FolderEntry& entry : entries) {
        // Hidden folders belong to other tools, such as a version store or a sync program's
        // history: never counted, copied or erased.
        if (entry.name[0] == '.') continue;
        bool folderEntry = entry.kind == EntryKind::Folder ||
                           (entry.kind == EntryKind::Link && IsFolder(folder + entry.name));
        if (folderEntry) names.push_back(std::move(entry.name));
    }
    return names;
}

std::uint64_t CountFiles(const std::string& folder) {
    std::uint64_t count = 0;
    for (const std::string& sub : SubFolders(folder))
        count += ListNormalFiles(folder + sub + "/").size();
    return count + ListNormalFiles(folder).size();
}

std::uint64_t CountClusters(const std::string& folder, std::uint64_t bytesPerCluster) {
    if (bytesPerCluster == 0) return 0;
    std::uint64_t clusters = 0;
    for (const std::string& sub : SubFolders(folder)) {
        std::string path = folder + sub + "/";
        if (!IsFolder(path)) continue;  // gone since it was listed
        clusters += 1 + FileClusters(path, bytesPerCluster);
    }
    return clusters + FileClusters(folder, bytesPerCluster);
}

SpaceCheck CheckDiskSpace(const std::string& driveFolder, const std::string& source,
                          const std::string& target) {
    struct statvfs disk {};
    if (::statvfs(driveFolder.c_str(), &disk) != 0 || disk.f_frsize == 0)
        return SpaceCheck::Unknown;
    std::uint64_t cluster = disk.f_frsize;
    std::uint64_t needed = CountClusters(source, cluster);
    std::uint64_t freed = CountClusters(target, cluster);
    std::uint64_t available = static_cast<std::uint64_t>(disk.f_bavail) + freed;
    return available > needed ? SpaceCheck::Enough : SpaceCheck::NotEnough;
}

}  // namespace quantora
