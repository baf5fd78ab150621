// The data-file services: every data file is opened, used and closed within one action, a
// read-only mark never stands in the way, and a file that cannot be opened or deleted is a
// DataFileError that the windows report before the program ends. All of it goes through the
// file layer in use.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "store/file_layer.h"

namespace quantora {

class DataFileError : public std::runtime_error {
  public:
    enum class Kind { Open, Delete };

    DataFileError(Kind kind, std::string path);

    Kind kind() const { return kind_; }
    const std::string& path() const { return path_; }
    // The exact text the user is shown before the program ends.
    std::string UserMessage() const;

  private:
    Kind kind_;
    std::string path_;
};

// Every reader of a data file follows one rule: a file that is not there (or is a folder,
// a pipe or a socket rather than a file) is a source that has gone, and the reader says so
// in its return value; a file that is there but cannot be read throws DataFileError(Open).

// One open data file. Opening clears a read-only mark first (ignoring failure) and creates
// the file when it is missing, as every reader and writer of the data folder expects.
class DataFile {
  public:
    // Throws DataFileError(Open) when the file cannot be opened or created.
    static DataFile Open(const std::string& path);
    // Opens an existing file for reading only; false when there is no such regular file.
    // Throws DataFileError(Open) when the file is there but cannot be opened.
    static bool OpenExistingForReading(const std::string& path, DataFile& out);
    // count bytes from offset (fewer at the end of the file) of an existing regular file, in
    // as few system calls as reading a file can take; nothing when there is no such file.
    // Throws DataFileError(Open) when it is there but cannot be read.
    static std::optional<std::string> ReadPart(const std::string& path, std::uint64_t offset,
                                               std::size_t count);
    // The whole content of an existing regular file, read without opening it for writing;
    // nothing when there is no such file.
    static std::optional<std::string> ReadWhole(const std::string& path);

    DataFile() = default;

    std::uint64_t Size() const;
    // Reads up to count bytes at offset; fewer at the end of the file.
    std::string ReadAt(std::uint64_t offset, std::size_t count) const;
    void WriteAt(std::uint64_t offset, std::string_view bytes);
    std::string ReadAll() const { return ReadAt(0, static_cast<std::size_t>(Size())); }
    // Ends the action's use of the file.
    void Close() { path_.clear(); }

  private:
    explicit DataFile(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

// Reads the heads of many files of one folder, opening each relative to the folder, so the
// folder's path is not looked up again for every file.
class FolderReader {
  public:
    // Throws DataFileError(Open) when the folder is there but cannot be opened.
    explicit FolderReader(const std::string& folderPath);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // The first count bytes of the regular file name in the folder (fewer in a shorter
    // file); nothing when there is no such file or no such folder. Throws
    // DataFileError(Open) when either is there but cannot be read.
    std::optional<std::string> ReadHead(const std::string& name, std::size_t count) const;

  private:
    std::unique_ptr<OpenFolder> folder_;
    std::string folderPath_;
};

// Deletes the file if it exists, clearing a read-only mark first; a missing file is not an
// error. Throws DataFileError(Delete) when an existing file cannot be removed.
void DeleteDataFile(const std::string& path);

// Creates the last level of a folder path that ends in "/"; every error is ignored.
void EnsureFolder(const std::string& folderPath);

// Creates every folder of the path up to its last "/"; every error is ignored.
void EnsureFolderPath(const std::string& path);

// True when the path names a regular file.
bool FileExists(const std::string& path);
// True when the folder exists and its listing can be read.
bool FolderCanBeListed(const std::string& folderPath);

// Temporary files of a replace are named ".quantora-<process>-<number>.tmp": hidden, so
// never listed as a job or an item, and recognisable, so one left behind by a crash can be
// cleared.
inline constexpr std::string_view kTemporaryPrefix = ".quantora-";
inline constexpr std::string_view kTemporarySuffix = ".tmp";
std::string TemporaryFileName();

// True for the name of a temporary file of a replace.
bool IsTemporaryFileName(std::string_view name);
// Deletes the temporary files of replaces in the folder, left there by a crash; every
// failure is ignored. Only one copy of the program runs, so any that is found is stale.
void RemoveStaleTemporaryFiles(const std::string& folderPath);

// Replaces the whole file at path with bytes through a temporary file in the same folder
// and a rename, so a crash leaves the old file or the new one, never half of one. With
// durable set, the new content is on the disk before the rename. Where no temporary file
// can be made (a full disk, a folder where files may be written but not created) an
// existing file is written in place instead. Throws DataFileError(Open) when the file
// cannot be written either way.
void ReplaceFile(const std::string& path, std::string_view bytes, bool durable);

// Makes a new file appear whole under its name in one step, without a flush: a reader finds
// it whole or not at all. False where the name is taken. Throws DataFileError(Open) when the
// file cannot be made.
bool PublishFile(const std::string& path, std::string_view bytes);

// Puts everything written to the disk of folder (ending in "/") on it, in one flush: an action
// over many files writes them without a flush each, and flushes once before it calls itself
// done. Throws DataFileError(Open) when the disk reports that something could not be written.
void FlushDiskOf(const std::string& folder);

// Writes bytes at offset in an existing or new file so that a kill at any moment leaves
// them wholly old or wholly new. The system writes a piece that lies within one page of the
// file whole or not at all; a piece that straddles pages is written by replacing the whole
// file as ReplaceFile does. Throws DataFileError(Open) when the file cannot be written, or
// when offset lies past its end.
void WriteUntorn(const std::string& path, std::uint64_t offset, std::string_view bytes,
                 bool durable = false);

// The size of the pieces the system writes whole: a page.
inline constexpr std::uint64_t kUntornPiece = 4096;

// Copies source over target the same way. Throws DataFileError(Open) when the source
// cannot be read or the target written.
void CopyFileSafely(const std::string& source, const std::string& target, bool durable = true);

// The part of a path after its last "/".
std::string_view FileNamePart(std::string_view path);

}  // namespace quantora
