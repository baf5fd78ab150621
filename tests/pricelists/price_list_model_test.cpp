#include "pricelists/price_list_model.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "pricelists/item_file.h"
#include "store/collation.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

Amount A(const char* text) { return ParseAmount(text); }

std::vector<std::string> Names(const PriceListModel& model) {
    std::vector<std::string> names;
    for (const ListEntry& e : model.ItemList()) names.emplace_back(e.name);
    return names;
}

PriceListModel Loaded(const std::string& folder, ItemFilter filter = {}) {
    PriceListModel model;
    model.LoadNames(folder, filter);
    model.ReadAllPrices();
    return model;
}

TEST(PriceListModel, AnEmptyFolderIsAnEmptyModel) {
    TempFolder list;
    PriceListModel model = Loaded(list.path());
    EXPECT_EQ(model.LastIndex(), -1);
    EXPECT_TRUE(model.ItemPrices().empty());
}

TEST(PriceListModel, NamesSortWithoutCaseAndKeysPointAtTheirPrices) {
    TempFolder list;
    WriteItemPrice(list.path(), "Widget", A("2.5"));
    WriteItemPrice(list.path(), "bolt", A("10"));
    WriteItemPrice(list.path(), "Anchor", A("0.75"));
    int progress = 0;
    PriceListModel model;
    model.LoadNames(list.path(), {});
    model.ReadAllPrices([&] { ++progress; });
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Anchor", "bolt", "Widget"}));
    EXPECT_EQ(model.LastIndex(), 2);
    EXPECT_EQ(progress, 3);
    EXPECT_EQ(model.PriceAt(0), A("0.75"));
    EXPECT_EQ(model.PriceAt(1), A("10"));
    EXPECT_EQ(model.PriceAt(2), A("2.5"));
    // Keys follow the folder listing, so every key is used exactly once.
    std::vector<bool> used(3);
    for (const ListEntry& e : model.ItemList()) used.at(e.key) = true;
    EXPECT_EQ(used, std::vector<bool>(3, true));
}

