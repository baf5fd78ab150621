// The management window's rules without the window: the menus' captions and states, and
// what each name from the dialog and each delete leads to.
#include <gtest/gtest.h>

#include "first_run_folder.h"
#include "manage/entry_operations.h"
#include "manage/job_operations.h"
#include "manage/menu_captions.h"
#include "store/data_file.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

TEST(Menus, ItemsNameTheSelectionOrArePlainAndDisabled) {
    GroupMenuState groups = GroupMenuItems("Decks", 2);
    EXPECT_EQ(groups.rename.caption, "Rename....    Decks");
    EXPECT_EQ(groups.remove.caption, "Delete......    Decks");
    EXPECT_TRUE(groups.remove.enabled);
    EXPECT_FALSE(GroupMenuItems("Decks", 1).remove.enabled);  // the last group stays
    EXPECT_EQ(GroupMenuItems("", 2).rename.caption, "Rename");
    EXPECT_FALSE(GroupMenuItems("", 2).rename.enabled);

    PriceListMenuState lists = PriceListMenuItems("Timber");
    EXPECT_EQ(lists.open.caption, "Open.........    Timber");
    EXPECT_EQ(lists.rename.caption, "Rename......    Timber");
    EXPECT_EQ(lists.remove.caption, "Delete........    Timber");
    EXPECT_TRUE(lists.remove.enabled);  // the last list may go

    JobMenuState jobs = JobMenuItems("Shed", JobClipboard{}, 0);
    EXPECT_EQ(jobs.open.caption, "Open......    Shed");
    EXPECT_EQ(jobs.rename.caption, "Rename...    Shed");
    EXPECT_EQ(jobs.cut.caption, "Cut........     Shed");
    EXPECT_EQ(jobs.copy.caption, "Copy......     Shed");
    EXPECT_EQ(jobs.remove.caption, "Delete.....    Shed");
    EXPECT_EQ(jobs.paste.caption, "Paste");
    EXPECT_FALSE(jobs.paste.enabled);
    EXPECT_FALSE(JobMenuItems("", JobClipboard{}, 0).cut.enabled);
}

TEST(Menus, PasteIsOfferedInEveryGroupButTheSource) {
    JobClipboard clip{JobClipboard::State::Cut, 3, "Porch"};
    EXPECT_FALSE(JobMenuItems("", clip, 3).paste.enabled);
    JobMenuState elsewhere = JobMenuItems("", clip, 0);
    EXPECT_TRUE(elsewhere.paste.enabled);
    EXPECT_EQ(elsewhere.paste.caption, "Paste......    Porch");
}

using Steps = FirstRunFolder;

TEST_F(Steps, ARefusedNameSaysWhyAndWritesNothing) {
    std::string before = ReadBytes(paths.GroupIndex());
    NameAnswer same = NewEntryNamed(paths, settings, NameIndex::Groups, "MY FIRST GROUP ");
    EXPECT_FALSE(same.done);
    EXPECT_EQ(same.refusal, "Name already exists - Please enter another.    ");
    // A rename to its own name, or a case variant of it, is refused the same way.
    EXPECT_FALSE(RenameEntryTo(paths, settings, NameIndex::Groups, "my first group").done);
    EXPECT_EQ(ReadBytes(paths.GroupIndex()), before);
    EXPECT_TRUE(NewEntryNamed(paths, settings, NameIndex::PriceLists, "Timber").done);
}

TEST_F(Steps, DeleteQuestionsAndTheKeyLatch) {
    EXPECT_EQ(DeleteEntryQuestion(NameIndex::Groups, "Decks"),
              "Are you sure you want to delete Decks    \n\nAnd all its contents?    ");
    EXPECT_EQ(DeleteEntryQuestion(NameIndex::PriceLists, "Timber"),
              "Are you sure you want to delete    \n\nTimber    ");
    EXPECT_TRUE(MessagesLatchKeys(NameIndex::Groups));
    EXPECT_FALSE(MessagesLatchKeys(NameIndex::PriceLists));
}

