// What the user may do in a folder or with a file, found out by trying: the data folder
// window asks before it moves, backs up or restores anything there.
#pragma once

#include <string>

namespace quantora {

enum class Access : char {
    Folder = 'F',    // a folder where files can be read and written back, or created
    Writable = 'W',  // a file that can be read and written back
    ReadOnly = 'R',  // readable, not writable
    None = 'X',      // not readable, or nothing can be created
};

// Tries a path: a folder path (ending in "/") or a file path. Every missing folder level on
// the way is created first. In a folder the first file is read and written back unchanged and
// a hidden file is made and removed again (Folder only when both work), or, in an empty
// folder, a file "Test.txt" is made and removed again. Only a refusal of access counts
// against a folder: a disk too full to take the try is left to the space check. A missing file is
// created empty by the try (and then answers None, having nothing to read). Never fails:
// its failures are its answers.
Access Permissions(const std::string& path);

}  // namespace quantora
