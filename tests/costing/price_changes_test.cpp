// What an opening's repricing changed since the costing was saved: the changed lines of the
// open job and of every job it includes, level by level, with their old values, the largest
// effect first, and the note the sheet shows.
#include "costing/price_changes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "costing/job_file.h"
#include "costing/price_changes_print.h"
#include "pricelists/item_file.h"
#include "store/data_file.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

Amount A(const char* text) { return ParseAmount(text); }

class PriceChanges : public ::testing::Test {
  protected:
    void Item(const std::string& name, const char* price) {
        EnsureFolder(paths.ListFolder(0));
        WriteItemPrice(paths.ListFolder(0), name, A(price));
    }
    // A saved job of group 0, its lines priced as they were when it was saved.
    void Job(const std::string& name, const std::vector<JobLine>& lines) {
        EnsureFolder(paths.JobFolder(0));
        std::string bytes;
        for (const JobLine& line : lines) bytes += EncodeJobLine(line);
        WriteBytes(paths.JobFolder(0) + name, bytes);
    }
    static JobLine Line(const std::string& item, const char* quant, const char* price,
                        bool job = false) {
        return {static_cast<std::int16_t>(job ? 1 : 0),
                0,
                A(quant),
                item,
                A(price),
                SubTotal(A(quant), A(price))};
    }
    ReloadResult Open(const std::string& name) {
        return Reload(paths, {name, paths.JobFolder(0) + name}, observer);
    }
    static std::vector<std::string> Listed(const std::vector<ChangedLine>& lines) {
        std::vector<std::string> listed;
        for (const ChangedLine& line : lines)
            listed.push_back(line.now.Item + " " + AmountText(line.oldPrice) + ">" +
                             AmountText(line.now.Price) + " " + MoneyText(line.SubTotChange()));
        return listed;
    }

    TempFolder dir;
    DataPaths paths{dir.path(), dir.path()};
    PricingObserver observer;
};

TEST_F(PriceChanges, NothingChangedSaysNothing) {
    Item("Nails", "1");
    Job("Shed", {Line("Nails", "3", "1")});
    ReloadResult opened = Open("Shed");
    EXPECT_TRUE(opened.changes.empty());
    EXPECT_TRUE(opened.included.empty());
    EXPECT_EQ(opened.savedTotal, A("3"));
}

// House includes Wall; Wall's brick and House's own sand went up, its nails down.
TEST_F(PriceChanges, TheChangedLinesOfTheJobAndOfTheJobsItIncludesLevelByLevel) {
    Item("Brick", "0.50");
    Item("Sand", "3");
    Item("Nails", "1");
    Item("Paint", "10");
    Job("Wall", {Line("Brick", "100", "0.50"), Line("Paint", "1", "10")});
    Job("House", {Line("Wall", "2", "60", true), Line("Sand", "10", "3"), Line("Nails", "4", "1"),
                  Line("Paint", "3", "10")});
    Item("Brick", "0.55");
    Item("Sand", "3.10");
    Item("Nails", "0.90");

    ReloadResult opened = Open("House");
    EXPECT_EQ(opened.savedTotal, A("184"));
    EXPECT_EQ(opened.total, A("194.60"));
    // Wall: 2 x (60 -> 65) = +10.00; sand +1.00; nails -0.40; paint unchanged.
    std::vector<ChangedLine> changed = ChangedLines(opened.lines, opened.changes);
    EXPECT_EQ(Listed(changed),
              (std::vector<std::string>{"Wall 60.00>65.00 10.00", "Sand 3.00>3.10 1.00",
                                        "Nails 1.00>0.90 -.40"}));
    EXPECT_EQ(changed[0].line, 0);
    // Wall's own change, one level down, with its old and new total.
    const JobPriceChanges* wall = IncludedChanges(opened, paths, opened.lines[0]);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(Listed(ChangedLines(wall->lines, wall->changes)),
              std::vector<std::string>{"Brick 0.50>0.55 5.00"});
    EXPECT_EQ(wall->savedTotal, A("60"));
    EXPECT_EQ(wall->total, A("65"));
    EXPECT_EQ(IncludedChanges(opened, paths, opened.lines[1]), nullptr);  // an item

    // Why: the list's history says how Sand came to 3.10; of Nails it knows nothing.
    AppendPriceHistory(paths.ListFolder(0),
                       {{1796000000, PriceSource::Imported, "sand", A("3"), A("3.10"), "Mill.csv"}},
                       false);
    PriceReasons reasons(paths);
    EXPECT_EQ(reasons.Why(changed[1].now).rfind("imported from Mill.csv on ", 0), 0u);
    EXPECT_EQ(reasons.Why(changed[2].now), "");
    EXPECT_EQ(reasons.Why(changed[0].now), "");  // a job

    EXPECT_EQ(PriceChangeNote(changed.size(), opened.savedTotal, opened.total),
              "Prices changed since last saved: 3 lines; total 184.00 \u2192 194.60 (+5.8 %)");
}

