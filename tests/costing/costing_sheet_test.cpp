// The costing sheet's rules without its window: the rows over Temp.job, the keys that move
// and make lines, the sub totals and the total, and what reaches the file.
#include "costing/costing_sheet.h"

#include <gtest/gtest.h>

#include "costing/job_editing.h"
#include "store/data_file.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

Amount A(const char* text) { return ParseAmount(text); }

JobLine Line(int i) {
    return {0,
            3,
            Amount::Whole(i + 1),
            "Item " + std::to_string(i),
            A("2.5"),
            SubTotal(Amount::Whole(i + 1), A("2.5"))};
}

class Sheet : public ::testing::Test {
  protected:
    // A working copy of count lines, opened as the sheet opens it.
    CostingSheet Open(int count) {
        std::string bytes;
        std::vector<JobLine> lines;
        Amount total;
        for (int i = 0; i < count; ++i) {
            lines.push_back(Line(i));
            bytes += EncodeJobLine(lines.back());
            total += lines.back().SubTot;
        }
        WriteBytes(paths.TempJob(), bytes);
        return CostingSheet(paths.TempJob(), count, lines, total);
    }

    TempFolder dir;
    DataPaths paths{dir.path(), dir.path()};
};

TEST_F(Sheet, ANewJobGrowsALineAtATime) {
    CostingSheet sheet = Open(0);
    EXPECT_EQ(sheet.SliderMaximum(), 0);
    EXPECT_FALSE(sheet.TypeQuantChar(0, U'x'));  // refused, with the error sound
    EXPECT_EQ(sheet.LineCount(), 0);
    EXPECT_TRUE(sheet.TypeQuantChar(0, U'2'));
    EXPECT_EQ(sheet.LineCount(), 1);
    sheet.SetQuantText(0, "2");
    EXPECT_EQ(sheet.KeyReleased(0, CostingSheet::ReleasedKey::Other), RowKeyOutcome::Recomputed);
    EXPECT_TRUE(sheet.Changed());
    // Enter on a line without an item asks for the pick, and the focus stays.
    sheet.DownOrEnter();
    EXPECT_EQ(sheet.KeyReleased(0, CostingSheet::ReleasedKey::EnterOrDown),
              RowKeyOutcome::AutoPick);
    EXPECT_EQ(sheet.CurrentRow(), 0);
    EXPECT_EQ(sheet.Focus(2), 0);  // two rows below the last line take no focus
    sheet.SaveSection();
    JobLine saved = ReadLine(paths.TempJob(), 0);
    EXPECT_EQ(saved.Quant, A("2"));
    EXPECT_EQ(saved.Item, "");
}

TEST_F(Sheet, TypingAQuantityWorksOutTheRowAndTheTotal) {
    CostingSheet sheet = Open(3);
    EXPECT_EQ(sheet.TotalText(), "15.00");
    EXPECT_EQ(sheet.Focus(1), 1);
    sheet.SetQuantText(1, "3.3333");
    sheet.KeyReleased(1, CostingSheet::ReleasedKey::Other);
    EXPECT_EQ(sheet.Row(1).subTot, "8.33");  // 8.33325 cut to cents
    EXPECT_EQ(sheet.TotalText(), "18.33");
    sheet.SetQuantText(1, "1");
    sheet.KeyReleased(1, CostingSheet::ReleasedKey::Other);
    EXPECT_EQ(sheet.TotalText(), "12.50");  // by the difference, not added twice
    // Any key but the few that only move or save works the row out again and is an edit,
    // though it changed no figure (an arrow in the quantity box, say).
    sheet.MarkSaved();
    EXPECT_EQ(sheet.KeyReleased(1, CostingSheet::ReleasedKey::Other), RowKeyOutcome::Recomputed);
    EXPECT_TRUE(sheet.Changed());
    sheet.MarkSaved();
    for (auto key : {CostingSheet::ReleasedKey::Control, CostingSheet::ReleasedKey::Up,
                     CostingSheet::ReleasedKey::Escape})
        EXPECT_EQ(sheet.KeyReleased(1, key), RowKeyOutcome::None);
    EXPECT_FALSE(sheet.Changed());
    sheet.SetQuantText(1, "999999999999999");
    EXPECT_THROW(sheet.KeyReleased(1, CostingSheet::ReleasedKey::Other), AmountOverflow);
}

