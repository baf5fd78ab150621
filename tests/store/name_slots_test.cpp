#include "store/name_slots.h"

#include <gtest/gtest.h>

#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

const std::string kFree(70, ' ');

TEST(NameSlots, UsedSlotsKeepTheirNumbers) {
    TempFolder dir;
    WriteBytes(dir / "Groups.dat", Slot("Alpha") + kFree + Slot("Beta"));
    std::vector<NamedSlot> used = UsedSlots(dir / "Groups.dat");
    ASSERT_EQ(used.size(), 2u);
    EXPECT_EQ(used[0].name, "Alpha");
    EXPECT_EQ(used[0].slot, 0);
    EXPECT_EQ(used[1].name, "Beta");
    EXPECT_EQ(used[1].slot, 2);
}

TEST(NameSlots, ANewEntryTakesTheLastFreeSlot) {
    TempFolder dir;
    WriteBytes(dir / "Groups.dat", Slot("Alpha") + kFree + Slot("Beta"));
    NewSlotResult gamma = AddSlot(dir / "Groups.dat", "Gamma");
    EXPECT_EQ(gamma.outcome, SlotChange::Done);
    EXPECT_EQ(gamma.slot, 1);
    EXPECT_EQ(ReadBytes(dir / "Groups.dat"), Slot("Alpha") + Slot("Gamma") + Slot("Beta"));

    WriteBytes(dir / "Lists.dat", Slot("A") + kFree + Slot("B") + kFree + Slot("C"));
    EXPECT_EQ(AddSlot(dir / "Lists.dat", "D").slot, 3);
}

TEST(NameSlots, WithNoFreeSlotTheFileGrowsBySeventyBytes) {
    TempFolder dir;
    WriteBytes(dir / "Groups.dat", Slot("Alpha"));
    EXPECT_EQ(AddSlot(dir / "Groups.dat", "Beta").slot, 1);
    EXPECT_EQ(ReadBytes(dir / "Groups.dat"), Slot("Alpha") + Slot("Beta"));
    EXPECT_EQ(AddSlot(dir / "Empty.dat", "First").slot, 0);
}

TEST(NameSlots, DuplicatesAreRefusedWhateverTheirCase) {
    TempFolder dir;
    std::string original = Slot("Alpha") + kFree + Slot("Beta");
    WriteBytes(dir / "Groups.dat", original);
    EXPECT_EQ(AddSlot(dir / "Groups.dat", "alpha").outcome, SlotChange::Duplicate);
    EXPECT_EQ(AddSlot(dir / "Groups.dat", "BETA  ").outcome, SlotChange::Duplicate);
    EXPECT_EQ(RenameSlot(dir / "Groups.dat", 0, "Alpha"), SlotChange::Duplicate);
    EXPECT_EQ(RenameSlot(dir / "Groups.dat", 0, "ALPHA"), SlotChange::Duplicate);
    EXPECT_EQ(RenameSlot(dir / "Groups.dat", 0, "beta"), SlotChange::Duplicate);
    EXPECT_EQ(ReadBytes(dir / "Groups.dat"), original);
}

TEST(NameSlots, RenameAndDeleteWorkInPlace) {
    TempFolder dir;
    WriteBytes(dir / "Groups.dat", Slot("Alpha") + Slot("Beta"));
    EXPECT_EQ(RenameSlot(dir / "Groups.dat", 1, "Delta"), SlotChange::Done);
    DeleteSlot(dir / "Groups.dat", 0);
    EXPECT_EQ(ReadBytes(dir / "Groups.dat"), kFree + Slot("Delta"));
    EXPECT_EQ(UsedSlots(dir / "Groups.dat").front().slot, 1);
    EXPECT_THROW(DeleteSlot(dir / "Groups.dat", -2), std::out_of_range);
}

TEST(NameSlots, NamesAreStoredInWindows1252AndMustFit) {
    TempFolder dir;
    EXPECT_EQ(AddSlot(dir / "g.dat", "Café €").outcome, SlotChange::Done);
    EXPECT_EQ(ReadBytes(dir / "g.dat"), Slot("Caf\xE9 \x80"));
    EXPECT_EQ(UsedSlots(dir / "g.dat").front().name, "Café €");
    EXPECT_EQ(AddSlot(dir / "g.dat", "CAFÉ €").outcome, SlotChange::Duplicate);
    EXPECT_EQ(AddSlot(dir / "g.dat", "tick ✓").outcome, SlotChange::BadName);
    EXPECT_EQ(AddSlot(dir / "g.dat", std::string(71, 'x')).outcome, SlotChange::BadName);
    EXPECT_EQ(AddSlot(dir / "g.dat", std::string(70, 'x')).outcome, SlotChange::Done);
    EXPECT_EQ(ReadBytes(dir / "g.dat").size(), 140u);
}

TEST(NameSlots, AShortPieceAtTheEndIsAFreeSlot) {
    TempFolder dir;
    WriteBytes(dir / "g.dat", Slot("Alpha") + "Bro");
    EXPECT_EQ(UsedSlots(dir / "g.dat").size(), 1u);
    EXPECT_EQ(AddSlot(dir / "g.dat", "Beta").slot, 1);
    EXPECT_EQ(ReadBytes(dir / "g.dat"), Slot("Alpha") + Slot("Beta"));
}

TEST(NameSlots, SlotsBeyondSixteenBitsAreRefused) {
    TempFolder dir;
    std::string full;
    for (int i = 0; i < kMaxSlots; ++i) full += Slot("G" + std::to_string(i));
    WriteBytes(dir / "g.dat", full);
    EXPECT_EQ(AddSlot(dir / "g.dat", "One more").outcome, SlotChange::Full);
    EXPECT_EQ(ReadBytes(dir / "g.dat").size(), full.size());
    DeleteSlot(dir / "g.dat", 469);
    EXPECT_EQ(AddSlot(dir / "g.dat", "One more").slot, 469);
}

}  // namespace
}  // namespace quantora
