// Counting, copying and erasing a data folder of odd content (hidden files and folders,
// deeper folders, files where folders belong, any names): nothing hangs or faults, a copy
// holds every normal file byte for byte, and erasing leaves only what is no part of a data
// folder. Pipes and links, which the disk in memory does not have, are tried by the tests of
// the data folder tools on the real disk.
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
        switch (input.Byte() % 4) {
            case 0:
                EnsureFolder(path + "/");
                break;
            case 1:
                EnsureFolder(path + "/");
                input.File(path + "/", 40);  // a folder two levels down
                break;
            default:
                input.File(folder, 40);
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
