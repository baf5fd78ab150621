// Loading a price list of any item names and contents under any filter: the names shown
// pass the filter and come in the one sorted order, every key points at its own price, and
// the prices are those the files hold.
#include "fuzz_input.h"
#include "pricelists/item_file.h"
#include "pricelists/price_list_model.h"
#include "store/collation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quantora;
    fuzz::Input input(data, size);
    fuzz::ClearScratch();
    const std::string& folder = fuzz::Scratch();
    for (int files = input.Byte() % 12; files-- > 0;) input.File(folder, 10);
    // A folder among the items is no item.
    if (input.Byte() % 4 == 0) EnsureFolder(folder + input.FileName() + "/");
    ItemFilter filter{static_cast<FilterMode>(input.Byte() % 4), input.Bytes(6)};
    PriceListModel model;
    model.LoadNames(folder, filter);
    model.ReadAllPrices();
    const std::vector<ListEntry>& items = model.ItemList();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!filter.Passes(items[i].name)) std::abort();
        if (i > 0 && CollatesBefore(items[i].name, items[i - 1].name)) std::abort();
        if (model.PriceAt(static_cast<std::int32_t>(i)) !=
            DecodeItemPrice(*DataFile::ReadWhole(folder + std::string(items[i].name))))
            std::abort();
    }
    return 0;
}