TEST_F(PriceChanges, TheNoteWithoutASavedTotalToCompare) {
    EXPECT_EQ(PriceChangeNote(1, A("0"), A("12.5")),
              "Prices changed since last saved: 1 line; total 0.00 \u2192 12.50");
    EXPECT_EQ(PriceChangeNote(2, std::nullopt, A("1234.5")),
              "Prices changed since last saved: 2 lines; total now 1,234.50");
    EXPECT_EQ(PriceChangeNote(1, A("-100"), A("-90")),
              "Prices changed since last saved: 1 line; total -100.00 \u2192 -90.00 (+10.0 %)");
}

// What the sheet says as a job opens, with and without a quote to compare with.
TEST(OpeningNotes, TheSavesNoteAndTheQuotesJoinOrStandAlone) {
    EXPECT_EQ(OpeningNote(0, A("10"), A("10"), std::nullopt), std::nullopt);
    EXPECT_EQ(OpeningNote(1, A("10"), A("11"), std::nullopt),
              "Prices changed since last saved: 1 line; total 10.00 \u2192 11.00 (+10.0 %)");
    EXPECT_EQ(OpeningNote(1, A("10"), A("11"), "cost +2.0 % since the quote of 1 May 2026"),
              "Prices changed since last saved: 1 line; total 10.00 \u2192 11.00 (+10.0 %); "
              "cost +2.0 % since the quote of 1 May 2026");
    EXPECT_EQ(OpeningNote(0, A("11"), A("11"), "cost +2.0 % since the quote of 1 May 2026"),
              "Cost +2.0 % since the quote of 1 May 2026");
}

// A job reached through a job it includes, two levels down, is found by the line naming it,
// whatever the letter case.
TEST_F(PriceChanges, TwoLevelsDownByTheLineThatNamesIt) {
    Item("Brick", "1");
    Job("Wall", {Line("Brick", "10", "1")});
    Job("Pier", {Line("wall", "1", "10", true)});
    Job("Dock", {Line("PIER", "3", "10", true)});
    Item("Brick", "2");
    ReloadResult opened = Open("Dock");
    ASSERT_EQ(opened.changes.size(), 1u);
    const JobPriceChanges* pier = IncludedChanges(opened, paths, opened.lines[0]);
    ASSERT_NE(pier, nullptr);
    ASSERT_EQ(pier->changes.size(), 1u);
    const JobPriceChanges* wall = IncludedChanges(opened, paths, pier->lines[0]);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->total, A("20"));
}

// 100 twips a character (120 in bold); lines 240 twips apart.
int Width(const std::string& text, bool bold) {
    int width = static_cast<int>(text.size()) * 100;
    return bold ? width * 6 / 5 : width;
}

TEST(PriceChangesPrintOut, FiguresEndTogetherAndWhyStandsBeneathItsLine) {
    const PrintMeasure measure{Width, 240};
    const PrintPage page{11906, 16838};
    JobLine sand{0, 0, A("10"), "Sand", A("3.1"), A("31")};
    JobLine wall{1, 0, A("2"), "Wall", A("65"), A("130")};
    PriceChangesPrint changes{"Price Changes - House",
                              {{0, wall, A("60"), A("120")}, {1, sand, A("3"), A("30")}},
                              {"", "imported from Mill.csv on 7 December 2026"},
                              A("150"),
                              A("161")};
    Settings settings;
    std::vector<PrintRun> runs = LayOutPriceChanges(changes, settings, page, measure);
    auto find = [&](const std::string& text) {
        return *std::find_if(runs.begin(), runs.end(),
                             [&](const PrintRun& run) { return run.text == text; });
    };
    EXPECT_EQ(runs.front().text, "Price Changes - House");
    const PrintRun &wallChange = find("+10.00"), &sandChange = find("+1.00");
    EXPECT_EQ(wallChange.x + Width("+10.00", false), page.width - 1000);
    EXPECT_EQ(sandChange.x + Width("+1.00", false), page.width - 1000);
    EXPECT_EQ(find("65.00").x + Width("65.00", false), find("3.10").x + Width("3.10", false));
    const PrintRun& why = find("imported from Mill.csv on 7 December 2026");
    EXPECT_EQ(why.y, find("Sand").y + 240);
    EXPECT_TRUE(std::any_of(runs.begin(), runs.end(),
                            [](const PrintRun& run) { return run.text == "Wall (job)"; }));
    EXPECT_TRUE(std::any_of(runs.begin(), runs.end(), [](const PrintRun& run) {
        return run.text == "Total 150.00 to 161.00";
    }));
}

}  // namespace
}  // namespace quantora
