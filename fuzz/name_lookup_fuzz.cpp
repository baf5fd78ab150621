// Finding an item or job by name among files of any names: the lookup for one name and the
// lookup of a pricing run agree, an exact name is found as itself, and a name found differs
// from the one asked for only in letter case.
#include "fuzz_input.h"
#include "pricelists/item_file.h"
#include "store/code_page.h"
#include "store/name_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    fuzz::Input input(data, size);
    fuzz::ClearScratch();
    const std::string& folder = fuzz::Scratch();
    for (int files = input.Byte() % 8; files-- > 0;) input.File(folder, 10);
    std::string wanted = input.Bytes(12);
    std::optional<std::string> found = FindFile(folder, wanted);
    NameResolver resolver;
    if (resolver.Find(folder, wanted) != found) std::abort();
    if (resolver.Find(folder, wanted) != found) std::abort();  // remembered, still the same
    if (found && FoldCase(*found) != FoldCase(wanted)) std::abort();
    if (IsPlainFileName(wanted) && FileExists(folder + wanted) && found != wanted) std::abort();
    FolderReader reader(folder);
    auto price = ReadItemPriceIfPresent(reader, folder, wanted, resolver);
    if (price.has_value() != found.has_value()) std::abort();
    if (ItemExists(folder, wanted) != found.has_value()) std::abort();
    return 0;
}
