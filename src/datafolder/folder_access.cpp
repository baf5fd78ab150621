#include "datafolder/folder_access.h"

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
    std::string bytes;
    if (Files().Read(path, 0, count, bytes) != 0 || (bytes.empty() && !emptyIsReadable))
        return Access::None;
    return Files().WriteAt(path, 0, bytes, false) == 0 ? whenWritable : Access::ReadOnly;
}

// Only a refusal says the user may not write here. A disk with no room left for the bytes or
// for one more file is a matter for the space check, which has its own message.
bool Refused(int error) { return error == EACCES || error == EPERM || error == EROFS; }

// Makes the file, writes two bytes to it and removes it again.
bool CanCreate(const std::string& test) {
    int error = Files().Write(test, "xx", WriteMode::New, false);
    if (error == EEXIST) return true;  // someone else's: no refusal, and not ours to remove
    bool removed = Files().Remove(test) == 0;
    // Not made at all: only a refusal counts against the folder.
    if (error != 0 && !removed) return !Refused(error);
    return removed && !Refused(error);
}

}  // namespace

Access Permissions(const std::string& path) {
    EnsureFolderPath(path);

    if (!path.empty() && path.back() == '/') {
        std::vector<std::string> files = ListNormalFiles(path);
        if (files.empty()) return CanCreate(path + "Test.txt") ? Access::Folder : Access::None;
        Files().AllowWriting(path + files.front());
        Access access = ReadAndWriteBack(path + files.front(), 2, Access::Folder, true);
        // Files written back in place are not enough here: erasing and copying also remove
        // and make files. The try uses a hidden name, which no data file has.
        if (access == Access::Folder && !CanCreate(path + TemporaryFileName()))
            return Access::ReadOnly;
        return access;
    }

    Files().AllowWriting(path);
    Files().WriteAt(path, 0, "", true);  // made where missing; a failure is ignored
    return ReadAndWriteBack(path, 1, Access::Writable, false);
}

}  // namespace quantora
