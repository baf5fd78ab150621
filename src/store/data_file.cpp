#include "store/data_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <vector>

namespace quantora {

namespace {

constexpr std::string_view kSecondParagraph =
    "Either another application has opened it or there is a fault in the Windows file "
    "locking system.    ";
constexpr std::string_view kThirdParagraph = "Please restart your computer.    ";

// The counterpart of clearing the read-only attribute: give the owner write permission.
void ClearReadOnly(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && !(info.st_mode & S_IWUSR))
        ::chmod(path.c_str(), info.st_mode | S_IWUSR);
}

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// Why an open can fail because there is nothing there to read, as opposed to a file that
// is there but refuses to be read. ENXIO is a socket or a pipe with no writer: no file.
bool IsGone(int error) { return error == ENOENT || error == ENOTDIR || error == ENXIO; }

// Why a temporary file could not be made or filled where the file itself may still be
// written in place: a full disk, or a folder where files may be written but not created.
bool CannotCreate(int error) {
    return error == ENOSPC || error == EDQUOT || error == EACCES || error == EPERM;
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
    ClearReadOnly(path);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) throw DataFileError(DataFileError::Kind::Open, path);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    return DataFile(fd, path);
}

namespace {

// Opens an existing regular file for reading and tells its size; -1 when there is no such
// file. Throws DataFileError(Open) when it is there but cannot be opened.
int OpenRegularForReading(const std::string& path, std::uint64_t& size) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (IsGone(errno)) return -1;
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

}  // namespace

bool DataFile::OpenExistingForReading(const std::string& path, DataFile& out) {
    std::uint64_t size = 0;
    int fd = OpenRegularForReading(path, size);
    if (fd < 0) return false;
    out = DataFile(fd, path);
    return true;
}

namespace {

// Reads count bytes from offset (fewer at the end) of a file just opened (fd, or -1 with
// errno set) and closes it. A folder opens but cannot be read (EISDIR), nor can a pipe opened
// without waiting for a writer (ESPIPE): neither is a file. Thousands of items are read this way,
// so there is no separate status call for each.
std::optional<std::string> ReadAndClose(int fd, std::uint64_t offset, std::size_t count,
                                        const std::string& path) {
    if (fd < 0) {
        if (IsGone(errno)) return std::nullopt;
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    std::string buffer(count, '\0');
    ssize_t n;
    do {
        n = ::pread(fd, buffer.data(), count, static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    int error = errno;
    ::close(fd);
    if (n < 0) {
        if (error == EISDIR || error == ESPIPE || error == EINVAL) return std::nullopt;
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

}  // namespace

std::optional<std::string> DataFile::ReadPart(const std::string& path, std::uint64_t offset,
                                              std::size_t count) {
    return ReadAndClose(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), offset, count,
                        path);
}

FolderReader::FolderReader(const std::string& folderPath)
    : folder_(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      folderPath_(folderPath) {
    if (folder_ < 0 && !IsGone(errno)) throw DataFileError(DataFileError::Kind::Open, folderPath);
}

FolderReader::~FolderReader() {
    if (folder_ >= 0) ::close(folder_);
}

std::optional<std::string> FolderReader::ReadHead(const std::string& name,
                                                  std::size_t count) const {
    if (folder_ < 0) return std::nullopt;
    return ReadAndClose(::openat(folder_, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), 0,
                        count, folderPath_ + name);
}

std::optional<std::string> DataFile::ReadWhole(const std::string& path) {
    // The size the open found is the size read: pricing reads every job it walks this way.
    std::uint64_t size = 0;
    int fd = OpenRegularForReading(path, size);
    if (fd < 0) return std::nullopt;
    return DataFile(fd, path).ReadAt(0, static_cast<std::size_t>(size));
}

DataFile::DataFile(DataFile&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

DataFile& DataFile::operator=(DataFile&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

DataFile::~DataFile() { Close(); }

void DataFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::uint64_t DataFile::Size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) throw DataFileError(DataFileError::Kind::Open, path_);
    return static_cast<std::uint64_t>(info.st_size);
}

std::string DataFile::ReadAt(std::uint64_t offset, std::size_t count) const {
    std::string buffer(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        ssize_t n =
            ::pread(fd_, buffer.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw DataFileError(DataFileError::Kind::Open, path_);
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    buffer.resize(done);
    return buffer;
}

void DataFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                             static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw DataFileError(DataFileError::Kind::Open, path_);
        done += static_cast<std::size_t>(n);
    }
}

void DeleteDataFile(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return;
    ClearReadOnly(path);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw DataFileError(DataFileError::Kind::Delete, path);
}

void EnsureFolder(const std::string& folderPath) {
    if (folderPath.size() < 2) return;
    ::mkdir(folderPath.substr(0, folderPath.size() - 1).c_str(), 0755);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool FolderCanBeListed(const std::string& folderPath) {
    DIR* dir = ::opendir(folderPath.c_str());
    if (dir == nullptr) return false;
    ::closedir(dir);
    return true;
}

namespace {

// The last resort of a replace: the existing file written over and cut to length. Not
// proof against a crash halfway, but what a full disk still allows.
void WriteInPlace(const std::string& path, std::string_view bytes, bool durable) {
    ClearReadOnly(path);
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw DataFileError(DataFileError::Kind::Open, path);
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    ok = ok && (!durable || ::fsync(fd) == 0);
    ::close(fd);
    if (!ok) throw DataFileError(DataFileError::Kind::Open, path);
}

}  // namespace

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
    DIR* dir = ::opendir(folderPath.c_str());
    if (dir == nullptr) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir))
        if (IsTemporaryFileName(entry->d_name)) stale.emplace_back(entry->d_name);
    ::closedir(dir);
    for (const std::string& name : stale) ::unlink((folderPath + name).c_str());
}

void ReplaceFile(const std::string& path, std::string_view bytes, bool durable) {
    // A hidden name in the same folder: never listed as a job or an item, and the rename
    // stays within one file system.
    std::string temp;
    int fd = -1;
    // A name already taken (a crash's leftover) is no reason to fail: another is drawn.
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        temp = FolderOf(path) + TemporaryFileName();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        if (CannotCreate(errno) && FileExists(path)) return WriteInPlace(path, bytes, durable);
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (error == 0 && durable && ::fsync(fd) != 0) error = errno;
    ::close(fd);
    if (error != 0) {
        ::unlink(temp.c_str());
        if (CannotCreate(error) && FileExists(path)) return WriteInPlace(path, bytes, durable);
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    // A read-only mark on the old file is no bar to renaming over it.
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw DataFileError(DataFileError::Kind::Open, path);
    }
    if (durable) {
        // The rename itself is on the disk only once the folder is.
        int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
}

void FlushDiskOf(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw DataFileError(DataFileError::Kind::Open, folder);
    int flushed = ::syncfs(fd);
    ::close(fd);
    if (flushed != 0) throw DataFileError(DataFileError::Kind::Open, folder);
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
