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
    static std::vector<std::string> Listed(const std::vector<JobUse>& uses) {
        std::vector<std::string> listed;
        for (const JobUse& use : uses) {
            std::string line = use.group + ": " + use.job;
            if (use.through.empty()) line += " x" + QuantityText(use.quantity);
            for (const std::string& job : use.through) line += " < " + job;
            listed.push_back(line);
        }
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
    EXPECT_EQ(Listed(nails.direct), (std::vector<std::string>{"My First Group: Porch x5"}));
    EXPECT_EQ(Listed(nails.indirect),
              (std::vector<std::string>{"My First Group: Loop A < Porch < Shed < Garden",
                                        "My First Group: Loop B < Porch < Shed < Garden < Loop A",
                                        "Sheds: Garden < Porch < Shed", "Sheds: Shed < Porch"}));
    EXPECT_TRUE(nails.unreadable.empty());

    WhereUsed shed = FindWhereUsed(paths, {true, 1, "Shed"});
    EXPECT_EQ(Listed(shed.direct), (std::vector<std::string>{"Sheds: Garden x2"}));
    EXPECT_EQ(shed.indirect.size(), 2u);  // the loop, once each
    EXPECT_TRUE(FindWhereUsed(paths, {false, 1, "Screws"}).direct.empty());
}

TEST_F(Uses, AJobThatCannotBeReadIsListedAsSuch) {
    Job(0, "Porch", {{"Nails", 2}});
    Job(1, "Locked", {{"Nails", 1}});
    ::chmod((paths.JobFolder(1) + "Locked").c_str(), 0);
    PermissionsEnforced asAUser;
    WhereUsed nails = FindWhereUsed(paths, {false, 0, "Nails"});
    EXPECT_EQ(Listed(nails.direct), (std::vector<std::string>{"My First Group: Porch x2"}));
    ASSERT_EQ(nails.unreadable.size(), 1u);
    EXPECT_EQ(nails.unreadable[0].job, "Locked");
}

}  // namespace
}  // namespace quantora
