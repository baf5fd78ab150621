// A desk that only reads a data folder: how it watches the hold without writing, what its
// caption says, where its settings and working files go, and that pricing a costing there
// writes nothing in the folder.
#include "datafolder/read_only_desk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "costing/pricing.h"
#include "desk_traffic.h"
#include "folder_tree.h"
#include "other_desk.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

TEST(ReadOnlyDesk, TheHoldIsWatchedWithoutWritingAndSeenFreeHoweverItsDeskEnded) {
    TempFolder shared;
    EXPECT_FALSE(LookAtHold(shared.path(), "counter").held);
    {
        OtherDesk front(shared.path());
        ASSERT_TRUE(front.Held());
        auto before = TreeOf(shared.path());
        HoldLook seen = LookAtHold(shared.path(), "counter");
        EXPECT_TRUE(seen.held);
        ASSERT_TRUE(seen.holder.has_value());
        EXPECT_EQ(seen.holder->user, "anne");
        EXPECT_EQ(seen.holder->computer, "front-desk");
        EXPECT_EQ(TreeOf(shared.path()), before);
        // Killed, it leaves its note behind, and holds nothing.
        front.Kill();
        ASSERT_TRUE(Exists(shared / kDeskHoldFileName));
        EXPECT_FALSE(LookAtHold(shared.path(), "counter").held);
    }
    // A desk of this very program holds it as any other, and lets it go on closing.
    DeskHold here;
    ASSERT_EQ(here.Take(shared.path(), ThisDesk()).outcome, DeskHold::Outcome::Held);
    EXPECT_TRUE(LookAtHold(shared.path(), "counter").held);
    here.Release();
    EXPECT_FALSE(LookAtHold(shared.path(), "counter").held);
}

TEST(ReadOnlyDesk, TheCaptionSaysWhoWorksInTheFolder) {
    std::string caption = " Quantora           Monday  7th Dec 26   8:05";
    HoldLook byAnne{true, Desk("front-desk", 12)};
    EXPECT_EQ(ReadOnlyCaption(caption, byAnne),
              caption + " (read only: in use by anne on front-desk)");
    EXPECT_EQ(ReadOnlyCaption(caption, {true, std::nullopt}),
              caption + " (read only: in use on another computer)");
    EXPECT_EQ(ReadOnlyCaption(caption, {}), caption + " (read only)");
    EXPECT_NE(FolderFreeQuestion("/srv/shop/", byAnne)
                  .find("anne on the computer front-desk has "
                        "closed the data folder /srv/shop."),
              std::string::npos);
}

TEST(ReadOnlyDesk, ItsSettingsAreKeptApartAndABadCopyGivesTheRecordsOwn) {
    Settings record;
    record.CurrentGroup = 3;
    Settings chosen = record;
    chosen.CurrentGroup = 7;
    chosen.CurrentList = 2;
    chosen.PrintFontSize = 12;
    std::string kept = KeptSettingsText(chosen);
    EXPECT_EQ(kept.size(), 48u);
    EXPECT_EQ(ReadOnlySettings(kept, record), chosen);
    EXPECT_EQ(ReadOnlySettings("", record), record);
    EXPECT_EQ(ReadOnlySettings(kept.substr(2), record), record);
    EXPECT_EQ(ReadOnlySettings("zz" + kept.substr(2), record), record);
    Settings otherVersion = chosen;
    otherVersion.Version = "9.99";
    EXPECT_EQ(ReadOnlySettings(KeptSettingsText(otherVersion), record), record);
    // A field out of its range is mended as the record's own would be.
    Settings odd = chosen;
    odd.PrintOrientation = 9;
    EXPECT_EQ(ReadOnlySettings(KeptSettingsText(odd), record), RepairSettings(odd));
}

// Pricing a costing as a reading desk: the prices are the folder's as they stand, the working
// copy lies in the desk's own folder, and nothing in the data folder changes. The same pricing
// by the desk that works there writes the included job anew, replacing it whole.
TEST(ReadOnlyDesk, PricingReadsTheFolderAndWritesOnlyTheDesksOwnWorkingCopy) {
    TempFolder data, own;
    DataPaths working{data.path(), data.path()};
    SetUpTrafficFolder(working);
    WriteItemPrice(working.ListFolder(0), PartName(0), Amount::Whole(50));
    DataPaths reading = ReadOnlyPaths(working, own / "work/", own / "docs/");
    EnsureFolder(reading.WorkFolder());
    EXPECT_EQ(reading.TempJob(), own / "work/Temp.job");
    EXPECT_EQ(reading.ClipJob(), own / "work/Clip.job");
    EXPECT_EQ(reading.QuoteFolder(), own / "docs/Quantora Quotes/");

    OpenJob whole{"Whole", working.JobFolder(0) + "Whole"};
    PricingObserver quiet;
    auto before = TreeOf(data.path());
    ReloadResult read = Reload(reading, whole, quiet);
    EXPECT_EQ(TreeOf(data.path()), before);
    ASSERT_EQ(read.lines.size(), 1u);
    ReloadResult worked = Reload(working, whole, quiet);
    EXPECT_EQ(read.total, worked.total);
    EXPECT_EQ(DecodeJobFile(ReadBytes(own / "work/Temp.job")), read.lines);

    std::string estimate = working.JobFolder(0) + kEstimate;
    EXPECT_EQ(DecodeJobFile(ReadBytes(estimate))[0].Price, Amount::Whole(50));
    EXPECT_NE(TreeOf(data.path())[estimate].inode, before[estimate].inode)
        << "the included job was written in place, where a reading desk could read it half done";

    RemoveReadOnlyWorkFolder(reading.WorkFolder());
    EXPECT_FALSE(Exists(own / "work"));
}

}  // namespace
}  // namespace quantora
