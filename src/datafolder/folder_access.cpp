#include "datafolder/folder_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/data_file.h"
#include "store/name_lookup.h"

namespace quantora {

namespace {

// Reads up to count bytes from the start of the file and writes exactly those bytes back,
// so the file is unchanged whatever the answer. An empty file has nothing to read: it
// counts as readable only where emptyIsReadable says so.
Access ReadAndWriteBack(const std::string& path, std::size_t count, Access whenWritable,
                        bool emptyIsReadable) {
    int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (reader < 0) return Access::None;
    char bytes[2];
    ssize_t got = ::pread(reader, bytes, count, 0);
    ::close(reader);
    if (got < 0 || (got == 0 && !emptyIsReadable)) return Access::None;
    int writer = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (writer < 0) return Access::ReadOnly;
    bool written = got == 0 || ::pwrite(writer, bytes, static_cast<std::size_t>(got), 0) == got;
    ::close(writer);
    return written ? whenWritable : Access::ReadOnly;
}

// Only a refusal says the user may not write here. A disk with no room left for the bytes or
// for one more file is a matter for the space check, which has its own message.
bool Refused(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// Makes the file, writes two bytes to it and removes it again.
bool CanCreate(const std::string& test) {
    int fd = ::open(test.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return !Refused(errno);
    bool written = ::write(fd, "xx", 2) == 2 || !Refused(errno);
    ::close(fd);
    return ::unlink(test.c_str()) == 0 && written;
}

void MakeWritable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        ::chmod(path.c_str(), info.st_mode | S_IWUSR);
}

}  // namespace

Access Permissions(const std::string& path) {
    for (std::size_t slash = path.find('/'); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        EnsureFolder(path.substr(0, slash + 1));

    if (!path.empty() && path.back() == '/') {
        std::vector<std::string> files = ListNormalFiles(path);
        if (files.empty()) return CanCreate(path + "Test.txt") ? Access::Folder : Access::None;
        MakeWritable(path + files.front());
        Access access = ReadAndWriteBack(path + files.front(), 2, Access::Folder, true);
        // Files written back in place are not enough here: erasing and copying also remove
        // and make files. The try uses a hidden name, which no data file has.
        if (access == Access::Folder && !CanCreate(path + TemporaryFileName()))
            return Access::ReadOnly;
        return access;
    }

    MakeWritable(path);
    ::close(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));  // a failure is ignored
    return ReadAndWriteBack(path, 1, Access::Writable, false);
}

}  // namespace quantora
