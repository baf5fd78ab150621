// Any Data.dir content names a folder path ending in "/".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/data_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string content(reinterpret_cast<const char*>(data), size);
    std::string folder = quantora::DataFolderFromDataDir(content, "/default/");
    if (folder.empty() || folder.back() != '/') std::abort();
    if (!content.empty() && folder.compare(0, content.size(), content) != 0) std::abort();
    return 0;
}
