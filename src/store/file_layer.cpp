#include "store/file_layer.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace quantora {

namespace {

EntryKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    if (S_ISLNK(mode)) return EntryKind::Link;
    return EntryKind::Other;
}

std::string WithoutSlash(const std::string& folder) {
    return folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
}

// Reads from a file just opened (fd, or -1 with errno set) and closes it. Thousands of items
// are read this way, so only a whole-file read asks the file's size.
int ReadAndClose(int fd, std::uint64_t offset, std::size_t count, std::string& out) {
    if (fd < 0) return errno;
    int error = 0;
    if (count == kWholeFile) {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            error = errno;
        } else if (!S_ISREG(info.st_mode)) {
            error = S_ISDIR(info.st_mode) ? EISDIR : ENXIO;
        } else {
            count = static_cast<std::size_t>(info.st_size);
        }
    }
    out.assign(error == 0 ? count : 0, '\0');
    std::size_t done = 0;
    while (error == 0 && done < count) {
        ssize_t n = ::pread(fd, out.data() + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.resize(done);
    return error;
}

int WriteAll(int fd, std::string_view bytes, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                             static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// Closes the file and tells the first error of the work on it and the close.
int CloseWith(int fd, int error) {
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

class SystemFolder : public OpenFolder {
  public:
    explicit SystemFolder(int fd) : fd_(fd) {}
    ~SystemFolder() override { ::close(fd_); }

    int Read(const std::string& name, std::uint64_t offset, std::size_t count,
             std::string& out) override {
        return ReadAndClose(::openat(fd_, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), offset,
                            count, out);
    }
    int Remove(const std::string& name) override {
        return ::unlinkat(fd_, name.c_str(), 0) == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

class SystemLayer : public FileLayer {
  private:
    // Publish where the folder's file system has no unnamed files: a hidden file, filled,
    // linked to the name (which fails where the name is taken) and removed again.
    int PublishByLink(const std::string& folder, const std::string& path, std::string_view bytes) {
        static std::atomic<std::uint64_t> count{0};
        std::string temp = folder + ".quantora-" + std::to_string(::getpid()) + "-" +
                           std::to_string(++count) + ".tmp";
        ::unlink(temp.c_str());
        int error = Write(temp, bytes, WriteMode::New, false);
        if (error == 0 && ::link(temp.c_str(), path.c_str()) != 0) error = errno;
        ::unlink(temp.c_str());
        return error;
    }

  public:
    int Facts(const std::string& path, EntryFacts& out, bool followLink) override {
        struct stat info {};
        out = EntryFacts{};
        int got = followLink ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
        if (got != 0) return errno == ENOENT || errno == ENOTDIR ? 0 : errno;
        out.kind = KindOf(info.st_mode);
        out.size = static_cast<std::uint64_t>(info.st_size);
        out.device = static_cast<std::uint64_t>(info.st_dev);
        out.identity = static_cast<std::uint64_t>(info.st_ino);
        out.ownerMayWrite = (info.st_mode & S_IWUSR) != 0;
        return 0;
    }

    int Read(const std::string& path, std::uint64_t offset, std::size_t count,
             std::string& out) override {
        return ReadAndClose(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC), offset, count,
                            out);
    }

    int Write(const std::string& path, std::string_view bytes, WriteMode mode,
              bool flush) override {
        int flags = O_WRONLY | O_CLOEXEC;
        switch (mode) {
            case WriteMode::New:
                flags |= O_CREAT | O_EXCL;
                break;
            case WriteMode::Replace:
                flags |= O_CREAT | O_TRUNC;
                break;
            case WriteMode::Append:
                flags |= O_CREAT | O_APPEND;
                break;
            case WriteMode::Over:
                break;
        }
        int fd = ::open(path.c_str(), flags, 0644);
        if (fd < 0) return errno;
        int error = 0;
        if (mode == WriteMode::Append) {
            std::size_t done = 0;
            while (error == 0 && done < bytes.size()) {
                ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (n < 0 && errno == EINTR) continue;
                error = n < 0 ? errno : n == 0 ? ENOSPC : 0;
                if (n > 0) done += static_cast<std::size_t>(n);
            }
        } else {
            struct stat info {};
            if (mode == WriteMode::Over && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)))
                error = EISDIR;
            if (error == 0) error = WriteAll(fd, bytes, 0);
            if (error == 0 && mode == WriteMode::Over &&
                ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
                error = errno;
        }
        if (error == 0 && flush) {
            int synced = mode == WriteMode::Append ? ::fdatasync(fd) : ::fsync(fd);
            if (synced != 0) error = errno;
        }
        return CloseWith(fd, error);
    }

    int Publish(const std::string& path, std::string_view bytes) override {
        // An unnamed file, filled, then given its name: one entry added to the folder, where a
        // temporary file and a rename would add one, look it up again and take it out.
        std::size_t slash = path.rfind('/');
        std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return errno;
            return PublishByLink(folder, path, bytes);
        }
        int error = WriteAll(fd, bytes, 0);
        std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (error == 0 &&
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0)
            error = errno;
        ::close(fd);
        // Without /proc the unnamed file cannot be named: the other way then.
        if (error == ENOENT && ::access("/proc/self/fd", F_OK) != 0)
            return PublishByLink(folder, path, bytes);
        return error;
    }

    int WriteAt(const std::string& path, std::uint64_t offset, std::string_view bytes,
                bool create) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
        if (fd < 0) return errno;
        struct stat info {};
        int error = ::fstat(fd, &info) != 0 ? errno : !S_ISREG(info.st_mode) ? EISDIR : 0;
        if (error == 0) error = WriteAll(fd, bytes, offset);
        return CloseWith(fd, error);
    }

    int Rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    int Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 ? 0 : errno; }
    int MakeFolder(const std::string& path) override {
        return ::mkdir(WithoutSlash(path).c_str(), 0755) == 0 ? 0 : errno;
    }
    int RemoveFolder(const std::string& path) override {
        return ::rmdir(WithoutSlash(path).c_str()) == 0 ? 0 : errno;
    }

    int List(const std::string& folder, std::vector<FolderEntry>& out) override {
        out.clear();
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) return errno;
        std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
        while (const dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            EntryKind kind = entry->d_type == DT_REG   ? EntryKind::File
                             : entry->d_type == DT_DIR ? EntryKind::Folder
                             : entry->d_type == DT_LNK ? EntryKind::Link
                                                       : EntryKind::Other;
            if (entry->d_type == DT_UNKNOWN) {
                struct stat info {};
                if (::lstat((prefix + name).c_str(), &info) == 0) kind = KindOf(info.st_mode);
            }
            out.push_back({std::move(name), kind});
        }
        ::closedir(dir);
        return 0;
    }

    int Open(const std::string& folder, std::unique_ptr<OpenFolder>& out) override {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return errno;
        out = std::make_unique<SystemFolder>(fd);
        return 0;
    }

    int FlushFolder(const std::string& folder) override {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return errno;
        return CloseWith(fd, ::fsync(fd) == 0 ? 0 : errno);
    }

    int FlushDisk(const std::string& folder) override {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return errno;
        return CloseWith(fd, ::syncfs(fd) == 0 ? 0 : errno);
    }

    int AllowWriting(const std::string& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) return errno;
        if (!S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR)) return 0;
        return ::chmod(path.c_str(), info.st_mode | S_IWUSR) == 0 ? 0 : errno;
    }
};

FileLayer* inUse = nullptr;

}  // namespace

FileLayer& SystemFiles() {
    static SystemLayer layer;
    return layer;
}

FileLayer& Files() { return inUse != nullptr ? *inUse : SystemFiles(); }

FileLayerInUse::FileLayerInUse(FileLayer& layer) : before_(inUse) { inUse = &layer; }

FileLayerInUse::~FileLayerInUse() { inUse = before_; }

}  // namespace quantora
