#include "costing/pricing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "costing/job_file.h"
#include "pricelists/item_file.h"
#include "store/data_file.h"
#include "test_files.h"

namespace quantora {
namespace {

using namespace testing;

Amount A(const char* text) { return ParseAmount(text); }

class RecordingObserver : public PricingObserver {
  public:
    void ShowProgress(ProgressWindow w, const std::string& name, std::int32_t divisor) override {
        events.push_back("show " + Name(w) + " " + name + " " + std::to_string(divisor));
        open[w] = true;
    }
    void StepProgress(ProgressWindow w) override { ++steps[w]; }
    void FillProgress(ProgressWindow w) override { events.push_back("fill " + Name(w)); }
    void CloseProgress(ProgressWindow w) override { open[w] = false; }
    void Pause(std::int16_t ms) override { pauses.push_back(ms); }
    void JobWalked(const std::string& path, int) override {
        ++walks[std::string(FileNamePart(path))];
    }
    void CycleThroughOpenJob() override { ++cycleMessages; }
    void LoopRefused(const std::string& path) override {
        loops.push_back(std::string(FileNamePart(path)));
    }

    bool AnyOpen() const {
        for (auto [w, isOpen] : open)
            if (isOpen) return true;
        return false;
    }

    static std::string Name(ProgressWindow w) {
        return w == ProgressWindow::Reload ? "reload" : w == ProgressWindow::Job ? "job" : "nested";
    }

    std::vector<std::string> events;
    std::map<ProgressWindow, int> steps;
    std::map<ProgressWindow, bool> open;
    std::vector<int> pauses;
    std::map<std::string, int> walks;
    int cycleMessages = 0;
    std::vector<std::string> loops;
};

class Pricing : public ::testing::Test {
  protected:
    void Item(int list, const std::string& name, const char* price) {
        EnsureFolder(paths.ListFolder(list));
        WriteItemPrice(paths.ListFolder(list), name, A(price));
    }
    static JobLine ItemLine(int list, const std::string& name, const char* quant,
                            const char* price = "0", const char* subTot = "0") {
        return {0, static_cast<std::int16_t>(list), A(quant), name, A(price), A(subTot)};
    }
    static JobLine JobRef(int group, const std::string& name, const char* quant,
                          const char* price = "0", const char* subTot = "0") {
        return {1, static_cast<std::int16_t>(group), A(quant), name, A(price), A(subTot)};
    }
    std::string Job(int group, const std::string& name, const std::vector<JobLine>& lines) {
        EnsureFolder(paths.JobFolder(group));
        std::string path = paths.JobFolder(group) + name;
        DeleteDataFile(path);
        DataFile::Open(path);
        for (std::size_t i = 0; i < lines.size(); ++i)
            WriteLine(path, static_cast<std::int32_t>(i), lines[i]);
        return path;
    }
    // Opens a saved job as the costing sheet does.
    ReloadResult Open(int group, const std::string& name) {
        return Reload(paths, {name, paths.JobFolder(group) + name}, observer);
    }
    std::string JobBytes(int group, const std::string& name) {
        return ReadBytes(paths.JobFolder(group) + name);
    }

