// Adds a price list of many items to a data folder, for trying the program at the size of a
// big supplier's catalogue: "Big Supplier", made the current list as the management window
// would make it, its items named as a catalogue names them.
//
//   make_big_list <default folder> <items>
#include <charconv>
#include <cstdio>
#include <string>

#include "bench_support.h"
#include "manage/entry_operations.h"
#include "pricelists/item_file.h"
#include "store/data_folder.h"
#include "store/settings.h"

int main(int argc, char** argv) {
    using namespace quantora;
    int items = 0;
    std::string_view count = argc == 3 ? argv[2] : "";
    if (argc != 3 ||
        std::from_chars(count.data(), count.data() + count.size(), items).ec != std::errc() ||
        items < 1) {
        std::fprintf(stderr, "usage: make_big_list <default folder> <items>\n");
        return 2;
    }
    std::string defaultFolder = argv[1];
    if (defaultFolder.back() != '/') defaultFolder += '/';
    Settings settings = ReadSettings(defaultFolder);
    DataPaths paths = SetUpDataFolder(defaultFolder, settings).paths;
    NameAnswer made = NewEntryNamed(paths, settings, NameIndex::PriceLists, "Big Supplier");
    if (!made.done) {
        std::fprintf(stderr, "make_big_list: %s\n", made.refusal.c_str());
        return 1;
    }
    std::string folder = paths.ListFolder(settings.CurrentList);
    for (int i = 0; i < items; ++i)
        bench::WriteFast(folder + bench::CatalogueName(i),
                         EncodeItemPrice(Amount::FromRaw(10'000 + i % 99'999)));
    std::printf("%d items in %s\n", items, folder.c_str());
    return 0;
}
