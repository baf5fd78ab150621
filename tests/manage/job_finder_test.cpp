#include "manage/job_finder.h"

#include <gtest/gtest.h>

#include "first_run_folder.h"
#include "manage/name_index.h"

namespace quantora {
namespace {

using namespace testing;

using Finding = FirstRunFolder;

std::vector<std::string> Found(const JobFinder& finder, const std::string& text) {
    std::vector<std::string> found;
    for (const FoundJob* job : finder.Matching(text)) found.push_back(job->group + ": " + job->job);
    return found;
}

TEST_F(Finding, PartOfANameFindsJobsInEveryGroupInTheListsOrder) {
    NewEntry(paths, settings, NameIndex::Groups, "Kitchens");
    NewEntry(paths, settings, NameIndex::Groups, "Bathrooms");
    WriteBytes(paths.JobFolder(1) + "Oak Cabinet", "");
    WriteBytes(paths.JobFolder(1) + "worktop", "");
    WriteBytes(paths.JobFolder(2) + "Vanity CABINET", "");
    WriteBytes(paths.JobFolder(2) + ".quantora-1-2.tmp", "");  // a save under way is no job
    JobFinder finder(paths);
    EXPECT_EQ(finder.Count(), 4u);  // with the first group's first job
    EXPECT_EQ(Found(finder, "cabinet"),
              (std::vector<std::string>{"Bathrooms: Vanity CABINET", "Kitchens: Oak Cabinet"}));
    EXPECT_EQ(Found(finder, "  TOP "), (std::vector<std::string>{"Kitchens: worktop"}));
    EXPECT_TRUE(Found(finder, "   ").empty());
    EXPECT_TRUE(Found(finder, "shed").empty());
    EXPECT_EQ(finder.Matching("vanity").at(0)->groupSlot, 2);
}

// The name typed whole, then the names typed from their start, then the rest.
TEST_F(Finding, TheWholeNameAndNamesStartingWithTheTextComeFirst) {
    NewEntry(paths, settings, NameIndex::Groups, "Kitchens");
    NewEntry(paths, settings, NameIndex::Groups, "Bathrooms");
    WriteBytes(paths.JobFolder(1) + "Carcass", "");
    WriteBytes(paths.JobFolder(1) + "Carcass Oak", "");
    WriteBytes(paths.JobFolder(2) + "Uses Bath Carcass", "");
    WriteBytes(paths.JobFolder(2) + "carcass 2", "");
    WriteBytes(paths.JobFolder(2) + "CARCASS", "");
    JobFinder finder(paths);
    EXPECT_EQ(
        Found(finder, "carcass"),
        (std::vector<std::string>{"Bathrooms: CARCASS", "Kitchens: Carcass", "Bathrooms: carcass 2",
                                  "Kitchens: Carcass Oak", "Bathrooms: Uses Bath Carcass"}));
    EXPECT_EQ(NothingFoundNote("shed"), "No job name holds \"shed\".");
}

}  // namespace
}  // namespace quantora