TEST_F(Steps, JobNamesAreCleanedAndNeverDuplicated) {
    std::string group = paths.JobFolder(0);
    JobNameAnswer made = NewJob(group, "..Porch: stage 2?");
    EXPECT_TRUE(made.done);
    EXPECT_EQ(made.name, "Porch stage 2");
    EXPECT_EQ(ReadBytes(group + "Porch stage 2"), "");
    // A case variant, a name that cleans to nothing, and the job's own name are refused.
    for (const char* refused : {"porch STAGE 2", "...", "My First Job Costing"}) {
        JobNameAnswer answer = RenameJob(group, "My First Job Costing", refused);
        EXPECT_FALSE(answer.done) << refused;
        EXPECT_EQ(answer.refusal, "Duplicate Name! - Please choose another.    ");
    }
    WriteBytes(group + "Porch stage 2", "lines");
    EXPECT_TRUE(RenameJob(group, "porch stage 2", "Deck").done);
    EXPECT_EQ(ReadBytes(group + "Deck"), "lines");
    EXPECT_FALSE(Exists(group + "Porch stage 2"));
    EXPECT_EQ(DeleteJobQuestion("Deck"), "Are you sure you want to delete   \n\nDeck    ");
    DeleteJob(group, "DECK");
    EXPECT_FALSE(Exists(group + "Deck"));
}

TEST_F(Steps, TheSelectorLeavesOutTheOpenJobInItsOwnGroupOnly) {
    WriteBytes(paths.JobFolder(0) + "Porch", "");
    EXPECT_EQ(JobsToInclude(paths.JobFolder(0), true, "my first job costing"),
              std::vector<std::string>{"Porch"});
    EXPECT_EQ(JobsToInclude(paths.JobFolder(0), false, "My First Job Costing"),
              (std::vector<std::string>{"My First Job Costing", "Porch"}));
}

TEST_F(Steps, ACutJobMovesOnPasteACopiedOneStays) {
    EnsureFolder(paths.JobFolder(1));
    EnsureFolder(paths.JobFolder(2));
    WriteBytes(paths.JobFolder(0) + "Shed", "shed lines");
    JobClipboard clip;
    PutOnClipboard(paths, 0, "Shed", JobClipboard::State::Cut, clip);
    EXPECT_EQ(ReadBytes(paths.ClipJob()), "shed lines");
    EXPECT_TRUE(Exists(paths.JobFolder(0) + "Shed"));  // until it is pasted
    EXPECT_EQ(PasteQuestion(paths.JobFolder(1), clip), std::nullopt);
    PasteJob(paths, 1, clip);
    EXPECT_EQ(ReadBytes(paths.JobFolder(1) + "Shed"), "shed lines");
    EXPECT_FALSE(Exists(paths.JobFolder(0) + "Shed"));
    PasteJob(paths, 2, clip);  // again elsewhere: the source is gone already, no error
    EXPECT_EQ(ReadBytes(paths.JobFolder(2) + "Shed"), "shed lines");

    WriteBytes(paths.JobFolder(1) + "Shed", "changed");
    PutOnClipboard(paths, 1, "Shed", JobClipboard::State::Copied, clip);
    WriteBytes(paths.JobFolder(0) + "SHED", "older");
    EXPECT_EQ(PasteQuestion(paths.JobFolder(0), clip),
              "Shed already exists in this group   \n\nDo you want to overwrite it?   ");
    PasteJob(paths, 0, clip);
    EXPECT_EQ(ReadBytes(paths.JobFolder(0) + "SHED"), "changed");  // the one there is overwritten
    EXPECT_FALSE(Exists(paths.JobFolder(0) + "Shed"));
    EXPECT_EQ(ReadBytes(paths.JobFolder(1) + "Shed"), "changed");
}

}  // namespace
}  // namespace quantora
