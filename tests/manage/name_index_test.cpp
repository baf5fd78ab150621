#include "manage/name_index.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "first_run_folder.h"
#include "pricelists/item_file.h"
#include "store/data_file.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

const std::string kFree(70, ' ');

using Indexes = FirstRunFolder;

TEST_F(Indexes, ANewEntryTakesTheLastFreeSlotBecomesCurrentAndHasItsFolder) {
    WriteBytes(paths.GroupIndex(), Slot("Alpha") + kFree + Slot("Beta"));
    NewSlotResult gamma = NewEntry(paths, settings, NameIndex::Groups, "Gamma");
    ASSERT_EQ(gamma.outcome, SlotChange::Done);
    EXPECT_EQ(gamma.slot, 1);
    EXPECT_EQ(ReadSettings(home.path()).CurrentGroup, 1);
    EXPECT_TRUE(std::filesystem::is_directory(home / "Jobs1"));

    NewSlotResult list = NewEntry(paths, settings, NameIndex::PriceLists, "Timber");
    EXPECT_EQ(list.slot, 1);  // no free slot: appended
    EXPECT_EQ(ReadBytes(paths.PriceListIndex()), Slot("My First Price List") + Slot("Timber"));
    EXPECT_EQ(settings.CurrentList, 1);
    EXPECT_TRUE(std::filesystem::is_directory(home / "Lists1"));
}

TEST_F(Indexes, DeletingRemovesTheContentAndTheFolderAndSelectsNothing) {
    NewEntry(paths, settings, NameIndex::Groups, "Bathrooms");
    WriteBytes(paths.JobFolder(1) + "Tiles", "");
    DeleteEntry(paths, settings, NameIndex::Groups);
    EXPECT_FALSE(Exists(home / "Jobs1"));
    EXPECT_EQ(ReadBytes(paths.GroupIndex()), Slot("My First Group") + kFree);
    EXPECT_EQ(settings.CurrentGroup, kNoneSelected);
    EXPECT_EQ(LoadIndexColumn(paths, settings, NameIndex::Groups).selected, -1);
    EXPECT_EQ(NewEntry(paths, settings, NameIndex::Groups, "Decks").slot, 1);

    // The only price list can go too, with the records of its imports: a new list in its
    // place must not offer to undo this one's.
    WriteItemPrice(paths.ListFolder(0), "Nails", ParseAmount("1"));
    WriteBytes(paths.ListFolder(0) + kLastImportRecord, "A\tNails\ndone\n");
    DeleteEntry(paths, settings, NameIndex::PriceLists);
    EXPECT_FALSE(Exists(home / "Lists0"));
    EXPECT_TRUE(SortedEntries(paths, NameIndex::PriceLists).empty());
    EXPECT_EQ(settings.CurrentList, kNoneSelected);
    DeleteEntry(paths, settings, NameIndex::PriceLists);  // nothing selected: nothing happens
    EXPECT_EQ(ReadBytes(paths.PriceListIndex()), kFree);
}

TEST_F(Indexes, AFolderWithSomethingElseInItStays) {
    NewEntry(paths, settings, NameIndex::Groups, "Odd");
    WriteBytes(paths.JobFolder(1) + "Job", "");
    WriteBytes(paths.JobFolder(1) + ".hidden", "");
    DeleteEntry(paths, settings, NameIndex::Groups);
    EXPECT_FALSE(Exists(paths.JobFolder(1) + "Job"));
    EXPECT_TRUE(Exists(paths.JobFolder(1) + ".hidden"));
}

TEST_F(Indexes, ListsAreSortedAsPeopleReadThem) {
    WriteBytes(paths.GroupIndex(), Slot("beta") + kFree + Slot("Alpha") +
                                       Slot(std::string("\xC9") + "cole") +
                                       Slot("Gamma"));  // "École" in Windows-1252
    settings.CurrentGroup = 4;
    IndexColumn column = LoadIndexColumn(paths, settings, NameIndex::Groups);
    ASSERT_EQ(column.entries.size(), 4u);
    EXPECT_EQ(column.entries[0].name, "Alpha");
    EXPECT_EQ(column.entries[0].slot, 2);
    EXPECT_EQ(column.entries[1].name, "beta");
    EXPECT_EQ(column.entries[2].name, "École");  // beside E, not after z
    EXPECT_EQ(column.selected, 3);
    EXPECT_TRUE(std::filesystem::is_directory(home / "Jobs4"));  // loading makes its folder
    settings.CurrentGroup = 1;
    EXPECT_EQ(LoadIndexColumn(paths, settings, NameIndex::Groups).selected, -1);  // a free slot

    WriteBytes(paths.JobFolder(0) + "apple", "");
    WriteBytes(paths.JobFolder(0) + "Zebra", "");
    std::filesystem::create_directory(paths.JobFolder(0) + "Sub");
    EXPECT_EQ(SortedJobNames(paths.JobFolder(0)),
              (std::vector<std::string>{"apple", "My First Job Costing", "Zebra"}));
}

TEST_F(Indexes, ListingAMissingIndexCreatesNothing) {
    std::filesystem::remove(paths.GroupIndex());
    EXPECT_TRUE(SortedEntries(paths, NameIndex::Groups).empty());
    EXPECT_FALSE(Exists(paths.GroupIndex()));
}

TEST_F(Indexes, SelectingMakesAMissingFolderAgain) {
    std::filesystem::remove(home / "Lists0");
    SelectEntry(paths, settings, NameIndex::PriceLists, 0);
    EXPECT_TRUE(std::filesystem::is_directory(home / "Lists0"));
    SelectEntry(paths, settings, NameIndex::Groups, 5);
    EXPECT_EQ(ReadSettings(home.path()).CurrentGroup, 5);
}

}  // namespace
}  // namespace quantora
