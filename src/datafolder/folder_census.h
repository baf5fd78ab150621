// Counting a data folder before it is copied or erased: its files and the disk clusters
// they take. A data folder is one level deep: its own files and those of its first-level
// sub folders (Jobs<n>/ and Lists<n>/); deeper levels are neither counted, copied nor erased.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quantora {

// The names of the first-level sub folders, in listing order; hidden ones are left out.
std::vector<std::string> SubFolders(const std::string& folder);

// The normal files of the folder and of its sub folders.
std::uint64_t CountFiles(const std::string& folder);

// The clusters the folder's files take: each sub folder 1, each file its length divided by
// the cluster size rounded up (an empty file takes none).
std::uint64_t CountClusters(const std::string& folder, std::uint64_t bytesPerCluster);

enum class SpaceCheck { Enough, NotEnough, Unknown };

// Whether the disk of driveFolder can take source's files once target's have been erased:
// enough when the free clusters minus those needed plus those freed stay above 0. Unknown
// when the disk cannot tell.
SpaceCheck CheckDiskSpace(const std::string& driveFolder, const std::string& source,
                          const std::string& target);

}  // namespace quantora
