#include "store/data_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <vector>

#include "store/file_layer.h"

namespace quantora {

namespace {

constexpr std::string_view kSecondParagraph =
    "Either another application has opened it or there is a fault in the Windows file "
    "locking system.    ";
constexpr std::string_view kThirdParagraph = "Please restart your computer.    ";

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// Why a read fails because there is nothing there to read, as opposed to a file that is there
// but refuses to be read. ENXIO is a socket or a pipe with no writer; a folder (EISDIR) or a
// pipe (ESPIPE, EINVAL) opens but is no file either.
bool IsGone(int error) {
    return error == ENOENT || error == ENOTDIR || error == ENXIO || error == EISDIR ||
           error == ESPIPE || error == EINVAL;
}

// Why a temporary file could not be made or filled where the file itself may still be
// written in place: a full disk, or a folder where files may be written but not created.
bool CannotCreate(int error) {
    return error == ENOSPC || error == EDQUOT || error == EACCES || error == EPERM;
}

std::optional<std::string> Answer(int error, std::string& bytes, const std::string& path) {
    if (error == 0) return std::move(bytes);
    if (IsGone(error)) return std::nullopt;
    throw DataFileError(DataFileError::Kind::Open, path);
}

}  // namespace

DataFileError::DataFileError(Kind kind, std::string path)
    : std::runtime_error((kind == Kind::Open ? "cannot open " : "cannot delete ") + path),
      kind_(kind),
      path_(std::move(path)) {}

std::string DataFileError::UserMessage() const {
    std::string first = kind_ == Kind::Open
                            ? "Error - One of the program's data files cannot be opened !   "
                            : "Error - One of the program's data files cannot be deleted !   ";
    return first + "\n\n" + std::string(kSecondParagraph) + "\n\n" + std::string(kThirdParagraph);
}

DataFile DataFile::Open(const std::string& path) {
    FileLayer& files = Files();
    files.AllowWriting(path);
    EntryFacts facts;
    if (files.Facts(path, facts) != 0) throw DataFileError(DataFileError::Kind::Open, path);
    if (facts.kind == EntryKind::Missing) {
        int error = files.Write(path, "", WriteMode::New, false);
        if (error != 0 && error != EEXIST) throw DataFileError(DataFileError::Kind::Open, path);
        if (files.Facts(path, facts) != 0) throw DataFileError(DataFileError::Kind::Open, path);
    }
    if (facts.kind != EntryKind::File) throw DataFileError(DataFileError::Kind::Open, path);
    return DataFile(path);
}

bool DataFile::OpenExistingForReading(const std::string& path, DataFile& out) {
    EntryFacts facts;
    if (Files().Facts(path, facts) != 0) throw DataFileError(DataFileError::Kind::Open, path);
    if (facts.kind != EntryKind::File) return false;
    // A file there that refuses to be read says so now, not at the first read.
    std::string none;
    if (!Answer(Files().Read(path, 0, 0, none), none, path)) return false;
    out = DataFile(path);
    return true;
}

std::optional<std::string> DataFile::ReadPart(const std::string& path, std::uint64_t offset,
                                              std::size_t count) {
    std::string bytes;
    return Answer(Files().Read(path, offset, count, bytes), bytes, path);
}

FolderReader::FolderReader(const std::string& folderPath) : folderPath_(folderPath) {
    int error = Files().Open(folderPath, folder_);
    if (error != 0 && !IsGone(error)) throw DataFileError(DataFileError::Kind::Open, folderPath);
}

FolderReader::~FolderReader() = default;

std::optional<std::string> FolderReader::ReadHead(const std::string& name,
                                                  std::size_t count) const {
    if (folder_ == nullptr) return std::nullopt;
    std::string bytes;
    return Answer(folder_->Read(name, 0, count, bytes), bytes, folderPath_ + name);
}

std::optional<std::string> DataFile::ReadWhole(const std::string& path) {
    // The size the open found is the size read: pricing reads every job it walks this way.
    std::string bytes;
    return Answer(Files().Read(path, 0, kWholeFile, bytes), bytes, path);
}

std::uint64_t DataFile::Size() const {
    EntryFacts facts;
    if (Files().Facts(path_, facts) != 0 || facts.kind != EntryKind::File)
        throw DataFileError(DataFileError::Kind::Open, path_);
    return facts.size;
}

std::string DataFile::ReadAt(std::uint64_t offset, std::size_t count) const {
    std::string bytes;
    if (Files().Read(path_, offset, count, bytes) != 0)
        throw DataFileError(DataFileError::Kind::Open, path_);
    return bytes;
}

void DataFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
    if (Files().WriteAt(path_, offset, bytes, false) != 0)
        throw DataFileError(DataFileError::Kind::Open, path_);
}

void DeleteDataFile(const std::string& path) {
    FileLayer& files = Files();
    EntryFacts facts;
    if (files.Facts(path, facts, false) != 0 || facts.kind == EntryKind::Missing) return;
    files.AllowWriting(path);
    int error = files.Remove(path);
    if (error != 0 && error != ENOENT) throw DataFileError(DataFileError::Kind::Delete, path);
}