// Opening a job shows every figure of its lines; scrolling leaves zeros empty.
TEST_F(Sheet, OpeningShowsZerosThatScrollingLeavesEmpty) {
    std::vector<JobLine> lines = {{0, 3, Amount{}, "Spare", A("2.5"), Amount{}},
                                  {1, 0, Amount::Whole(2), "Looped", Amount{}, Amount{}}};
    WriteBytes(paths.TempJob(), EncodeJobLine(lines[0]) + EncodeJobLine(lines[1]));
    CostingSheet sheet(paths.TempJob(), 2, lines, Amount{});
    EXPECT_EQ(sheet.Row(0).quant, "0");
    EXPECT_EQ(sheet.Row(0).subTot, "0.00");
    EXPECT_EQ(sheet.Row(1).quant, "2");
    EXPECT_EQ(sheet.Row(1).subTot, "0.00");
    sheet.LoadSection();
    EXPECT_EQ(sheet.Row(0).quant, "");
    EXPECT_EQ(sheet.Row(1).subTot, "");
}

TEST_F(Sheet, ALongJobScrollsUnderTheKeysAndWritesOnlyWhatChanged) {
    CostingSheet sheet = Open(45);
    EXPECT_EQ(sheet.SliderMaximum(), 26);
    EXPECT_EQ(sheet.PageStep(), 19);
    for (int i = 0; i < 19; ++i) sheet.DownOrEnter();
    EXPECT_EQ(sheet.CurrentRow(), 19);
    sheet.SetQuantText(19, "7");
    sheet.DownOrEnter();  // Enter on row 19 scrolls one line and keeps the row
    EXPECT_EQ(sheet.TopLine(), 1);
    EXPECT_EQ(sheet.CurrentRow(), 19);
    EXPECT_EQ(sheet.Row(19).item, "Item 20");
    EXPECT_EQ(ReadLine(paths.TempJob(), 19).Quant, A("7"));  // written as the rows moved
    sheet.ScrollTo(26);
    EXPECT_EQ(sheet.Row(18).item, "Item 44");
    EXPECT_EQ(sheet.Row(19).item, "");  // the new line after the last
    for (int i = 0; i < 30; ++i) sheet.DownOrEnter();
    EXPECT_EQ(sheet.TopLine(), 26);  // the last line is in sight: nothing further
    for (int i = 0; i < 60; ++i) sheet.Up();
    EXPECT_EQ(sheet.TopLine(), 0);
    EXPECT_EQ(sheet.CurrentRow(), 0);
    // A row changed and changed back is written both times.
    sheet.SetQuantText(3, "9");
    sheet.SaveSection();
    EXPECT_EQ(ReadLine(paths.TempJob(), 3).Quant, A("9"));
    sheet.SetQuantText(3, "4");
    sheet.SaveSection();
    // Only the one typed quantity changed the file.
    std::string bytes = ReadBytes(paths.TempJob());
    JobLine typed = Line(19);
    typed.Quant = A("7");
    std::string expected;
    for (int i = 0; i < 45; ++i) expected += EncodeJobLine(i == 19 ? typed : Line(i));
    EXPECT_EQ(bytes, expected);
}

