#include "manage/name_rules.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

TEST(NameRules, TheDialogTrimsAndNeverAnswersEmpty) {
    EXPECT_EQ(NameFromDialog("  Kitchen refit  "), "Kitchen refit");
    EXPECT_EQ(NameFromDialog("   "), "Untitled");
    EXPECT_EQ(NameFromDialog(""), "Untitled");
}

TEST(NameRules, JobNamesLoseWhatAFileNameCannotHold) {
    EXPECT_EQ(CleanJobName("..Shed"), "Shed");
    EXPECT_EQ(CleanJobName("What? Now: yes"), "What Now yes");
    EXPECT_EQ(CleanJobName("a/b:c"), "abc");
    EXPECT_EQ(CleanJobName("\"Quoted\""), "Quoted");
    EXPECT_EQ(CleanJobName("Deck . stairs"), "Deck . stairs");
    EXPECT_EQ(CleanJobName("..."), std::nullopt);
    EXPECT_EQ(CleanJobName("./*"), std::nullopt);
    EXPECT_EQ(CleanJobName("tick ✓"), std::nullopt);
}

TEST(NameRules, CleanedNamesNeverStartWithAStopOrBlankNorEndWithABlank) {
    // A trailing blank would be lost in a job line, which would then no longer find the job.
    EXPECT_EQ(CleanJobName("Porch :"), "Porch");
    EXPECT_EQ(CleanJobName("*.hidden"), "hidden");
    EXPECT_EQ(CleanJobName(". . Roof"), "Roof");
}

TEST(NameRules, SaveAsNames) {
    EXPECT_EQ(CleanSaveAsName(""), "Untitled");
    EXPECT_EQ(CleanSaveAsName("  ..Copy of shed "), "Copy of shed");
    EXPECT_EQ(CleanSaveAsName("Say \"when\""), "Say \"when\"");  // Save As keeps quotes
    EXPECT_EQ(CleanSaveAsName("?:*"), std::nullopt);
    EXPECT_EQ(CleanSaveAsName(std::string(70, 'x') + "*"), std::string(70, 'x'));
    EXPECT_EQ(CleanSaveAsName(std::string(71, 'x')), std::nullopt);
}

TEST(NameRules, TypedCharacters) {
    for (char32_t c : std::u32string(U"/\\<>?*:|")) EXPECT_FALSE(IsAllowedInSaveAsName(c));
    EXPECT_TRUE(IsAllowedInSaveAsName(U'"'));
    EXPECT_TRUE(IsAllowedInSaveAsName(U'€'));
    EXPECT_FALSE(IsAllowedInSaveAsName(U'✓'));
}

}  // namespace
}  // namespace quantora
