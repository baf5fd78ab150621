// The grid of rows over a longer list, as the arrow keys and the slider move it.
#include "services/row_window.h"

#include <gtest/gtest.h>

namespace quantora {
namespace {

TEST(RowWindow, TheSliderCoversWhatTheRowsCannotShow) {
    RowWindow rows(16, 16);
    EXPECT_EQ(rows.SliderMaximum(), 0);
    rows.SetEntries(17);
    EXPECT_EQ(rows.SliderMaximum(), 1);
    EXPECT_EQ(rows.PageStep(), 15);
    EXPECT_EQ(rows.ScrollTo(5), RowMove::Scrolled);
    EXPECT_EQ(rows.Top(), 1);  // clamped to the range
    rows.SetEntries(3);        // the list shrank: the view follows
    EXPECT_EQ(rows.Top(), 0);
    EXPECT_EQ(rows.EntryAt(2), 2);
    EXPECT_EQ(rows.EntryAt(3), -1);
    EXPECT_FALSE(rows.Choose(3));  // an empty row takes no cursor
    EXPECT_TRUE(rows.Choose(2));
    EXPECT_EQ(rows.CurrentEntry(), 2);
}

TEST(RowWindow, DownOnTheLastRowScrollsUntilTheLastEntryShows) {
    RowWindow rows(16, 40);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(rows.Down(), RowMove::Cursor);
    EXPECT_EQ(rows.Current(), 15);
    EXPECT_EQ(rows.Down(), RowMove::Scrolled);
    EXPECT_EQ(rows.Current(), 15);
    EXPECT_EQ(rows.Top(), 1);
    for (int i = 0; i < 30; ++i) rows.Down();
    EXPECT_EQ(rows.Top(), 24);
    EXPECT_EQ(rows.CurrentEntry(), 39);
    EXPECT_EQ(rows.Down(), RowMove::None);

    for (int i = 0; i < 15; ++i) EXPECT_EQ(rows.Up(), RowMove::Cursor);
    EXPECT_EQ(rows.Up(), RowMove::Scrolled);
    EXPECT_EQ(rows.Top(), 23);
    EXPECT_EQ(rows.Current(), 0);
}

TEST(RowWindow, AShortListStopsTheCursorAtItsEnd) {
    RowWindow rows(20, 3);
    for (int i = 0; i < 5; ++i) rows.Down();
    EXPECT_EQ(rows.Current(), 2);
    EXPECT_EQ(rows.Top(), 0);
    RowWindow empty(16);
    EXPECT_EQ(empty.Down(), RowMove::None);
    EXPECT_EQ(empty.Up(), RowMove::None);
}

}  // namespace
}  // namespace quantora
