#include "manage/group_operations.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/data_file.h"
#include "temp_folder.h"

namespace quantora {
namespace {

using testing::Exists;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string Slot(const std::string& name) { return name + std::string(70 - name.size(), ' '); }

class Groups : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = ReadSettings(home.path());
        paths = SetUpDataFolder(home.path(), settings).paths;
    }
    TempFolder home;
    Settings settings;
    DataPaths paths;
};

TEST_F(Groups, ANewGroupTakesTheLastFreeSlotAndItsFolder) {
    WriteBytes(paths.GroupIndex(), Slot("Alpha") + std::string(70, ' ') + Slot("Beta"));
    NewSlotResult gamma = NewGroup(paths, settings, "Gamma");
    ASSERT_EQ(gamma.outcome, SlotChange::Done);
    EXPECT_EQ(gamma.slot, 1);
    EXPECT_EQ(settings.CurrentGroup, 1);
    EXPECT_EQ(ReadSettings(home.path()).CurrentGroup, 1);
    EXPECT_TRUE(std::filesystem::is_directory(home / "Jobs1"));
}

TEST_F(Groups, DuplicatesChangeNothing) {
    std::string before = ReadBytes(paths.GroupIndex());
    EXPECT_EQ(NewGroup(paths, settings, "my first GROUP").outcome, SlotChange::Duplicate);
    EXPECT_EQ(RenameGroup(paths, settings, "My First Group"), SlotChange::Duplicate);
    EXPECT_EQ(ReadBytes(paths.GroupIndex()), before);
    EXPECT_EQ(settings.CurrentGroup, 0);
}

TEST_F(Groups, RenameKeepsTheSlotAndTheJobs) {
    EXPECT_EQ(RenameGroup(paths, settings, "Kitchens"), SlotChange::Done);
    EXPECT_EQ(ReadBytes(paths.GroupIndex()), Slot("Kitchens"));
    EXPECT_EQ(SortedJobNames(paths.JobFolder(0)), std::vector<std::string>{"My First Job Costing"});
}

TEST_F(Groups, DeletingRemovesTheJobsAndTheFolderAndSelectsNothing) {
    NewGroup(paths, settings, "Bathrooms");
    WriteBytes(paths.JobFolder(1) + "Tiles", "");
    WriteBytes(paths.JobFolder(1) + "Shower", "");
    DeleteGroup(paths, settings);
    EXPECT_FALSE(Exists(home / "Jobs1"));
    EXPECT_EQ(ReadBytes(paths.GroupIndex()), Slot("My First Group") + std::string(70, ' '));
    EXPECT_EQ(settings.CurrentGroup, kNoneSelected);
    EXPECT_EQ(SelectedEntry(SortedEntries(paths.GroupIndex()), settings.CurrentGroup), nullptr);
    // The next new group reuses the freed slot.
    EXPECT_EQ(NewGroup(paths, settings, "Decks").slot, 1);
}

TEST_F(Groups, AFolderWithSomethingElseInItStays) {
    NewGroup(paths, settings, "Odd");
    WriteBytes(paths.JobFolder(1) + "Job", "");
    WriteBytes(paths.JobFolder(1) + ".hidden", "");
    DeleteGroup(paths, settings);
    EXPECT_FALSE(Exists(paths.JobFolder(1) + "Job"));
    EXPECT_TRUE(Exists(paths.JobFolder(1) + ".hidden"));
}

TEST_F(Groups, ListsAreSortedWithoutRegardToCase) {
    WriteBytes(paths.GroupIndex(),
               Slot("beta") + std::string(70, ' ') + Slot("Alpha") + Slot("Gamma"));
    std::vector<NamedSlot> entries = SortedEntries(paths.GroupIndex());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Alpha");
    EXPECT_EQ(entries[0].slot, 2);
    EXPECT_EQ(entries[1].name, "beta");
    EXPECT_EQ(entries[2].slot, 3);
    EXPECT_EQ(SelectedEntry(entries, 3)->name, "Gamma");
    EXPECT_EQ(SelectedEntry(entries, 1), nullptr);  // a free slot selects nothing

    WriteBytes(paths.JobFolder(0) + "apple", "");
    WriteBytes(paths.JobFolder(0) + "Zebra", "");
    std::filesystem::create_directory(paths.JobFolder(0) + "Sub");
    EXPECT_EQ(SortedJobNames(paths.JobFolder(0)),
              (std::vector<std::string>{"apple", "My First Job Costing", "Zebra"}));
}

TEST_F(Groups, SelectingAPriceListMakesItsFolder) {
    std::filesystem::remove(home / "Lists0");
    SelectPriceList(paths, settings, 0);
    EXPECT_TRUE(std::filesystem::is_directory(home / "Lists0"));
    SelectGroup(paths, settings, 5);
    EXPECT_EQ(ReadSettings(home.path()).CurrentGroup, 5);
}

}  // namespace
}  // namespace quantora
