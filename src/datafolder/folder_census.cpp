#include "datafolder/folder_census.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include "store/name_lookup.h"

namespace quantora {

namespace {

std::uint64_t FileClusters(const std::string& folder, std::uint64_t bytesPerCluster) {
    std::uint64_t clusters = 0;
    for (const std::string& name : ListNormalFiles(folder)) {
        struct stat info {};
        if (::stat((folder + name).c_str(), &info) != 0) continue;
        auto size = static_cast<std::uint64_t>(info.st_size);
        clusters += (size + bytesPerCluster - 1) / bytesPerCluster;
    }
    return clusters;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::vector<std::string> SubFolders(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        // Hidden folders ("." and ".." among them) belong to other tools, such as a
        // version store or a sync program's history: never counted, copied or erased.
        if (name[0] == '.') continue;
        bool folderEntry =
            entry->d_type == DT_DIR ||
            ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) && IsFolder(folder + name));
        if (folderEntry) names.push_back(name);
    }
    ::closedir(dir);
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
