#include "costing/where_used.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "costing/job_file.h"
#include "first_run_folder.h"
#include "store/data_file.h"
#include "store/name_slots.h"

namespace quantora {
namespace {

using namespace testing;

class Uses : public FirstRunFolder {
  protected:
    void SetUp() override {
        FirstRunFolder::SetUp();
        AddSlot(paths.GroupIndex(), "Sheds");               // slot 1
        AddSlot(paths.PriceListIndex(), "Other supplier");  // slot 1
        EnsureFolder(paths.JobFolder(1));
    }
    // A job of the group with its lines: an item of list 0 ("Nails") or another job (">Name").
    void Job(int group, const std::string& name, std::vector<std::pair<std::string, int>> lines) {
        std::string bytes;
        for (auto& [item, quantity] : lines) {
            bool job = item[0] == '>';
            std::int16_t slot = item[0] == '~' ? 1
                                : job          ? static_cast<std::int16_t>(item[1] - '0')
                                               : 0;
            std::string named = job ? item.substr(2) : item[0] == '~' ? item.substr(1) : item;
            bytes += EncodeJobLine({static_cast<std::int16_t>(job ? 1 : 0),
                                    slot,
                                    Amount::Whole(quantity),
                                    named,
                                    {},
                                    {}});
        }
        WriteBytes(paths.JobFolder(group) + name, bytes);
    }
    // Each use as the list shows it.
    static std::vector<std::string> Listed(const WhereUsed& used, const std::vector<JobUse>& uses) {
        std::vector<std::string> listed;
        for (const JobUse& use : uses)
            listed.push_back(use.group + ": " + use.job + " " + UseDetail(use, used));
        return listed;
    }
};

TEST_F(Uses, DirectThroughSubJobsInLoopsAndNotAnotherListsItemOfTheSameName) {
    Job(0, "Porch", {{"Nails", 2}, {"NAILS", 3}, {"Screws", 1}});
    Job(1, "Shed", {{">0Porch", 1}, {"~Nails", 9}});  // the other list's Nails does not count
    Job(1, "Garden", {{">1shed", 2}});
    Job(0, "Loop A", {{">0Loop B", 1}, {">1Garden", 1}});
    Job(0, "Loop B", {{">0Loop A", 1}});
    Job(0, "Fence", {{"Screws", 4}});
    WhereUsed nails = FindWhereUsed(paths, {false, 0, "nails"});
    EXPECT_EQ(Listed(nails, nails.direct), (std::vector<std::string>{"My First Group: Porch 5"}));
    // Each read from the listed job down to the one naming Nails, as opening it shows them.
    EXPECT_EQ(Listed(nails, nails.indirect),
              (std::vector<std::string>{
                  "My First Group: Loop A through Garden, Shed, Porch",
                  "My First Group: Loop B through Loop A, Garden, Shed, Porch",
                  "Sheds: Garden through Shed, Porch", "Sheds: Shed through Porch"}));
    EXPECT_TRUE(nails.unreadable.empty());
    EXPECT_FALSE(nails.loop);
    EXPECT_EQ(WhereUsedSummary("\"Nails\"", nails),
              "\"Nails\" is used by 1 job directly and 4 through other jobs.");

    WhereUsed shed = FindWhereUsed(paths, {true, 1, "Shed"});
    EXPECT_EQ(Listed(shed, shed.direct), (std::vector<std::string>{"Sheds: Garden 2"}));
    EXPECT_EQ(shed.indirect.size(), 2u);  // the loop, once each
    EXPECT_FALSE(shed.loop);
    EXPECT_TRUE(FindWhereUsed(paths, {false, 1, "Screws"}).direct.empty());
}

TEST_F(Uses, AJobThatIncludesItselfIsTold) {
    Job(0, "Loop A", {{">0Loop B", 1}});
    Job(0, "Loop B", {{">0Loop C", 1}});
    Job(0, "Loop C", {{">0loop a", 1}});
    Job(0, "Mirror", {{">0Mirror", 1}});
    WhereUsed a = FindWhereUsed(paths, {true, 0, "Loop A"});
    ASSERT_TRUE(a.loop);
    EXPECT_EQ(WhereUsedSummary("\"Loop A\"", a),
              "\"Loop A\" is used by 1 job directly and 1 through other jobs. \"Loop A\" "
              "includes itself through Loop B, Loop C.");
    WhereUsed mirror = FindWhereUsed(paths, {true, 0, "Mirror"});
    EXPECT_TRUE(mirror.direct.empty());
    EXPECT_EQ(WhereUsedSummary("\"Mirror\"", mirror),
              "No saved job uses \"Mirror\". \"Mirror\" names itself on a line.");
}

// Where two groups hold jobs of one name, the way through says which is meant.
TEST_F(Uses, AJobNameTwoGroupsHoldIsToldWithItsGroup) {
    Job(0, "Base", {{"Nails", 1}});
    Job(1, "Base", {{"Screws", 1}});
    Job(0, "Wall", {{">0Base", 2}});
    Job(1, "House", {{">0Wall", 1}});
    WhereUsed nails = FindWhereUsed(paths, {false, 0, "Nails"});
    EXPECT_EQ(Listed(nails, nails.indirect),
              (std::vector<std::string>{"My First Group: Wall through Base (My First Group)",
                                        "Sheds: House through Wall, Base (My First Group)"}));
}

TEST_F(Uses, AJobThatCannotBeReadIsCountedAndListedAsSuch) {
    Job(0, "Porch", {{"Nails", 2}});
    Job(1, "Locked", {{"Nails", 1}});
    ::chmod((paths.JobFolder(1) + "Locked").c_str(), 0);
    PermissionsEnforced asAUser;
    WhereUsed nails = FindWhereUsed(paths, {false, 0, "Nails"});
    EXPECT_EQ(Listed(nails, nails.direct), (std::vector<std::string>{"My First Group: Porch 2"}));
    ASSERT_EQ(nails.unreadable.size(), 1u);
    EXPECT_EQ(nails.unreadable[0].job, "Locked");
    EXPECT_EQ(WhereUsedSummary("\"Nails\"", nails),
              "\"Nails\" is used by 1 job directly and 0 through other jobs. 1 job cannot be "
              "read, and may use it too.");
    WhereUsed screws = FindWhereUsed(paths, {false, 0, "Screws"});
    EXPECT_EQ(WhereUsedSummary("\"Screws\"", screws),
              "No saved job that could be read uses \"Screws\"; 1 job cannot be read, and may "
              "use it.");
}

// Looking changes nothing: a job kept read-only stays so, and no file's time moves.
TEST_F(Uses, ReadsEveryJobWithoutChangingIt) {
    Job(0, "Porch", {{"Nails", 2}});
    Job(0, "Kept", {{">0Porch", 1}});
    std::string kept = paths.JobFolder(0) + "Kept";
    ::chmod(kept.c_str(), 0444);
    struct stat before {};
    ::stat(kept.c_str(), &before);
    WhereUsed nails = FindWhereUsed(paths, {false, 0, "Nails"});
    EXPECT_EQ(nails.indirect.size(), 1u);
    struct stat after {};
    ::stat(kept.c_str(), &after);
    EXPECT_EQ(after.st_mode & 0777, 0444u);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}

}  // namespace
}  // namespace quantora
