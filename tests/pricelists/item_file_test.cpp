#include "pricelists/item_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

TEST(ItemFile, EightLittleEndianBytes) {
    TempFolder list;
    WriteItemPrice(list.path(), "Hammer", ParseAmount("12.5"));
    EXPECT_EQ(ReadBytes(list / "Hammer"), std::string("\x48\xE8\x01\x00\x00\x00\x00\x00", 8));
    WriteBytes(list / "Widget", std::string("\xA8\x61\x00\x00\x00\x00\x00\x00", 8));
    EXPECT_EQ(ReadItemPrice(list.path(), "Widget"), ParseAmount("2.5"));
    WriteItemPrice(list.path(), "Refund", ParseAmount("-1"));
    EXPECT_EQ(ReadBytes(list / "Refund"), std::string("\xF0\xD8\xFF\xFF\xFF\xFF\xFF\xFF", 8));
}

TEST(ItemFile, ShortAndLongFilesReadWithoutFailing) {
    TempFolder list;
    WriteBytes(list / "Empty", "");
    WriteBytes(list / "Short", std::string("\x10\x27", 2));  // 10,000 = 1.00
    WriteBytes(list / "Notes.txt",
               std::string("\xA8\x61\x00\x00\x00\x00\x00\x00", 8) + " and more text");
    EXPECT_EQ(ReadItemPrice(list.path(), "Empty"), Amount{});
    EXPECT_EQ(ReadItemPrice(list.path(), "Short"), ParseAmount("1"));
    EXPECT_EQ(ReadItemPrice(list.path(), "Notes.txt"), ParseAmount("2.5"));
    // Writing a hand-placed file changes its price and keeps the rest.
    WriteItemPrice(list.path(), "Notes.txt", ParseAmount("1"));
    EXPECT_EQ(ReadBytes(list / "Notes.txt").substr(8), " and more text");
}

TEST(ItemFile, OneItemWhateverTheLetterCase) {
    TempFolder list;
    WriteItemPrice(list.path(), "Nails", ParseAmount("1"));
    EXPECT_TRUE(ItemExists(list.path(), "NAILS"));
    WriteItemPrice(list.path(), "nails", ParseAmount("2"));
    EXPECT_EQ(ListItemNames(list.path()), std::vector<std::string>{"Nails"});
    EXPECT_EQ(ReadItemPrice(list.path(), "nAiLs"), ParseAmount("2"));
    NameResolver resolver;
    FolderReader folder(list.path());
    EXPECT_EQ(ReadItemPriceIfPresent(folder, list.path(), "NAILS", resolver), ParseAmount("2"));
    EXPECT_EQ(ReadItemPriceIfPresent(folder, list.path(), "Screws", resolver), std::nullopt);
    DeleteItem(list.path(), "NAILS");
    EXPECT_FALSE(Exists(list / "Nails"));
}

TEST(ItemFile, MissingItemsAreNeitherCreatedNorFatal) {
    TempFolder list;
    EXPECT_EQ(ReadItemPrice(list.path(), "Nothing"), Amount{});
    EXPECT_FALSE(Exists(list / "Nothing"));
    EXPECT_NO_THROW(DeleteItem(list.path(), "Nothing"));
    NameResolver resolver;
    FolderReader missing(list / "Lists7/");
    EXPECT_EQ(ReadItemPriceIfPresent(missing, list / "Lists7/", "Nothing", resolver), std::nullopt);
    FolderReader folder(list.path());
    EXPECT_EQ(ReadItemPriceIfPresent(folder, list.path(), "", resolver), std::nullopt);
}

}  // namespace
}  // namespace quantora
