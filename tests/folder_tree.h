// Every entry under a folder, hidden ones too, with what a write to it would change: its size,
// its inode (a file replaced by a rename is another inode) and the time it last changed. Two
// trees are equal when nothing under the folder was created, changed or deleted.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>

namespace quantora::testing {

struct EntryState {
    std::uintmax_t size = 0;
    ino_t inode = 0;
    std::int64_t changed = 0;  // nanoseconds
    friend bool operator==(const EntryState&, const EntryState&) = default;
};

using FolderTree = std::map<std::string, EntryState>;

inline FolderTree TreeOf(const std::string& folder) {
    FolderTree tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        tree[entry.path().string()] = {
            static_cast<std::uintmax_t>(info.st_size), info.st_ino,
            info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec};
    }
    return tree;
}

}  // namespace quantora::testing
