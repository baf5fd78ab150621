// The one way the program reaches its files: every read, write, rename, delete, flush and
// folder goes through the file layer in use. The program runs on the system's own disk; tests
// and fuzzers put a disk kept in memory in its place, which knows what a power cut would keep.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quantora {

enum class EntryKind { Missing, File, Folder, Link, Other };

struct EntryFacts {
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    // Two paths name the same entry when both numbers agree.
    std::uint64_t device = 0;
    std::uint64_t identity = 0;
    bool ownerMayWrite = true;
};

struct FolderEntry {
    std::string name;
    EntryKind kind = EntryKind::Other;  // a link is a Link, never what it leads to
};

// How Write treats what is already at the path.
enum class WriteMode {
    New,      // only where nothing is: EEXIST otherwise
    Replace,  // made or emptied first
    Append,   // made where missing, added at the end
    Over,     // only an existing file: written from its start and cut to the new length
};

// Count for Read that asks for the whole of a regular file, as long as it is when opened.
inline constexpr std::size_t kWholeFile = std::numeric_limits<std::size_t>::max();

// A folder opened once, so that the files of a big folder are reached by name within it and
// the folder's path is not looked up again for each. Answers as FileLayer does.
class OpenFolder {
  public:
    virtual ~OpenFolder() = default;
    virtual int Read(const std::string& name, std::uint64_t offset, std::size_t count,
                     std::string& out) = 0;
    virtual int Remove(const std::string& name) = 0;
};

// Every call answers 0, or the error number the system gives for the same failure (ENOENT,
// EISDIR, ENOSPC, ...), so that callers tell a missing file from one that refuses. Folder
// paths may end in "/" or not.
class FileLayer {
  public:
    virtual ~FileLayer() = default;

    // The entry at path; a Missing kind (and 0) when there is none. With followLink unset a
    // link is reported as a Link.
    virtual int Facts(const std::string& path, EntryFacts& out, bool followLink = true) = 0;
    // count bytes from offset (fewer at the end) of the file at path, or with kWholeFile the
    // whole of a regular file. A folder is EISDIR, a pipe or a socket ENXIO or ESPIPE.
    virtual int Read(const std::string& path, std::uint64_t offset, std::size_t count,
                     std::string& out) = 0;
    // Writes the whole of bytes, on the disk before this returns when flush is set.
    virtual int Write(const std::string& path, std::string_view bytes, WriteMode mode,
                      bool flush) = 0;
    // Makes a file appear under a path where nothing is, already holding bytes, in one step: a
    // reader never finds it empty or short. EEXIST where something is there. Not flushed.
    virtual int Publish(const std::string& path, std::string_view bytes) = 0;
    // Writes bytes at offset of a file, made empty first where it is missing and create is set.
    virtual int WriteAt(const std::string& path, std::uint64_t offset, std::string_view bytes,
                        bool create) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Remove(const std::string& path) = 0;
    virtual int MakeFolder(const std::string& path) = 0;
    virtual int RemoveFolder(const std::string& path) = 0;
    // The entries of a folder, without "." and "..", in no order.
    virtual int List(const std::string& folder, std::vector<FolderEntry>& out) = 0;
    virtual int Open(const std::string& folder, std::unique_ptr<OpenFolder>& out) = 0;
    // The folder's own entries (names made, renamed, removed) on the disk.
    virtual int FlushFolder(const std::string& folder) = 0;
    // Everything written to the disk that holds the folder on it, in one flush.
    virtual int FlushDisk(const std::string& folder) = 0;
    // Gives the owner leave to write a file marked read-only; a folder is left alone.
    virtual int AllowWriting(const std::string& path) = 0;
};

// The layer in use: the system's disk unless a FileLayerInUse says otherwise.
FileLayer& Files();

// Puts another layer in use for as long as it lives (a test's disk in memory), then the one
// before it again. Not for use while another thread reaches files.
class FileLayerInUse {
  public:
    explicit FileLayerInUse(FileLayer& layer);
    ~FileLayerInUse();
    FileLayerInUse(const FileLayerInUse&) = delete;
    FileLayerInUse& operator=(const FileLayerInUse&) = delete;

  private:
    FileLayer* before_;
};

// The system's own disk, through POSIX calls.
FileLayer& SystemFiles();

}  // namespace quantora
