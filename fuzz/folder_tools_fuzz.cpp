// Counting, copying and erasing a data folder of odd content (pipes, links, hidden files
// and folders, deeper folders, any names): nothing hangs or faults, a copy holds every
// normal file byte for byte, and erasing leaves only what is no part of a data folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "datafolder/data_copy.h"
#include "datafolder/folder_census.h"
#include "fuzz_input.h"
#include "store/data_file.h"
#include "store/name_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    fuzz::Input input(data, size);
    fuzz::ClearScratch();
    std::string source = fuzz::Scratch() + "source/", target = fuzz::Scratch() + "target/";
    EnsureFolder(source);
    EnsureFolder(target);
    for (int entries = input.Byte() % 16; entries-- > 0;) {
        std::string folder = source;
        if (input.Byte() % 2) {
            folder += input.FileName(6) + "/";
            EnsureFolder(folder);
        }
        std::string path = folder + input.FileName();
        switch (input.Byte() % 5) {
            case 0:
                ::mkfifo(path.c_str(), 0644);
                break;
            case 1: {
                [[maybe_unused]] int linked = ::symlink(input.FileName().c_str(), path.c_str());
                break;
            }
            case 2:
                EnsureFolder(path + "/");
                break;
            default: {
                int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd < 0) break;
                std::string bytes = input.Bytes(40);
                if (::write(fd, bytes.data(), bytes.size()) < 0) std::abort();
                ::close(fd);
            }
        }
    }
    std::uint64_t files = CountFiles(source);
    CountClusters(source, 512);
    std::uint64_t copied = 0;
    if (CopyData(source, target, "", [&] { ++copied; })) std::abort();
    if (copied != files || CountFiles(target) != files) std::abort();
    for (const std::string& name : ListNormalFiles(source))
        if (DataFile::ReadWhole(source + name) != DataFile::ReadWhole(target + name)) std::abort();
    EraseData(source, fuzz::Scratch(), Settings{}, {});
    if (CountFiles(source) != 0) std::abort();
    return 0;
}