void EnsureFolder(const std::string& folderPath) {
    if (folderPath.size() < 2) return;
    Files().MakeFolder(folderPath);
}

void EnsureFolderPath(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        Files().MakeFolder(path.substr(0, slash + 1));
}

bool FileExists(const std::string& path) {
    EntryFacts facts;
    return Files().Facts(path, facts) == 0 && facts.kind == EntryKind::File;
}

bool FolderCanBeListed(const std::string& folderPath) {
    std::vector<FolderEntry> entries;
    return Files().List(folderPath, entries) == 0;
}

std::string TemporaryFileName() {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    // A copy of the process (fork) starts from the same state; its own id keeps it apart.
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" +
           std::to_string(random()) + std::string(kTemporarySuffix);
}

bool IsTemporaryFileName(std::string_view name) {
    if (name.size() <= kTemporaryPrefix.size() + kTemporarySuffix.size()) return false;
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return false;
    std::string_view number = name.substr(
        kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
    std::size_t dash = number.find('-');
    auto digits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return dash != std::string_view::npos && digits(number.substr(0, dash)) &&
           digits(number.substr(dash + 1));
}

void RemoveStaleTemporaryFiles(const std::string& folderPath) {
    FileLayer& files = Files();
    std::vector<FolderEntry> entries;
    if (files.List(folderPath, entries) != 0) return;
    for (const FolderEntry& entry : entries)
        if (IsTemporaryFileName(entry.name)) files.Remove(folderPath + entry.name);
}

namespace {

// The last resort of a replace: the existing file written over and cut to length. Not
// proof against a crash halfway, but what a full disk still allows.
void WriteInPlace(const std::string& path, std::string_view bytes, bool durable) {
    Files().AllowWriting(path);
    if (Files().Write(path, bytes, WriteMode::Over, durable) != 0)
        throw DataFileError(DataFileError::Kind::Open, path);
}

}  // namespace

void ReplaceFile(const std::string& path, std::string_view bytes, bool durable) {
    FileLayer& files = Files();
    // A hidden name in the same folder: never listed as a job or an item, and the rename
    // stays within one file system.
    std::string temp;
    int error = EEXIST;
    // A name already taken (a crash's leftover) is no reason to fail: another is drawn.
    for (int attempt = 0; error == EEXIST && attempt < 16; ++attempt) {
        temp = FolderOf(path) + TemporaryFileName();
        error = files.Write(temp, bytes, WriteMode::New, durable);
    }
    if (error != 0) {
        if (error != EEXIST) files.Remove(temp);
        if (CannotCreate(error) && FileExists(path)) return WriteInPlace(path, bytes, durable);
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    // A read-only mark on the old file is no bar to renaming over it.
    if (files.Rename(temp, path) != 0) {
        files.Remove(temp);
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    // The rename itself is on the disk only once the folder is, and a save that cannot be sure
    // of it must not say it is done.
    // A file system that cannot flush a folder at all (some network ones) is no such doubt.
    if (int error = durable ? files.FlushFolder(FolderOf(path)) : 0;
        error != 0 && error != EINVAL && error != ENOTSUP && error != EACCES && error != EPERM)
        throw DataFileError(DataFileError::Kind::Open, path);
}

bool PublishFile(const std::string& path, std::string_view bytes) {
    int error = Files().Publish(path, bytes);
    if (error == EEXIST) return false;
    if (error != 0) throw DataFileError(DataFileError::Kind::Open, path);
    return true;
}

void FlushDiskOf(const std::string& folder) {
    if (Files().FlushDisk(folder) != 0) throw DataFileError(DataFileError::Kind::Open, folder);
}

void WriteUntorn(const std::string& path, std::uint64_t offset, std::string_view bytes,
                 bool durable) {
    if (bytes.empty()) return;
    DataFile file = DataFile::Open(path);
    std::uint64_t size = file.Size();
    if (offset > size) throw DataFileError(DataFileError::Kind::Open, path);
    if (offset / kUntornPiece == (offset + bytes.size() - 1) / kUntornPiece) {
        file.WriteAt(offset, bytes);
        return;
    }
    std::string content = file.ReadAll();
    file.Close();
    content.replace(static_cast<std::size_t>(offset),
                    std::min(bytes.size(), content.size() - static_cast<std::size_t>(offset)),
                    bytes);
    ReplaceFile(path, content, durable);
}

void CopyFileSafely(const std::string& source, const std::string& target, bool durable) {
    DataFile in;
    if (!DataFile::OpenExistingForReading(source, in))
        throw DataFileError(DataFileError::Kind::Open, source);
    std::string bytes = in.ReadAll();
    in.Close();
    ReplaceFile(target, bytes, durable);
}

std::string_view FileNamePart(std::string_view path) {
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace quantora