TEST(PriceListModel, ABigListSortsAsASmallOne) {
    // Big enough for the keys to be made and sorted in two halves, then merged.
    TempFolder list;
    const char* words[] = {"bolt",
                           "Bolt",
                           "BOLT",
                           "\xc3\xa9"
                           "cru",
                           "Ecrou",
                           "ecru",
                           "Zinc",
                           "a"};
    for (int i = 0; i < 30'000; ++i)
        WriteBytes(list / (std::string(words[i % 8]) + " " + std::to_string(i * 7919 % 30'011)),
                   std::string(8, '\0'));
    PriceListModel model;
    model.LoadNames(list.path(), {});
    const std::vector<ListEntry>& items = model.ItemList();
    ASSERT_EQ(items.size(), 30'000u);
    std::vector<bool> used(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        used.at(static_cast<std::size_t>(items[i].key)) = true;
        if (i > 0) {
            ASSERT_TRUE(CollatesBefore(items[i - 1].name, items[i].name)) << i;
        }
    }
    EXPECT_EQ(used, std::vector<bool>(items.size(), true));
}

TEST(PriceListModel, DeletingRemovesTheFileAndTheRowOnly) {
    TempFolder list;
    WriteItemPrice(list.path(), "Apple", A("1"));
    WriteItemPrice(list.path(), "Banana", A("2"));
    PriceListModel model = Loaded(list.path());
    model.Delete(list.path(), "Apple");
    EXPECT_FALSE(Exists(list / "Apple"));
    EXPECT_EQ(Names(model), std::vector<std::string>{"Banana"});
    EXPECT_EQ(model.PriceAt(0), A("2"));
    EXPECT_EQ(model.ItemPrices().size(), 2u);   // the price simply loses its row
    model.Delete(list.path(), "Gone already");  // silent
    EXPECT_EQ(model.LastIndex(), 0);
}

TEST(PriceListModel, APriceIsReadWhenItsRowIsWantedAndOnlyOnce) {
    TempFolder list;
    for (const char* name : {"Apple", "Banana", "Cherry", "Damson"})
        WriteItemPrice(list.path(), name, A("1"));
    PriceListModel model;
    model.LoadNames(list.path(), {});
    // What the files say when a row is first shown is what it shows from then on.
    WriteItemPrice(list.path(), "Banana", A("2"));
    model.ReadPrices(0, 2);
    EXPECT_EQ(model.PriceAt(1), A("2"));
    WriteItemPrice(list.path(), "Banana", A("3"));
    WriteItemPrice(list.path(), "Cherry", A("4"));
    model.ReadPrices(1, 2);
    EXPECT_EQ(model.PriceAt(1), A("2"));
    EXPECT_EQ(model.PriceAt(2), A("4"));
    // A row deleted before it was ever shown keeps its price, as every read price does.
    WriteItemPrice(list.path(), "Damson", A("1234.5"));
    model.Delete(list.path(), "Damson");
    model.ReadAllPrices();
    std::vector<Amount> prices = model.ItemPrices();  // by folder order
    std::sort(prices.begin(), prices.end());
    EXPECT_EQ(prices, (std::vector<Amount>{A("1"), A("2"), A("4"), A("1234.5")}));
    // A file that vanished before its row was shown reads as 0; rows past the end are none.
    model.LoadNames(list.path(), {});
    ::unlink((list / "Apple").c_str());
    model.ReadPrices(-1, 100);
    EXPECT_EQ(model.PriceAt(0), Amount{});
    EXPECT_EQ(model.PriceAt(2), A("4"));
}

TEST(PriceListModel, AddingAndUpdatingWriteTheFileFirst) {
    TempFolder list;
    WriteItemPrice(list.path(), "Nails", A("1"));
    WriteItemPrice(list.path(), "Screws", A("2"));
    PriceListModel model = Loaded(list.path(), {FilterMode::BeginningWith, "s"});
    // A new item shows at its sorted place whatever the filter.
    EXPECT_TRUE(model.AddOrUpdate(list.path(), "Hammer", A("12.5")));
    EXPECT_EQ(ReadBytes(list / "Hammer"), std::string("\x48\xE8\x01\x00\x00\x00\x00\x00", 8));
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Hammer", "Screws"}));
    EXPECT_EQ(model.PriceAt(0), A("12.5"));
    // An existing one changes its price only; under another letter case it is the same item,
    // and one filtered out changes on disk alone.
    EXPECT_FALSE(model.AddOrUpdate(list.path(), "SCREWS", A("3")));
    EXPECT_FALSE(model.AddOrUpdate(list.path(), "Nails", A("4")));
    EXPECT_EQ(ListItemNames(list.path()).size(), 3u);
    EXPECT_EQ(ReadItemPrice(list.path(), "Screws"), A("3"));
    EXPECT_EQ(ReadItemPrice(list.path(), "Nails"), A("4"));
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Hammer", "Screws"}));
}

TEST(PriceListModel, AnUnreadableItemIsADataFileError) {
    TempFolder list;
    WriteItemPrice(list.path(), "Nails", A("1"));
    ::chmod((list / "Nails").c_str(), 0);
    WriteItemPrice(list.path(), "Bolts", A("2"));
    PriceListModel model;
    model.LoadNames(list.path(), {});
    PermissionsEnforced asAnyUser;
    // Only when its row is wanted.
    model.ReadPrices(0, 1);
    EXPECT_EQ(model.PriceAt(0), A("2"));
    EXPECT_THROW(model.ReadPrices(1, 1), DataFileError);
    EXPECT_THROW(model.ReadAllPrices(), DataFileError);
    EXPECT_THROW(ReadItemPrice(list.path(), "Nails"), DataFileError);
}

}  // namespace
}  // namespace quantora
