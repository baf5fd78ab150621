// A disk kept in memory, for the tests that cut the power and for the fuzzers: it answers as
// the system's disk does, remembers what has been flushed, and after a power cut holds one of
// the states a real disk may come back with.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "store/file_layer.h"

namespace quantora {

class MemoryDisk : public FileLayer {
  public:
    // A disk holding only its root folder, "/".
    MemoryDisk();
    MemoryDisk(const MemoryDisk& other);
    MemoryDisk& operator=(const MemoryDisk& other);

    // The steps taken so far: every call that changes the disk or flushes it is one.
    std::uint64_t Steps() const;
    // From the given step on the power is gone: that call and every one after it fails with
    // EIO and changes nothing, as a program meets a disk that has gone.
    void CutPowerAt(std::uint64_t step);
    // The power comes back. The disk keeps everything that was flushed and, of the rest, one
    // of the mixes a real disk may keep: the name changes since the last flush are kept in
    // the order they were made, up to some point (a flushed folder's own ones always), and a
    // file's unflushed content comes back old, new, short or mixed by page. Variant 0 keeps
    // every name change and no unflushed content (a file renamed into place before its data
    // reached the disk comes back empty); variant 1 keeps nothing that was not flushed; any
    // other variant draws the mix from its number. The disk then works again.
    void PowerBack(std::uint64_t variant);

    // A disk that says it flushed and did not, as some cheap drives do: a program that counts
    // on its flushes loses data on it when the power goes. Tests use it to see that their
    // power cuts would catch a flush left out.
    void LieAboutFlushes() { lying_ = true; }

    // What the disk holds now, a path to its bytes ("/a/b"), folders with an ending "/".
    std::map<std::string, std::string> Contents() const;

    int Facts(const std::string& path, EntryFacts& out, bool followLink = true) override;
    int Read(const std::string& path, std::uint64_t offset, std::size_t count,
             std::string& out) override;
    int Write(const std::string& path, std::string_view bytes, WriteMode mode, bool flush) override;
    int Publish(const std::string& path, std::string_view bytes) override;
    int WriteAt(const std::string& path, std::uint64_t offset, std::string_view bytes,
                bool create) override;
    int Rename(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
    int MakeFolder(const std::string& path) override;
    int RemoveFolder(const std::string& path) override;
    int List(const std::string& folder, std::vector<FolderEntry>& out) override;
    int Open(const std::string& folder, std::unique_ptr<OpenFolder>& out) override;
    int FlushFolder(const std::string& folder) override;
    int FlushDisk(const std::string& folder) override;
    int AllowWriting(const std::string& path) override;

    struct Entry {
        bool folder = false;
        std::uint64_t id = 0;  // a file's content, a folder's own number
    };
    struct Content {
        std::string now;   // what a reader sees
        std::string kept;  // what the disk has
    };
    // One change of the names since the last flush of the disk.
    struct NameChange {
        enum class Kind { Link, Unlink, MakeFolder, RemoveFolder, Rename } kind;
        std::string path, to;
        Entry entry;
        bool kept = false;  // its folder was flushed since
    };
    using Names = std::map<std::string, Entry>;

  private:
    // Takes one step; false (the caller answers EIO) once the power is gone.
    bool Step();
    int Reading() const { return powerGone_ ? EIO : 0; }

    mutable std::mutex lock_;
    Names names_;      // what a reader sees
    Names keptNames_;  // the names as of the last flush of the disk
    std::vector<NameChange> changes_;
    std::map<std::uint64_t, Content> contents_;
    std::uint64_t nextId_ = 1;
    std::uint64_t steps_ = 0;
    std::uint64_t cutAt_ = UINT64_MAX;
    bool powerGone_ = false;
    bool lying_ = false;
};

}  // namespace quantora
