// Starting with any Data.dir at all: the set-up always ends in a data folder it can use,
// the default one when Data.dir names none, and a second start is then silent. Data.dir
// is kept under the scratch folder ("../" made harmless), so the fuzzer writes nowhere else.
#include "fuzz_input.h"
#include "store/data_file.h"
#include "store/data_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    fuzz::ClearScratch();
    std::string home = fuzz::Scratch() + "home/";
    EnsureFolder(home);
    EnsureFolder(fuzz::Scratch() + "data/");
    std::string content(reinterpret_cast<const char*>(data), size);
    for (std::size_t at; (at = content.find("..")) != std::string::npos;) content[at] = '_';
    ReplaceFile(home + kDataDirFileName, fuzz::Scratch() + content, false);
    Settings settings;
    DataFolderSetUp first = SetUpDataFolder(home, settings);
    if (!FolderCanBeListed(first.paths.dataFolder)) std::abort();
    if (first.unreachableFolder && first.paths.dataFolder != home) std::abort();
    if (!FileExists(first.paths.GroupIndex())) std::abort();
    if (SetUpDataFolder(home, settings).unreachableFolder) std::abort();
    return 0;
}
