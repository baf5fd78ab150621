// The management window's rules without the window: the menus' captions and states, and
// what each name from the dialog and each delete leads to.
#include <gtest/gtest.h>

#include "manage/entry_operations.h"
#include "manage/menu_captions.h"
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

class Steps : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = ReadSettings(home.path());
        paths = SetUpDataFolder(home.path(), settings).paths;
    }
    TempFolder home;
    Settings settings;
    DataPaths paths;
};

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

}  // namespace
}  // namespace quantora