    TempFolder dir;
    DataPaths paths{dir.path(), dir.path()};
    RecordingObserver observer;
};

TEST_F(Pricing, ARaisedPriceReachesTheWorkingCopyButNotTheSavedJob) {
    Item(0, "Nails", "1.00");
    Job(0, "Shed", {ItemLine(0, "Nails", "3", "1", "3")});
    std::string saved = JobBytes(0, "Shed");
    Item(0, "Nails", "1.2345");

    ReloadResult result = Open(0, "Shed");
    EXPECT_EQ(result.total, A("3.70"));
    JobLine line = ReadLine(paths.TempJob(), 0);
    EXPECT_EQ(line.Price, A("1.2345"));
    EXPECT_EQ(line.SubTot, A("3.70"));
    EXPECT_EQ(result.lines[0], line);
    EXPECT_EQ(JobBytes(0, "Shed"), saved);
}

TEST_F(Pricing, GoneSourcesKeepTheirStoredValuesAndCount) {
    Item(0, "Kept", "2");
    Job(0, "Deleted job", {});
    Job(0, "Open",
        {ItemLine(0, "Deleted item", "1", "5", "5"), JobRef(0, "Deleted job", "2", "7", "14"),
         ItemLine(9, "In a deleted list", "1", "0.5", "0.5"),
         JobRef(9, "In a deleted group", "1", "0.25", "0.25"), ItemLine(0, "", "4", "1", "4"),
         JobRef(0, "", "1", "100", "100"), ItemLine(0, "Kept", "1", "2", "2")});
    std::filesystem::remove(paths.JobFolder(0) + "Deleted job");
    std::string saved = JobBytes(0, "Open");

    ReloadResult result = Open(0, "Open");
    EXPECT_EQ(result.total, A("125.75"));
    EXPECT_EQ(ReadBytes(paths.TempJob()), saved);  // the working copy is the job as saved
    EXPECT_EQ(observer.cycleMessages, 0);
}

TEST_F(Pricing, APipeAmongTheItemsIsNoItemAndHoldsNothingUp) {
    EnsureFolder(paths.ListFolder(0));
    ::mkfifo((paths.ListFolder(0) + "Pipe").c_str(), 0644);  // read, it would wait for ever
    Job(0, "Shed", {ItemLine(0, "Pipe", "2", "1", "2"), ItemLine(0, "pipe", "1", "3", "3")});
    EXPECT_EQ(Open(0, "Shed").total, A("5"));  // a gone source keeps its stored values
}

TEST_F(Pricing, ALineWithANewPriceButItsOldSubTotalIsPutRight) {
    // What a crash between the two fields could leave behind.
    Item(0, "Nails", "2");
    Job(0, "Shed", {ItemLine(0, "Nails", "3", "2", "3")});
    ReloadResult result = Open(0, "Shed");
    EXPECT_EQ(result.total, A("6"));
    EXPECT_EQ(ReadLine(paths.TempJob(), 0).SubTot, A("6"));
}

TEST_F(Pricing, AnUnreadableSourceIsADataFileErrorAndWritesNothing) {
    Item(0, "Nails", "1");
    Job(0, "Locked job", {ItemLine(0, "Nails", "1", "1", "1")});
    Job(0, "Open", {JobRef(0, "Locked job", "2", "0", "0"), ItemLine(0, "Nails", "1", "1", "1")});
    Item(0, "Nails", "2");
    ::chmod((paths.JobFolder(0) + "Locked job").c_str(), 0);
    std::string before = JobBytes(0, "Open");  // the working copy is the job as saved
    {
        PermissionsEnforced asAnyUser;
        EXPECT_THROW(Reload(paths, {"Open", paths.JobFolder(0) + "Open"}, observer), DataFileError);
    }
    EXPECT_EQ(ReadBytes(paths.TempJob()), before);

    ::chmod((paths.JobFolder(0) + "Locked job").c_str(), 0644);
    ::chmod((paths.ListFolder(0) + "Nails").c_str(), 0);
    PermissionsEnforced asAnyUser;
    EXPECT_THROW(Reload(paths, {"Open", paths.JobFolder(0) + "Open"}, observer), DataFileError);
    EXPECT_EQ(ReadBytes(paths.TempJob()), before);
    // A job deleted behind the program's back cannot be opened, and leaves no working copy.
    std::filesystem::remove(paths.TempJob());
    EXPECT_THROW(Reload(paths, {"Gone", paths.JobFolder(0) + "Gone"}, observer), DataFileError);
    EXPECT_FALSE(Exists(paths.TempJob()));
}

TEST_F(Pricing, QuantitiesScaleThroughFourLevelsWithEverySubTotalCut) {
    Item(0, "Bolt", "1.2345");
    Job(0, "C", {ItemLine(0, "Bolt", "4")});                         // 4.938 -> 4.93
    Job(1, "B", {JobRef(0, "C", "3"), ItemLine(0, "Bolt", "0.5")});  // 14.79 + .61 = 15.40
    Job(0, "A", {JobRef(1, "B", "1.5")});                            // 23.10
    Job(0, "Top", {JobRef(0, "A", "2")});                            // 46.20

    ReloadResult result = Open(0, "Top");
    EXPECT_EQ(result.total, A("46.20"));
    JobLine top = ReadLine(paths.TempJob(), 0);
    EXPECT_EQ(top.Price, A("23.10"));
    EXPECT_EQ(top.SubTot, A("46.20"));
    // The walked jobs are repriced in their own files, consistent with their totals.
    EXPECT_EQ(ReadLine(paths.JobFolder(1) + "B", 0).Price, A("4.93"));
    EXPECT_EQ(ReadLine(paths.JobFolder(1) + "B", 0).SubTot, A("14.79"));
    EXPECT_EQ(ReadLine(paths.JobFolder(1) + "B", 1).SubTot, A("0.61"));
    EXPECT_EQ(ReadLine(paths.JobFolder(0) + "C", 0).SubTot, A("4.93"));
    EXPECT_EQ(ReadLine(paths.JobFolder(0) + "A", 0).SubTot, A("23.10"));
}

TEST_F(Pricing, AJobIncludedTwiceWalksItsSubJobsOnce) {
    Item(0, "Board", "10");
    Job(0, "C", {ItemLine(0, "Board", "1")});
    Job(0, "B", {JobRef(0, "C", "2")});
    Job(0, "A", {JobRef(0, "B", "1"), JobRef(0, "B", "1")});
    Job(0, "Top", {JobRef(0, "A", "1")});

    // Through a job: B is walked once and taken from the cache the second time.
    EXPECT_EQ(Open(0, "Top").total, A("40"));
    EXPECT_EQ(observer.walks["B"], 1);
    EXPECT_EQ(observer.walks["C"], 1);

    // Opened itself, A names B directly twice: B is priced twice, C walked once.
    observer.walks.clear();
    EXPECT_EQ(Open(0, "A").total, A("40"));
    EXPECT_EQ(observer.walks["B"], 2);
    EXPECT_EQ(observer.walks["C"], 1);
}

TEST_F(Pricing, ACycleThroughTheOpenJobIsRefusedOnce) {
    Item(0, "Tile", "3");
    Job(0, "Y", {ItemLine(0, "Tile", "1"), JobRef(0, "X", "1")});
    Job(0, "X", {ItemLine(0, "Tile", "2", "3", "6"), JobRef(0, "Y", "2", "9", "18")});

    ReloadResult result = Open(0, "X");
    EXPECT_TRUE(result.cycle);
    EXPECT_EQ(observer.cycleMessages, 1);
    JobLine included = ReadLine(paths.TempJob(), 1);
    EXPECT_EQ(included.Price, Amount{});
    EXPECT_EQ(included.SubTot, Amount{});
    EXPECT_EQ(result.total, A("6"));
    EXPECT_FALSE(observer.AnyOpen());
}

TEST_F(Pricing, ACycleFoundThroughAnotherLetterCaseIsStillACycle) {
    Job(0, "Y", {JobRef(0, "x", "1")});
    Job(0, "X", {JobRef(0, "y", "1", "5", "5")});
    ReloadResult result = Open(0, "X");
    EXPECT_TRUE(result.cycle);
    EXPECT_EQ(result.total, Amount{});
}

TEST_F(Pricing, ALoopBelowTheOpenJobEnds) {
    Item(0, "Pipe", "5");
    Job(0, "A", {ItemLine(0, "Pipe", "1"), JobRef(0, "B", "1")});
    Job(0, "B", {ItemLine(0, "Pipe", "2"), JobRef(0, "A", "1", "99", "99")});
    Job(0, "Open", {JobRef(0, "A", "1")});

    ReloadResult result = Open(0, "Open");
    EXPECT_FALSE(result.cycle);
    EXPECT_EQ(observer.loops, std::vector<std::string>{"A"});
    // B's line back to A adds nothing: B = 10, A = 5 + 10.
    EXPECT_EQ(result.total, A("15"));
    EXPECT_EQ(ReadLine(paths.JobFolder(0) + "B", 1).SubTot, Amount{});
}

TEST_F(Pricing, OnlyPriceAndSubTotChangeAndOnlyWhereTheRulesSay) {
    Item(0, "Same", "2");
    Item(0, "Dearer", "3");
    Job(0, "Sub", {ItemLine(0, "Same", "1", "2", "2")});
    Job(0, "Open",
        {ItemLine(0, "Same", "4", "2", "8"), ItemLine(0, "Dearer", "1", "2.5", "2.5"),
         JobRef(0, "Sub", "1", "2", "2")});
    std::string saved = JobBytes(0, "Open");
    std::string sub = JobBytes(0, "Sub");

    Open(0, "Open");
    std::string temp = ReadBytes(paths.TempJob());
    ASSERT_EQ(temp.size(), saved.size());
    for (std::size_t i = 0; i < temp.size(); ++i) {
        bool priceOfLine1 = i >= 98 + 82 && i < 2 * 98;
        if (!priceOfLine1) {
            ASSERT_EQ(temp[i], saved[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(ReadLine(paths.TempJob(), 1).Price, A("3"));
    EXPECT_EQ(JobBytes(0, "Sub"), sub);
}

TEST_F(Pricing, LettersCaseDoesNotLoseASource) {
    Item(0, "Nails", "2");
    Job(0, "Sub", {ItemLine(0, "NAILS", "1", "1", "1")});
    Job(0, "Open", {ItemLine(0, "nails", "1"), JobRef(0, "sub", "1")});
    EXPECT_EQ(Open(0, "Open").total, A("4"));
}

TEST_F(Pricing, OverflowLeavesEveryFileAsItWas) {
    Item(0, "Gold", "900000000000");
    Item(0, "Cheap", "2");
    Job(0, "Sub", {ItemLine(0, "Cheap", "1", "1", "1"), ItemLine(0, "Gold", "10000")});
    Job(0, "Open", {ItemLine(0, "Cheap", "1", "1", "1"), JobRef(0, "Sub", "1")});
    std::string sub = JobBytes(0, "Sub");
    std::string temp = JobBytes(0, "Open");

    EXPECT_THROW(Reload(paths, {"Open", paths.JobFolder(0) + "Open"}, observer), AmountOverflow);
    EXPECT_EQ(ReadBytes(paths.TempJob()), temp);
    EXPECT_EQ(JobBytes(0, "Sub"), sub);
    EXPECT_FALSE(observer.AnyOpen());
}

TEST_F(Pricing, ProgressWindowsFollowTheWalk) {
    Item(0, "Brick", "1");
    Job(0, "Wall", {ItemLine(0, "Brick", "1"), ItemLine(0, "Brick", "1")});
    Job(0, "Pier", {JobRef(0, "Wall", "1"), ItemLine(0, "Brick", "1")});
    Job(0, "House", {JobRef(0, "Pier", "1"), ItemLine(0, "Brick", "1"), JobRef(0, "Nothing", "1")});

    Open(0, "House");
    EXPECT_EQ(observer.events, (std::vector<std::string>{"show reload House 3", "show job Pier 1",
                                                         "show nested Wall 1", "fill nested",
                                                         "fill job", "fill reload"}));
    EXPECT_EQ(observer.steps[ProgressWindow::Reload], 3);
    EXPECT_EQ(observer.steps[ProgressWindow::Job], 2);
    EXPECT_EQ(observer.steps[ProgressWindow::NestedJob], 2);
    EXPECT_EQ(observer.pauses, (std::vector<int>{1000, 500, 500, 200, 200, 200}));
    EXPECT_FALSE(observer.AnyOpen());
}

TEST_F(Pricing, AnEmptyJobTotalsZero) {
    Job(0, "Empty", {});
    ReloadResult result = Open(0, "Empty");
    EXPECT_EQ(result.total, Amount{});
    EXPECT_TRUE(result.lines.empty());
}

TEST_F(Pricing, AJobPickPricesAJobAndCommitsItsRepricing) {
    Item(0, "Glass", "4");
    Job(0, "Window", {ItemLine(0, "Glass", "2", "3", "6")});
    PricingRun run(paths, {"Open", paths.JobFolder(0) + "Open"}, observer);
    EXPECT_EQ(run.PriceIt(paths.JobFolder(0) + "Window").total, A("8"));
    EXPECT_EQ(ReadLine(paths.JobFolder(0) + "Window", 0).Price, A("3"));  // not yet written
    run.Commit();
    EXPECT_EQ(ReadLine(paths.JobFolder(0) + "Window", 0).Price, A("4"));
}

}  // namespace
}  // namespace quantora