TEST_F(Sheet, SortingMovesWholeRecordsAndKeepsTheTotal) {
    std::vector<JobLine> lines;
    std::string bytes;
    for (const char* name : {"beta", "Alpha", "", "gamma", "éclair", "BETA"}) {
        lines.push_back({0, 1, A("2"), name, A("1.5"), A("3")});
        bytes += EncodeJobLine(lines.back());
    }
    for (int i = 0; i < 20; ++i) {
        lines.push_back({0, 1, A("1"), "zinc " + std::to_string(i), A("1"), A("1")});
        bytes += EncodeJobLine(lines.back());
    }
    WriteBytes(paths.TempJob(), bytes);
    CostingSheet sheet(paths.TempJob(), 26, lines, A("38"));
    sheet.ScrollTo(3);
    sheet.SortLines(paths.SpareJob());
    std::vector<JobLine> sorted = ReadAllLines(paths.TempJob());
    std::vector<std::string> names;
    for (int i = 0; i < 6; ++i) names.push_back(sorted[static_cast<std::size_t>(i)].Item);
    // Names that differ only in letter case keep their order.
    EXPECT_EQ(names, (std::vector<std::string>{"", "Alpha", "beta", "BETA", "éclair", "gamma"}));
    EXPECT_EQ(sorted[1], lines[1]);  // the whole record moved
    EXPECT_EQ(sheet.TopLine(), 3);   // the window stays
    EXPECT_EQ(sheet.Row(0).item, "BETA");
    EXPECT_EQ(sheet.TotalText(), "38.00");
    EXPECT_TRUE(sheet.Changed());
}

TEST_F(Sheet, DeletingALineTakesItsSubTotalOffTheTotal) {
    CostingSheet sheet = Open(3);
    sheet.Focus(1);
    sheet.DeleteCurrentLine(paths.SpareJob());
    EXPECT_EQ(sheet.LineCount(), 2);
    EXPECT_EQ(sheet.TotalText(), "10.00");
    EXPECT_EQ(sheet.Row(1).item, "Item 2");  // the line that followed takes the row
    EXPECT_EQ(ReadBytes(paths.TempJob()), EncodeJobLine(Line(0)) + EncodeJobLine(Line(2)));
    sheet.Focus(2);  // the new line: nothing to delete
    sheet.DeleteCurrentLine(paths.SpareJob());
    EXPECT_EQ(sheet.LineCount(), 2);
    CostingSheet one = Open(1);
    one.DeleteCurrentLine(paths.SpareJob());
    EXPECT_EQ(ReadBytes(paths.TempJob()), "");
    EXPECT_EQ(one.TotalText(), "0.00");
}

TEST_F(Sheet, SaveAndSaveAs) {
    EnsureFolder(paths.JobFolder(0));
    WriteBytes(paths.JobFolder(0) + "Shed", EncodeJobLine(Line(0)));
    WriteBytes(paths.JobFolder(0) + "Porch", "");
    WriteBytes(paths.TempJob(), "the working copy of the job opened before");
    OpenJob shed = OpenJobForEditing(paths, paths.JobFolder(0), "SHED");
    EXPECT_EQ(shed.name, "Shed");
    EXPECT_FALSE(Exists(paths.TempJob()));
    WriteBytes(paths.TempJob(), EncodeJobLine(Line(1)));
    SaveJob(paths, shed);
    EXPECT_EQ(ReadBytes(paths.JobFolder(0) + "Shed"), EncodeJobLine(Line(1)));

    for (const char* refused : {"shed", " porch ", "Shed"})
        EXPECT_EQ(SaveJobAs(paths, shed, refused).refusal,
                  "This name already exists - Please choose another.   ");
    EXPECT_EQ(SaveJobAs(paths, shed, "..*?").refusal, kSaveAsNameUnusable);
    SaveAsAnswer copy = SaveJobAs(paths, shed, "  ..a/b:c ");
    EXPECT_TRUE(copy.done);
    EXPECT_EQ(copy.shownName, "..a/b:c");
    EXPECT_EQ(copy.job.name, "abc");
    EXPECT_EQ(ReadBytes(paths.JobFolder(0) + "abc"), EncodeJobLine(Line(1)));
    EXPECT_TRUE(SaveJobAs(paths, shed, "").done);  // nothing typed: "Untitled"
    EXPECT_TRUE(Exists(paths.JobFolder(0) + "Untitled"));
}

}  // namespace
}  // namespace quantora
