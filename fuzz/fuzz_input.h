// What the fuzz targets that build folders share: a scratch folder of their own on a disk
// kept in memory, emptied for each input, and a reader that takes names, bytes and small
// numbers from the input. On the disk in memory an input costs no system call, so a campaign
// reaches millions of runs.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/data_file.h"
#include "store/memory_disk.h"

namespace quantora::fuzz {

// The disk every file of the targets is on, put in use the first time it is asked for.
inline MemoryDisk& Disk() {
    static MemoryDisk disk;
    static FileLayerInUse use(disk);
    return disk;
}

// The folder of each input, ending in "/".
inline const std::string& Scratch() {
    static const std::string folder = "/scratch/";
    return folder;
}

// An empty disk holding an empty scratch folder.
inline void ClearScratch() {
    Disk() = MemoryDisk();
    EnsureFolder(Scratch());
}

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Up to max bytes, the count taken from the input first.
    std::string Bytes(std::size_t max) {
        std::size_t count = Byte() % (max + 1);
        std::string bytes;
        while (count-- > 0 && !Empty()) bytes += static_cast<char>(Byte());
        return bytes;
    }
    // A name that can be a file name here: no "/" or NUL, not "." or "..", not empty.
    std::string FileName(std::size_t max = 12) {
        std::string name;
        for (char c : Bytes(max))
            if (c != '/' && c != '\0') name += c;
        if (name.empty() || name == "." || name == "..") name = "n";
        return name;
    }

    // A file of a name and up to max bytes from the input, in folder; false when it cannot
    // be made (the name may be taken by a folder).
    bool File(const std::string& folder, std::size_t max) {
        std::string name = FileName();
        std::string bytes = Bytes(max);
        return Files().Write(folder + name, bytes, WriteMode::Replace, false) == 0;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace quantora::fuzz
